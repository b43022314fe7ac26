// The core's link to the shell's exception hub, kept from import to closeLibrary.
#pragma once

#include "tavrel/excpt/ExceptionHub.h"

namespace tavrel::core {

class CSystem {
 public:
  void setHub(excpt::CExceptionHub* hub) { hub_ = hub; }
  // Null outside import..closeLibrary.
  excpt::CExceptionHub* hub() const { return hub_; }

 private:
  excpt::CExceptionHub* hub_ = nullptr;
};

}  // namespace tavrel::core
