#include "LibraryContext.h"

#include <dlfcn.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tavrel::statexport {

namespace {

// Keeps this library loaded until the process ends, whatever the host unloads.
void pinLibrary() {
  Dl_info self{};
  if (dladdr(reinterpret_cast<void*>(&pinLibrary), &self) != 0 && self.dli_fname != nullptr) {
    dlopen(self.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
}

// Without a platform named and without a display, QApplication would end the host process.
bool displayReachable() {
  return std::getenv("QT_QPA_PLATFORM") != nullptr || std::getenv("DISPLAY") != nullptr ||
         std::getenv("WAYLAND_DISPLAY") != nullptr;
}

}  // namespace

LibraryContext& LibraryContext::instance() {
  static LibraryContext context;
  return context;
}

LibraryContext::~LibraryContext() {
  if (ownApplication_) {
    static_cast<void>(pool_.release());
    static_cast<void>(ownApplication_.release());
    return;
  }
  pool_.reset();
}

bool LibraryContext::ensureApplication() {
  if (QCoreApplication* existing = QCoreApplication::instance()) {
    if (qobject_cast<QApplication*>(existing) == nullptr) {
      std::fputs("ZRStatFolioExport: the host's application cannot show widgets\n", stderr);
      return false;
    }
    return true;
  }
  if (!displayReachable()) {
    std::fputs("ZRStatFolioExport: no display to show the table on\n", stderr);
    return false;
  }
  // QApplication keeps references to both for its whole life.
  static int argc = 1;
  static char name[] = "ZRStatFolioExport";
  static char* argv[] = {name, nullptr};
  // Qt adopts the environment's locale on start; the host's own choice must stand.
  const std::string hostLocale = std::setlocale(LC_ALL, nullptr);
  ownApplication_ = std::make_unique<QApplication>(argc, argv);
  pinLibrary();
  std::setlocale(LC_ALL, hostLocale.c_str());
  return true;
}

}  // namespace tavrel::statexport
