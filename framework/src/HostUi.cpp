#include "tavrel/HostUi.h"

#include <atomic>

#include "tavrel/ScriptedHostUi.h"

namespace tavrel::gui {
namespace {

std::atomic<IHostUi*> installed{nullptr};

}  // namespace

IHostUi& hostUi() {
  IHostUi* current = installed.load(std::memory_order_acquire);
  return current != nullptr ? *current : headlessHostUi();
}

IHostUi* setHostUi(IHostUi* implementation) {
  IHostUi* previous = installed.exchange(implementation, std::memory_order_acq_rel);
  return previous != nullptr ? previous : &headlessHostUi();
}

MessageAnswer showMessage(const std::u16string& text, const std::u16string& title, MessageIcon icon,
                          MessageButtons buttons, bool topmost) {
  return hostUi().messageBox(MessageBoxRequest{text, title, icon, buttons, topmost});
}

}  // namespace tavrel::gui
