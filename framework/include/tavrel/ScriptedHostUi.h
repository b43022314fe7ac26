#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "tavrel/HostUi.h"

namespace tavrel::gui {

// One call made on the host UI, as recorded by CScriptedHostUi.
struct HostUiCall {
  enum class Kind { Message, OpenFile, SaveFile, ReadClipboard, WriteClipboard };
  Kind kind = Kind::Message;
  MessageBoxRequest message;  // Message
  FileDialogRequest dialog;   // OpenFile, SaveFile
  std::u16string text;        // WriteClipboard
};

// The headless host UI: messages go to standard error, answers and chosen paths come from
// queues a test fills, the clipboard lives in memory, and every call is recorded.
// With an empty queue a message box gets its first button and a file dialog is cancelled.
class TAVREL_API CScriptedHostUi : public IHostUi {
 public:
  void queueAnswer(MessageAnswer answer);
  // A chosen path, or none for a cancelled dialog; open and save dialogs share the queue.
  void queuePath(std::optional<std::u16string> path);
  void setClipboard(std::optional<std::u16string> text);
  // Whether message boxes are echoed to standard error (on by default).
  void setEcho(bool echo);

  std::vector<HostUiCall> calls() const;
  // Forgets recorded calls and pending answers and paths; keeps the clipboard.
  void reset();

  MessageAnswer messageBox(const MessageBoxRequest& request) override;
  std::optional<std::u16string> openFileName(const FileDialogRequest& request) override;
  std::optional<std::u16string> saveFileName(const FileDialogRequest& request) override;
  std::optional<std::u16string> clipboardText() override;
  bool setClipboardText(const std::u16string& text) override;

 private:
  std::optional<std::u16string> nextPath(HostUiCall::Kind kind, const FileDialogRequest& request);

  mutable std::mutex mutex_;
  std::deque<MessageAnswer> answers_;
  std::deque<std::optional<std::u16string>> paths_;
  std::optional<std::u16string> clipboard_;
  std::vector<HostUiCall> calls_;
  bool echo_ = true;
};

// The process's headless instance, which hostUi() uses while nothing else is installed.
TAVREL_API CScriptedHostUi& headlessHostUi();

}  // namespace tavrel::gui
