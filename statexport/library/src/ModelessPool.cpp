#include "ModelessPool.h"

#include <QCoreApplication>

namespace tavrel::statexport {

ModelessPool::~ModelessPool() {
  if (QCoreApplication::instance() == nullptr) {
    return;
  }
  for (Slot* slot = &first_; slot != nullptr; slot = slot->next.get()) {
    delete slot->dialog.data();
  }
}

CZRStatFolioExportDlg& ModelessPool::pick() {
  for (Slot* slot = &first_;; slot = slot->next.get()) {
    if (slot->dialog.isNull()) {
      slot->dialog = new CZRStatFolioExportDlg();
      return *slot->dialog;
    }
    if (slot->dialog->isHidden()) {
      return *slot->dialog;
    }
    if (!slot->next) {
      slot->next = std::make_unique<Slot>();
    }
  }
}

std::size_t ModelessPool::slotCount() const {
  std::size_t count = 0;
  for (const Slot* slot = &first_; slot != nullptr; slot = slot->next.get()) {
    ++count;
  }
  return count;
}

}  // namespace tavrel::statexport
