// Bounded reads and replace-by-rename writes for the command-line tools.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tavrel::vasm {

// Reads the whole file if it is at most `limit` bytes. Returns an error text, or empty.
std::string readFileBounded(const std::filesystem::path& path, size_t limit,
                            std::vector<uint8_t>& content);

// Writes to a temporary file beside `path` and renames it into place, so a failed write never
// leaves a half-written file. Returns an error text, or empty.
std::string writeFileReplacing(const std::filesystem::path& path, const std::string& content);

}  // namespace tavrel::vasm
