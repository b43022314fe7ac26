#pragma once

#include "tavrel/command/CommandInterface.h"
#include "tavrel/excpt/ExceptionHub.h"
#include "tavrel/xml/System.h"

namespace tavrel {

// Holds the exception hub handed to every plug-in. Used as TSingleton<CSystem>.
class CSystem {
 public:
  excpt::CExceptionHub& exceptionHub() { return hub_; }

 private:
  excpt::CExceptionHub hub_;
};

// The records plug-ins are handed and fill, made on first use. The library manager makes
// them before itself, so they outlive every library (whose closeLibrary empties what it
// filled). The command interface carries the application key.
excpt::CExceptionHub& processExceptionHub();
CommandInterface& processCommandInterface();
xml::System& processXmlRecord();

}  // namespace tavrel
