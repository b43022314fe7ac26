#include "tavrel/excpt/ExceptionHub.h"

namespace tavrel::excpt {

void CExceptionHub::report(const IException& exception) {
  {
    std::lock_guard lock(mutex_);
    lastCode_ = exception.code();
    ++reportCount_;
  }
  // The handler may show a box; no lock is held while it runs.
  exception.report();
}

int CExceptionHub::lastCode() const {
  std::lock_guard lock(mutex_);
  return lastCode_;
}

std::size_t CExceptionHub::reportCount() const {
  std::lock_guard lock(mutex_);
  return reportCount_;
}

}  // namespace tavrel::excpt
