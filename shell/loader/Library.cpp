#include "loader/Library.h"

#include <dlfcn.h>

#include <QFile>
#include <QString>
#include <cerrno>
#include <iostream>
#include <mutex>

#include "tavrel/HostUi.h"
#include "tavrel/Memory.h"
#include "tavrel/Singleton.h"

namespace tavrel {
namespace {

CMemory& processLock() {
  return TSingleton<CMemory>::instance();
}

// The exception that import raised lives in the library's code (its type information and
// handler), so the code stays mapped for the rest of the run: unloading then only forgets
// the library, which is never called again.
void keepCodeMapped(const std::u16string& file) {
  const QByteArray name = QFile::encodeName(QString::fromStdU16String(file));
  if (void* handle = dlopen(name.constData(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE)) {
    dlclose(handle);
  }
}

}  // namespace

CLibrary::CLibrary(const std::u16string& path, excpt::CExceptionHub* hub,
                   CommandInterface* commands) {
  load(path, hub, commands);
}

CLibrary::~CLibrary() {
  unlink();
}

void CLibrary::load(const std::u16string& path, excpt::CExceptionHub* hub,
                    CommandInterface* commands) {
  path_ = path;
  unlink();
  if (!module_.load(path)) {
    std::cerr << toUtf8(module_.error()) << '\n';
    throw excpt::LibraryLoadException(path);
  }
  auto* import = module_.resolveFunction<ImportEntry*>(kImportExport);
  if (import == nullptr) {
    std::cerr << "Library " << toUtf8(path) << " exports no " << kImportExport << ".\n";
    module_.unload();
    throw excpt::MissingImportException();
  }
  try {
    std::lock_guard lock(processLock());
    import(hub, commands);
  } catch (...) {
    keepCodeMapped(module_.fileName());
    module_.unload();
    throw;
  }
  bindExport(fromUtf8(kCloseLibraryExport), closeLibrary_);
}

void CLibrary::unlink() {
  if (!module_.isLoaded()) {
    return;
  }
  if (closeLibrary_) {
    // Unlinking also runs from destructors, so a failure in closeLibrary is reported here
    // and the module is unloaded all the same.
    try {
      std::lock_guard lock(processLock());
      closeLibrary_();
    } catch (const excpt::IException& failure) {
      std::cerr << "closeLibrary of " << toUtf8(path_) << " raised code " << failure.code()
                << ".\n";
      failure.report();
    }
  }
  closeLibrary_ = {};
  if (!module_.unload()) {
    const int number = errno;
    gui::showMessage(u"CLibrary::unlinkLibrary() : error unloading [" + path_ + u"]\n" +
                         fromUtf8("Error " + std::to_string(number) + ": ") + module_.error(),
                     u"ZR Calculator Emulator Error");
  }
}

}  // namespace tavrel
