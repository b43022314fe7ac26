// The modeless table dialogs of the library: a chain of slots, each holding at most one
// dialog, reused once the user has closed (hidden) them.
#pragma once

#include <QPointer>
#include <cstddef>
#include <memory>

#include "StatTableDialog.h"

namespace tavrel::statexport {

class ModelessPool {
 public:
  ModelessPool() = default;
  // Deletes the dialogs while their application still exists; after it has gone they are
  // left to the end of the process.
  ~ModelessPool();
  ModelessPool(const ModelessPool&) = delete;
  ModelessPool& operator=(const ModelessPool&) = delete;

  // The first slot's dialog that is missing (made anew, hidden) or hidden; a new slot with a
  // new dialog when every dialog is on screen.
  CZRStatFolioExportDlg& pick();
  std::size_t slotCount() const;

 private:
  struct Slot {
    QPointer<CZRStatFolioExportDlg> dialog;
    std::unique_ptr<Slot> next;
  };

  Slot first_;
};

}  // namespace tavrel::statexport
