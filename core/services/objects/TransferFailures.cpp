#include "objects/TransferFailures.h"

#include "tavrel/excpt/Exception.h"

namespace tavrel::core::objects {

void raiseLoadFailure(LoadFailure failure) {
  switch (failure) {
    case LoadFailure::EmptyFile:
      throw excpt::ObjectLoadException5002(u"Cannot load an empty file.");
    case LoadFailure::StringTooLarge:
      throw excpt::ObjectLoadException5003(u"String file too large to load.");
    case LoadFailure::ObjectTooLarge:
      throw excpt::ObjectLoadException5004(u"Object file too large to load.");
    case LoadFailure::NotValidObject:
      throw excpt::ObjectLoadException5005(u"Not a valid emulator object.");
    case LoadFailure::NotEnoughMemory:
    case LoadFailure::None:
      break;
  }
  throw excpt::ObjectLoadException5001(u"Not enough free memory to load object.");
}

void raiseCannotReadFile() {
  throw excpt::ObjectLoadException5002(u"Could not read file.");
}

void raiseClipboardNotString() {
  throw excpt::ObjectLoadException5006(u"Clipboard object not a string.");
}

void raiseNoObject() {
  throw excpt::ObjectStoreException5007(
      u"No object exists or calculator not in a valid mode to store objects.");
}

void raiseNoValidObject() {
  throw excpt::ObjectStoreException5008(u"No valid object to store from top of NQS stack.");
}

void raiseNotString() {
  throw excpt::ObjectStoreException5009(u"Object at the top of NQS stack is not a string.");
}

void raiseCannotWriteFile() {
  throw excpt::ObjectStoreException5010(u"Could not write to file.");
}

void raiseCannotWriteClipboard() {
  throw excpt::ObjectStoreException5010(u"Could not put the text on the clipboard.");
}

}  // namespace tavrel::core::objects
