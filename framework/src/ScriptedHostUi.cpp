#include "tavrel/ScriptedHostUi.h"

#include <cstdio>

#include "tavrel/Text.h"

namespace tavrel::gui {
namespace {

MessageAnswer firstButton(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
      return MessageAnswer::Yes;
    case MessageButtons::RetryCancel:
      return MessageAnswer::Retry;
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
      break;
  }
  return MessageAnswer::Ok;
}

}  // namespace

void CScriptedHostUi::queueAnswer(MessageAnswer answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

void CScriptedHostUi::queuePath(std::optional<std::u16string> path) {
  std::lock_guard lock(mutex_);
  paths_.push_back(std::move(path));
}

void CScriptedHostUi::setClipboard(std::optional<std::u16string> text) {
  std::lock_guard lock(mutex_);
  clipboard_ = std::move(text);
}

void CScriptedHostUi::setEcho(bool echo) {
  std::lock_guard lock(mutex_);
  echo_ = echo;
}

std::vector<HostUiCall> CScriptedHostUi::calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

void CScriptedHostUi::reset() {
  std::lock_guard lock(mutex_);
  calls_.clear();
  answers_.clear();
  paths_.clear();
}

MessageAnswer CScriptedHostUi::messageBox(const MessageBoxRequest& request) {
  std::lock_guard lock(mutex_);
  HostUiCall call;
  call.kind = HostUiCall::Kind::Message;
  call.message = request;
  calls_.push_back(std::move(call));
  if (echo_) {
    std::fprintf(stderr, "%s: %s\n", toUtf8(request.title).c_str(), toUtf8(request.text).c_str());
  }
  if (answers_.empty()) {
    return firstButton(request.buttons);
  }
  MessageAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<std::u16string> CScriptedHostUi::nextPath(HostUiCall::Kind kind,
                                                        const FileDialogRequest& request) {
  std::lock_guard lock(mutex_);
  HostUiCall call;
  call.kind = kind;
  call.dialog = request;
  calls_.push_back(std::move(call));
  if (paths_.empty()) {
    return std::nullopt;
  }
  std::optional<std::u16string> path = std::move(paths_.front());
  paths_.pop_front();
  return path;
}

std::optional<std::u16string> CScriptedHostUi::openFileName(const FileDialogRequest& request) {
  return nextPath(HostUiCall::Kind::OpenFile, request);
}

std::optional<std::u16string> CScriptedHostUi::saveFileName(const FileDialogRequest& request) {
  return nextPath(HostUiCall::Kind::SaveFile, request);
}

std::optional<std::u16string> CScriptedHostUi::clipboardText() {
  std::lock_guard lock(mutex_);
  calls_.push_back(HostUiCall{HostUiCall::Kind::ReadClipboard, {}, {}, {}});
  return clipboard_;
}

bool CScriptedHostUi::setClipboardText(const std::u16string& text) {
  std::lock_guard lock(mutex_);
  calls_.push_back(HostUiCall{HostUiCall::Kind::WriteClipboard, {}, {}, text});
  clipboard_ = text;
  return true;
}

CScriptedHostUi& headlessHostUi() {
  // Never destroyed: reports may still run while static objects are torn down at exit.
  static CScriptedHostUi* const instance = new CScriptedHostUi;
  return *instance;
}

}  // namespace tavrel::gui
