// tavrel: the calculator emulator's program. It takes no arguments.
#include <filesystem>
#include <iostream>

#include "app/Shell.h"
#include "loader/LibraryManager.h"
#include "loader/ProcessInterfaces.h"
#include "loader/XmlSubsystem.h"
#include "tavrel/ExitCallbacks.h"
#include "tavrel/Singleton.h"
#include "tavrel/Text.h"

namespace {

namespace fs = std::filesystem;

// The program's folder becomes current: plug-ins and data are found relative to it.
fs::path enterProgramFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (error) {
    std::cerr << "Cannot find the program's own folder: " << error.message() << '\n';
    return {};
  }
  fs::current_path(program.parent_path(), error);
  if (error) {
    std::cerr << "Cannot enter " << program.parent_path() << ": " << error.message() << '\n';
  }
  return program;
}

int runProgram(const fs::path& program) {
  using namespace tavrel;
  CRegistry& registry = TSingleton<CRegistry>::instance();
  CommandInterface& commands = processCommandInterface();
  CLibraryManager& libraries = TSingleton<CLibraryManager>::instance();
  try {
    libraries.loadList();
  } catch (const excpt::IException& failure) {
    // Without its service plug-ins the program cannot run; the failure says which one.
    failure.report();
    return 1;
  }
  CShell shell(registry, commands, libraries, xmlSystem(), fromUtf8(program.string()));
  return shell.run();
}

}  // namespace

int main() {
  const int result = runProgram(enterProgramFolder());
  // The singletons go now, newest first, while the program is still whole: the skin has
  // gone with the shell, then the plug-ins are unloaded in reverse order of loading.
  tavrel::runExitCallbacks();
  return result;
}
