#include "tavrel/DynamicLibrary.h"

#include <dlfcn.h>

#include <QFileInfo>
#include <QLibrary>
#include <map>
#include <mutex>

#include "tavrel/ExitCallbacks.h"

namespace tavrel {
namespace {

QString qs(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

// How many CDynamicLibrary objects hold each file, so that a library's singletons are
// destroyed only when the last holder lets it go.
struct Holders {
  std::mutex mutex;
  std::map<QString, int> counts;
};

Holders& holders() {
  static Holders* const instance = new Holders;
  return *instance;
}

void addHolder(const QString& file) {
  std::lock_guard lock(holders().mutex);
  ++holders().counts[file];
}

// True when the caller was the last holder.
bool dropHolder(const QString& file) {
  std::lock_guard lock(holders().mutex);
  auto it = holders().counts.find(file);
  if (it == holders().counts.end() || --it->second > 0) {
    return false;
  }
  holders().counts.erase(it);
  return true;
}

void destroySingletonsOf(const QString& file) {
  void* handle = dlopen(QFile::encodeName(file).constData(), RTLD_LAZY | RTLD_NOLOAD);
  if (handle != nullptr) {
    runExitCallbacksOfModule(handle);
    dlclose(handle);
  }
}

}  // namespace

CDynamicLibrary::CDynamicLibrary() = default;

CDynamicLibrary::~CDynamicLibrary() {
  unloadCurrent();
}

std::u16string CDynamicLibrary::platformFileName(const std::u16string& name) {
  QString path = qs(name);
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (!path.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive)) {
    return path.toStdU16String();
  }
  path.chop(4);
  const QFileInfo plain(path + QStringLiteral(".so"));
  if (!plain.exists() && path.contains(QLatin1Char('/'))) {
    const QFileInfo prefixed(plain.path() + QStringLiteral("/lib") + QFileInfo(path).fileName() +
                             QStringLiteral(".so"));
    if (prefixed.exists()) {
      return prefixed.filePath().toStdU16String();
    }
  }
  return plain.filePath().toStdU16String();
}

bool CDynamicLibrary::load(const std::u16string& path) {
  const QString file = qs(platformFileName(path));
  if (file.isEmpty()) {
    error_ = u"Cannot load a library without a name.";
    return false;
  }
  // A name with a folder must name an existing file; a bare name is searched for.
  const bool bareName = !file.contains(QLatin1Char('/'));
  if (!bareName && !QFileInfo(file).isFile()) {
    error_ = (QStringLiteral("Cannot load library ") + qs(path) +
              QStringLiteral(": no such file ") + file + QLatin1Char('.'))
                 .toStdU16String();
    return false;
  }
  auto library = std::make_unique<QLibrary>(bareName ? file : QFileInfo(file).absoluteFilePath());
  if (!library->load()) {
    error_ = (QStringLiteral("Cannot load library ") + qs(path) + QStringLiteral(": ") +
              library->errorString())
                 .toStdU16String();
    return false;
  }
  unloadCurrent();
  library_ = std::move(library);
  fileName_ = library_->fileName().toStdU16String();
  addHolder(library_->fileName());
  error_.clear();
  return true;
}

bool CDynamicLibrary::unload() {
  if (!library_) {
    error_ = u"No library is loaded.";
    return false;
  }
  unloadCurrent();
  return error_.empty();
}

void CDynamicLibrary::unloadCurrent() {
  if (!library_) {
    return;
  }
  const QString file = library_->fileName();
  const bool lastHolder = dropHolder(file);
  if (lastHolder) {
    destroySingletonsOf(file);
  }
  error_.clear();
  // Other holders keep the library mapped; only the last one can fail to unload it.
  if (!library_->unload() && lastHolder) {
    error_ = (QStringLiteral("Cannot unload library ") + file + QStringLiteral(": ") +
              library_->errorString())
                 .toStdU16String();
  }
  library_.reset();
  fileName_.clear();
}

bool CDynamicLibrary::isLoaded() const {
  return library_ != nullptr;
}

void* CDynamicLibrary::resolve(const char* exportName) const {
  if (!library_ || exportName == nullptr) {
    return nullptr;
  }
  return reinterpret_cast<void*>(library_->resolve(exportName));
}

}  // namespace tavrel
