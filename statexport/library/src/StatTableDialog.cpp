#include "StatTableDialog.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "CodePage.h"
#include "tavrel/HostUi.h"
#include "tavrel/statexport/CsvWriter.h"

namespace tavrel::statexport {

CZRStatFolioExportDlg::CZRStatFolioExportDlg(QWidget* parent)
    : QDialog(parent), grid_(new FolioGrid(this)) {
  setWindowTitle(QStringLiteral("Export Statistics Folio"));
  setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  setSizeGripEnabled(true);
  // A host whose last window closes must not be shut down by one of our tables closing.
  setAttribute(Qt::WA_QuitOnClose, false);

  QFont gridFont = font();
  gridFont.setFamily(QStringLiteral("Arial"));
  grid_->setFont(gridFont);

  buildMenuAndToolBar();
  connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &CZRStatFolioExportDlg::updateEditActions);
  updateEditActions();
  resize(600, 420);
}

void CZRStatFolioExportDlg::buildMenuAndToolBar() {
  saveAction_ = new QAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                            QStringLiteral("Save as CSV..."), this);
  closeAction_ = new QAction(QStringLiteral("&Close"), this);
  copyAction_ = new QAction(QStringLiteral("&Copy"), this);
  copyAction_->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
  copyAction_->setIcon(
      QIcon::fromTheme(QStringLiteral("edit-copy"), style()->standardIcon(QStyle::SP_FileIcon)));
  cutAction_ = new QAction(QStringLiteral("Cu&t"), this);
  cutAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
  selectAllAction_ = new QAction(QStringLiteral("Select All"), this);
  selectAllAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  // The shortcuts work wherever the focus is in the dialog.
  addActions({saveAction_, closeAction_, copyAction_, cutAction_, selectAllAction_});

  connect(saveAction_, &QAction::triggered, this, &CZRStatFolioExportDlg::saveAsCsv);
  connect(closeAction_, &QAction::triggered, this, &QWidget::close);
  connect(copyAction_, &QAction::triggered, grid_, &FolioGrid::copySelection);
  connect(cutAction_, &QAction::triggered, grid_, &FolioGrid::cutSelection);
  connect(selectAllAction_, &QAction::triggered, grid_, &QTableWidget::selectAll);

  auto* menuBar = new QMenuBar(this);
  QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
  file->addAction(saveAction_);
  file->addSeparator();
  file->addAction(closeAction_);
  QMenu* edit = menuBar->addMenu(QStringLiteral("&Edit"));
  edit->addAction(copyAction_);
  edit->addSeparator();
  edit->addAction(selectAllAction_);

  auto* toolBar = new QToolBar(this);
  toolBar->setIconSize(QSize(16, 15));
  toolBar->addAction(saveAction_);
  toolBar->addSeparator();
  toolBar->addAction(copyAction_);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menuBar);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolBar);
  layout->addWidget(grid_, 1);
}

void CZRStatFolioExportDlg::fillGrid() {
  grid_->fill(data_);
  updateEditActions();
}

void CZRStatFolioExportDlg::saveAsCsv() {
  gui::FileDialogRequest request;
  request.title = u"Save Statistics Folio File";
  request.filter = u"CSV (Comma delimited)(*.csv)";
  request.defaultExtension = u"csv";
  request.initialName = fromCodePage(data_.title());
  const std::optional<std::u16string> path = gui::hostUi().saveFileName(request);
  if (path) {
    saveCsv(data_, toCodePage(*path), reporter_);
  }
}

void CZRStatFolioExportDlg::keyPressEvent(QKeyEvent* event) {
  // Enter and Escape belong to the grid; they never close the table.
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void CZRStatFolioExportDlg::updateEditActions() {
  const bool selected = grid_->hasSelection();
  copyAction_->setEnabled(selected);
  cutAction_->setEnabled(selected);
}

}  // namespace tavrel::statexport
