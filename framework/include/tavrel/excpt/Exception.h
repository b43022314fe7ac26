#pragma once

#include <string>
#include <utility>

#include "tavrel/IResource.h"

namespace tavrel::excpt {

// A coded failure. Catch it by reference to IException (or to a TException base code).
class TAVREL_API IException : public IResource {
 public:
  virtual int code() const = 0;
  // Runs the handler: an error box, a stored message, or nothing.
  virtual void report() const = 0;
  // Throws a copy of the object, keeping its most derived type and code.
  [[noreturn]] virtual void raise() const = 0;
};

// Handlers decide how a failure is reported.
struct TAVREL_API EmptyHandler {
  void report() const {}
};

struct TAVREL_API LibraryErrorHandler {
  std::u16string path;
  // "Unable to open library <path>." in an error box titled "ZR Calvane Error".
  void report() const;
};

struct TAVREL_API ErrorMsgHandler {
  std::u16string message;
  // Keeps the message as the extra line of the next boot error box.
  void report() const;
};

struct TAVREL_API LoadMessage {
  std::u16string message;
  // The message in an error box titled "ZR Calvane Error: Load Object".
  void report() const;
};

struct TAVREL_API StoreMessage {
  std::u16string message;
  // The message in an error box titled "ZR Calvane Error: Store Object".
  void report() const;
};

// The extra line stored by ErrorMsgHandler; taking it clears it.
TAVREL_API void setBootErrorLine(std::u16string line);
TAVREL_API std::u16string takeBootErrorLine();

// Derives from Base, so a catch of a base code also catches its refinements.
template <int Code, class Handler = EmptyHandler, class Base = IException>
class TAVREL_API TException : public Base {
 public:
  static constexpr int kCode = Code;

  TException() = default;
  explicit TException(Handler handler) : handler_(std::move(handler)) {}
  // Builds the handler from its data, e.g. the library path or the message text.
  explicit TException(std::u16string text) : handler_{std::move(text)} {}

  int code() const override { return Code; }
  void report() const override { handler_.report(); }
  [[noreturn]] void raise() const override { throw *this; }

  const Handler& handler() const { return handler_; }

 private:
  Handler handler_{};
};

// Shell codes.
using SkinIncompleteException = TException<0>;  // the skin names no ROM file or no core
using MissingImportException = TException<1>;   // a plug-in exports no "import"
using LibraryLoadException = TException<4, LibraryErrorHandler>;
using EmptySearchFolderException = TException<501>;
using WildcardSearchException = TException<502>;  // "*" or "?" in a search folder or name
using NotInSearchPathException = TException<503>;

using SkinException = TException<4000>;
using NoSkinInstalledException = TException<4001, EmptyHandler, SkinException>;
using SkinNotInstalledException = TException<4002, ErrorMsgHandler, SkinException>;

using SettingsException = TException<8000>;
using SettingReadException = TException<8001, EmptyHandler, SettingsException>;
using SettingWriteException = TException<8002, EmptyHandler, SettingsException>;

using ProcessMutexException = TException<9999>;

// Core codes: object and file transfer, state files, timers.
using ObjectLoadException5001 = TException<5001, LoadMessage>;
using ObjectLoadException5002 = TException<5002, LoadMessage>;
using ObjectLoadException5003 = TException<5003, LoadMessage>;
using ObjectLoadException5004 = TException<5004, LoadMessage>;
using ObjectLoadException5005 = TException<5005, LoadMessage>;
using ObjectLoadException5006 = TException<5006, LoadMessage>;
using ObjectStoreException5007 = TException<5007, StoreMessage>;
using ObjectStoreException5008 = TException<5008, StoreMessage>;
using ObjectStoreException5009 = TException<5009, StoreMessage>;
using ObjectStoreException5010 = TException<5010, StoreMessage>;
using StateFileReadException = TException<5011>;
using StateFileWriteException = TException<5012>;
using NoTimerServiceException = TException<7051>;

}  // namespace tavrel::excpt
