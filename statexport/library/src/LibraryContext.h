// What the library keeps between calls: the application it made for a host without one, and
// the pool of modeless dialogs. Destroyed when the library is unloaded.
#pragma once

#include <QApplication>
#include <memory>

#include "ModelessPool.h"

namespace tavrel::statexport {

class LibraryContext {
 public:
  static LibraryContext& instance();
  // With the host's application (the library being unloaded, or the process ending while the
  // host's application lives) the dialogs are deleted. With an application of our own this
  // runs only at process exit, after Qt's own globals are gone: then nothing is deleted.
  ~LibraryContext();

  // True when the calling thread can show widgets: the host's QApplication, or one made here
  // on the first call and kept until unload. False, after saying why on standard error, for a
  // host that runs only a QCoreApplication or where no display can be reached.
  bool ensureApplication();
  ModelessPool& pool() { return *pool_; }

 private:
  LibraryContext() = default;

  // Made for a host without one; the library then stays loaded until the process ends, since
  // Qt cannot outlive the code of the objects it holds.
  std::unique_ptr<QApplication> ownApplication_;
  // Dialogs go before the application they need.
  std::unique_ptr<ModelessPool> pool_ = std::make_unique<ModelessPool>();
};

}  // namespace tavrel::statexport
