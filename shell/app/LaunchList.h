#pragma once

#include <cstdint>
#include <string>

namespace tavrel {

// One program in the calculator manager's launch list.
struct LaunchTarget {
  std::u16string title;
  std::u16string description;
  std::u16string target;
  std::u16string commandArgs;
  std::int32_t iconIndex = 0;
};

// The calculator manager's settings store beside the shell's own: the same folder, file
// "ZRCalcManager.settings" (the key "Software\Corvanta\ZRCalcManager").
std::u16string calcManagerStoreFile(const std::u16string& shellStoreFile);

// The key name of a title: without blanks, backslashes, line feeds and characters above 127.
std::u16string launchKeyName(const std::u16string& title);

// What the launch list holds when the calculator manager's library is not there: the entry
// under "Calcs\<key name>", and also at the root when it becomes the default calculator.
// False, with one line on standard error, when the store refuses.
bool writeLaunchTarget(const std::u16string& storeFile, const LaunchTarget& entry,
                       bool makeDefault);

}  // namespace tavrel
