#include <mutex>

#include "tavrel/HostUi.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel::excpt {
namespace {

std::mutex bootLineMutex;
std::u16string& bootLine() {
  static std::u16string* const line = new std::u16string;
  return *line;
}

}  // namespace

void LibraryErrorHandler::report() const {
  gui::showMessage(u"Unable to open library " + path + u".", u"ZR Calvane Error");
}

void ErrorMsgHandler::report() const {
  setBootErrorLine(message);
}

void LoadMessage::report() const {
  gui::showMessage(message, u"ZR Calvane Error: Load Object");
}

void StoreMessage::report() const {
  gui::showMessage(message, u"ZR Calvane Error: Store Object");
}

void setBootErrorLine(std::u16string line) {
  std::lock_guard lock(bootLineMutex);
  bootLine() = std::move(line);
}

std::u16string takeBootErrorLine() {
  std::lock_guard lock(bootLineMutex);
  return std::exchange(bootLine(), std::u16string());
}

}  // namespace tavrel::excpt
