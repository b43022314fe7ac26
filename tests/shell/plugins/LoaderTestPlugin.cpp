// One plug-in source, built several times: each build writes its name and what was called
// into the file named by TAVREL_LOADER_LOG, so a test sees calls and their order.
#include <cstdio>
#include <cstdlib>

#include <thread>

#include "tavrel/Memory.h"
#include "tavrel/command/PluginEntry.h"

namespace {

void record(const char* what) {
  const char* logFile = std::getenv("TAVREL_LOADER_LOG");
  if (logFile == nullptr) {
    return;
  }
  if (std::FILE* log = std::fopen(logFile, "a")) {
    std::fprintf(log, "%s %s\n", what, TEST_PLUGIN_NAME);
    std::fclose(log);
  }
}

// Whether the loader holds the process lock around this call: another thread cannot take
// it then.
bool processLockHeld() {
  tavrel::CNamedLock& lock = tavrel::openNamedLock(tavrel::CMemory::processLockName());
  bool held = false;
  std::thread probe([&lock, &held] {
    held = !lock.try_lock();
    if (!held) {
      lock.unlock();
    }
  });
  probe.join();
  return held;
}

}  // namespace

#ifdef WITH_IMPORT
TAVREL_PLUGIN_EXPORT void import(tavrel::excpt::CExceptionHub*, tavrel::CommandInterface*) {
  record(processLockHeld() ? "import" : "import-unlocked");
#ifdef IMPORT_THROWS
  throw tavrel::excpt::SkinNotInstalledException(u"import refused");
#endif
}
#endif

#ifdef WITH_CLOSE
TAVREL_PLUGIN_EXPORT void closeLibrary() {
  record(processLockHeld() ? "close" : "close-unlocked");
}
#endif

// A further export bound by name.
TAVREL_PLUGIN_EXPORT int loaderTestAnswer(int question) {
  return question + 1;
}
