#pragma once

#include <cstddef>
#include <mutex>
#include <utility>

#include "tavrel/excpt/Exception.h"

namespace tavrel::excpt {

// Handed to every plug-in's import: the place where a failure that no caller can take (for
// example one raised inside a command handler) is reported and remembered. Plug-ins call it
// through its virtual operations only.
class TAVREL_API CExceptionHub {
 public:
  CExceptionHub() = default;
  CExceptionHub(const CExceptionHub&) = delete;
  CExceptionHub& operator=(const CExceptionHub&) = delete;
  virtual ~CExceptionHub() = default;

  // Runs the exception's handler and remembers its code.
  virtual void report(const IException& exception);
  // The code of the last reported exception, or -1 when none was reported.
  virtual int lastCode() const;
  virtual std::size_t reportCount() const;

  // Runs work; a framework exception coming out of it is reported here instead of passing
  // on. Returns false when one was reported.
  template <class Work>
  bool guard(Work&& work) {
    try {
      std::forward<Work>(work)();
      return true;
    } catch (const IException& exception) {
      report(exception);
      return false;
    }
  }

 private:
  mutable std::mutex mutex_;
  int lastCode_ = -1;
  std::size_t reportCount_ = 0;
};

}  // namespace tavrel::excpt
