// The state-file commands: "nexo_save_state", "nexo_load_state", "save_state", "save",
// "savethis", "restore_state", "restorethis".
#pragma once

#include <string>

namespace tavrel::core {

bool nexoSaveState(const std::u16string& path);
bool nexoLoadState(const std::u16string& path);
void saveStateDialog();     // "save_state"
void save();                // "save" and "savethis"
void restoreStateDialog();  // "restore_state"
void restoreThis();         // "restorethis"

// The remembered state path and the "Saved" values of the skin and ROM keys.
void rememberState(const std::u16string& path);
std::u16string rememberedStatePath();
void forgetRememberedState();
// The skin window's title: the skin name, then " - " and the state file's name.
void setWindowTitle(std::u16string path);

}  // namespace tavrel::core
