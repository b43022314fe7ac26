#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tavrel {

// Copying and deleting installed skin folders. Every path is checked to name a folder
// directly below "<base>/data/skins", so no skin file or name can reach outside it.

// Whether dir can name a skin folder: one plain path component (no separator, not "." or
// "..", no wildcard).
bool isSkinFolderName(const std::u16string& dir);

// The skin folder's name when file lies in a folder directly below "<base>/data/skins".
std::optional<std::u16string> installedFolderOf(const std::filesystem::path& base,
                                                const std::filesystem::path& file);

// Copies every file (not sub-folders) of sourceFolder into "<base>/data/skins/<dir>",
// overwriting. On failure the reason; a folder made for the copy is then removed again.
std::optional<std::u16string> copySkinFiles(const std::filesystem::path& base,
                                            const std::filesystem::path& sourceFolder,
                                            const std::u16string& dir);

// Deletes "<base>/data/skins/<dir>" with all its content; a link there is removed, never
// followed. On failure the reason.
std::optional<std::u16string> deleteSkinFolder(const std::filesystem::path& base,
                                               const std::u16string& dir);

}  // namespace tavrel
