// Picking one of several statistics folios found in one load.
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "tavrel/statexport/HostInterfaces.h"

class QListWidget;

namespace tavrel::statexport {

// "Choose Folio": the titles in a sorted list, nothing selected at first.
class CChooseFolioDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit CChooseFolioDialog(const std::vector<std::string>& titles, QWidget* parent = nullptr);

  // The index, in the list the dialog was given, of the entry selected last; the first title
  // when none was selected.
  int chosenIndex() const;
  QListWidget* list() const { return list_; }

 private:
  QListWidget* list_;
  int chosen_ = 0;
};

// Asks the user with CChooseFolioDialog.
class DialogFolioChooser final : public IFolioChooser {
 public:
  std::optional<int> chooseFolio(const std::vector<std::string>& titles) override;
};

}  // namespace tavrel::statexport
