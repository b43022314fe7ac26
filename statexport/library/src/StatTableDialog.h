// The table dialog: a loaded statistics folio as a grid, with copying and saving as CSV.
#pragma once

#include <QDialog>

#include "ChooseFolioDialog.h"
#include "FolioGrid.h"
#include "MessageBoxReporter.h"
#include "tavrel/statexport/StatFolioData.h"

class QAction;

namespace tavrel::statexport {

class CZRStatFolioExportDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CZRStatFolioExportDlg(QWidget* parent = nullptr);

  // Loads go here; fillGrid() shows what the last one brought.
  StatFolioData& data() { return data_; }
  void fillGrid();

  // "Save as CSV...": asks for a path through the host's save dialog and writes the CSV there.
  void saveAsCsv();

  FolioGrid* grid() const { return grid_; }
  QAction* saveAction() const { return saveAction_; }
  QAction* copyAction() const { return copyAction_; }
  QAction* cutAction() const { return cutAction_; }
  QAction* selectAllAction() const { return selectAllAction_; }
  QAction* closeAction() const { return closeAction_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void buildMenuAndToolBar();
  void updateEditActions();

  MessageBoxReporter reporter_;
  DialogFolioChooser chooser_;
  StatFolioData data_{chooser_, reporter_};
  FolioGrid* grid_;
  QAction* saveAction_ = nullptr;
  QAction* copyAction_ = nullptr;
  QAction* cutAction_ = nullptr;
  QAction* selectAllAction_ = nullptr;
  QAction* closeAction_ = nullptr;
};

}  // namespace tavrel::statexport
