#pragma once

#include <string>
#include <vector>

#include "app/ShellCommands.h"
#include "app/ShellContext.h"
#include "tavrel/DynamicLibrary.h"

namespace tavrel {

// The maker's update check and calculator manager libraries, tried on first use and kept:
// "check_for_update", "calcManager" and "setDefaultCalc", registered for the object's life.
// Making the object adds the program to the launch list (in the settings when the calculator
// manager's library is missing).
class CCommonCommands {
 public:
  // programPath: the program file's full path.
  CCommonCommands(ShellContext& context, std::u16string programPath);
  CCommonCommands(const CCommonCommands&) = delete;
  CCommonCommands& operator=(const CCommonCommands&) = delete;

  void checkForUpdate();
  void calcManager();
  void setDefaultCalc();

 private:
  // A library of the maker, loaded from the first place that has it; null when none does.
  struct Auxiliary {
    std::vector<std::u16string> places;
    bool tried = false;
    CDynamicLibrary library;
  };
  static CDynamicLibrary* load(Auxiliary& auxiliary);
  // Adds the program through the library, or writes the entry into the settings.
  void addLaunchTarget(bool makeDefault);
  void warn(std::uint32_t textId, std::uint32_t captionId);

  ShellContext& context_;
  std::u16string programPath_;
  Auxiliary updateCheck_;
  Auxiliary calcManager_;
  CShellCommandSet commands_;
};

}  // namespace tavrel
