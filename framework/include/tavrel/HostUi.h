#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tavrel/Export.h"

namespace tavrel::gui {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

struct MessageBoxRequest {
  std::u16string text;
  std::u16string title;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
  bool topmost = false;
};

// Flags of the file dialogs; combine with |.
enum FileDialogFlag : std::uint32_t {
  kFileMustExist = 1u << 0,
  kPathMustExist = 1u << 1,
  kOverwritePrompt = 1u << 2,
};

struct FileDialogRequest {
  std::u16string title;
  // "Description (*.a;*.b)" entries separated by ";;".
  std::u16string filter;
  // Appended (after a '.') when the chosen name has no extension; empty for none.
  std::u16string defaultExtension;
  std::uint32_t flags = 0;
  // The file name proposed when the dialog opens; empty for none.
  std::u16string initialName;
};

// The one way the core and the shell talk to the desktop. Implementations may be called
// from any thread.
class TAVREL_API IHostUi {
 public:
  virtual ~IHostUi() = default;
  virtual MessageAnswer messageBox(const MessageBoxRequest& request) = 0;
  // The chosen path, or none when the user cancels.
  virtual std::optional<std::u16string> openFileName(const FileDialogRequest& request) = 0;
  virtual std::optional<std::u16string> saveFileName(const FileDialogRequest& request) = 0;
  // None when the clipboard holds no text.
  virtual std::optional<std::u16string> clipboardText() = 0;
  virtual bool setClipboardText(const std::u16string& text) = 0;
};

// The implementation in use for the whole process: the headless one until another is
// installed.
TAVREL_API IHostUi& hostUi();
// Installs an implementation (null restores the headless default) and returns the one it
// replaces. The caller keeps ownership and must keep it alive while installed.
TAVREL_API IHostUi* setHostUi(IHostUi* implementation);

// Shorthand for the common error box.
TAVREL_API MessageAnswer showMessage(const std::u16string& text, const std::u16string& title,
                                     MessageIcon icon = MessageIcon::Error,
                                     MessageButtons buttons = MessageButtons::Ok,
                                     bool topmost = false);

}  // namespace tavrel::gui
