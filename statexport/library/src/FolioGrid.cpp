#include "FolioGrid.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <new>

#include "CodePage.h"
#include "IntegerCompare.h"
#include "tavrel/HostUi.h"
#include "tavrel/statexport/StatFolioData.h"
#include "tavrel/statexport/TableLayout.h"

namespace tavrel::statexport {

namespace {

constexpr int kElementRole = Qt::UserRole;  // the element index a row shows, from 0
constexpr Qt::Alignment kHeaderRowAlignment = Qt::AlignLeft | Qt::AlignTop;
constexpr Qt::Alignment kRowHeaderAlignment = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kCellAlignment = Qt::AlignHCenter | Qt::AlignVCenter;
const QString kCornerText = QStringLiteral("n");

QString qtText(const std::string& text) {
  return QString::fromStdU16String(fromCodePage(text));
}

class IntegerSortItem final : public QTableWidgetItem {
 public:
  using QTableWidgetItem::QTableWidgetItem;
  bool operator<(const QTableWidgetItem& other) const override {
    return compareAsIntegers(text().toStdString(), other.text().toStdString()) < 0;
  }
};

QString rowLabel(int elementIndex) {
  return QStringLiteral("Row %1").arg(elementIndex + 1);
}

}  // namespace

FolioGrid::FolioGrid(QWidget* parent) : QTableWidget(parent) {
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setWordWrap(false);
  setTextElideMode(Qt::ElideRight);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setDefaultAlignment(kHeaderRowAlignment);
  verticalHeader()->setDefaultAlignment(kRowHeaderAlignment);
  connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &FolioGrid::sortByHeaderClick);
  // The corner cell carries the header column's title; the view draws it as a plain button.
  if (auto* corner = findChild<QAbstractButton*>()) {
    corner->installEventFilter(this);
  }
}

void FolioGrid::fill(const StatFolioData& data) {
  clear();
  setRowCount(0);
  setColumnCount(0);
  sortColumn_ = -1;
  horizontalHeader()->setSortIndicatorShown(false);
  try {
    const int rows = static_cast<int>(tableRowCount(data)) - 1;
    const int columns = static_cast<int>(tableColumnCount(data)) - 1;
    setRowCount(rows);
    setColumnCount(columns);
    for (int column = 0; column < columns; ++column) {
      auto* header = new QTableWidgetItem(qtText(tableCellText(data, 0, column + 1)));
      header->setTextAlignment(kHeaderRowAlignment);
      setHorizontalHeaderItem(column, header);
    }
    for (int row = 0; row < rows; ++row) {
      auto* header = new QTableWidgetItem(qtText(tableCellText(data, row + 1, 0)));
      header->setTextAlignment(kRowHeaderAlignment);
      setVerticalHeaderItem(row, header);
      for (int column = 0; column < columns; ++column) {
        auto* cell = new IntegerSortItem(qtText(tableCellText(data, row + 1, column + 1)));
        cell->setTextAlignment(kCellAlignment);
        cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        cell->setData(kElementRole, row);
        setItem(row, column, cell);
      }
    }
  } catch (const std::bad_alloc&) {
    clear();
    setRowCount(0);
    setColumnCount(0);
    gui::showMessage(u"Out of memory.", u"Error");
    return;
  }
  resizeColumnsToContents();
  resizeRowsToContents();
}

QString FolioGrid::layoutText(int row, int column) const {
  if (row == 0 && column == 0) {
    return kCornerText;
  }
  const QTableWidgetItem* found = row == 0      ? horizontalHeaderItem(column - 1)
                                  : column == 0 ? verticalHeaderItem(row - 1)
                                                : item(row - 1, column - 1);
  return found ? found->text() : QString();
}

bool FolioGrid::hasSelection() const {
  return !selectedIndexes().isEmpty();
}

QString FolioGrid::selectionText() const {
  const QModelIndexList selected = selectedIndexes();
  if (selected.isEmpty()) {
    return QString();
  }
  int top = selected.front().row(), bottom = top;
  int left = selected.front().column(), right = left;
  for (const QModelIndex& index : selected) {
    top = std::min(top, index.row());
    bottom = std::max(bottom, index.row());
    left = std::min(left, index.column());
    right = std::max(right, index.column());
  }
  QString text;
  for (int row = top; row <= bottom; ++row) {
    for (int column = left; column <= right; ++column) {
      if (column > left) {
        text += QLatin1Char('\t');
      }
      if (const QTableWidgetItem* cell = item(row, column); cell && cell->isSelected()) {
        text += cell->text();
      }
    }
    text += QStringLiteral("\r\n");
  }
  return text;
}

void FolioGrid::copySelection() {
  if (hasSelection()) {
    gui::hostUi().setClipboardText(selectionText().toStdU16String());
  }
}

void FolioGrid::cutSelection() {
  if (!hasSelection()) {
    return;
  }
  copySelection();
  for (QTableWidgetItem* cell : selectedItems()) {
    cell->setText(QString());
  }
}

void FolioGrid::sortRows(int column, Qt::SortOrder order) {
  if (column < 0 || column >= columnCount()) {
    return;
  }
  sortColumn_ = column;
  sortOrder_ = order;
  sortItems(column, order);
  horizontalHeader()->setSortIndicator(column, order);
  horizontalHeader()->setSortIndicatorShown(true);
  relabelRows();
}

void FolioGrid::sortByHeaderClick(int column) {
  const bool again = column == sortColumn_ && sortOrder_ == Qt::AscendingOrder;
  sortRows(column, again ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void FolioGrid::relabelRows() {
  for (int row = 0; row < rowCount(); ++row) {
    if (const QTableWidgetItem* cell = item(row, 0); cell && verticalHeaderItem(row)) {
      verticalHeaderItem(row)->setText(rowLabel(cell->data(kElementRole).toInt()));
    }
  }
}

void FolioGrid::keyPressEvent(QKeyEvent* event) {
  // The view's own copy takes only the current cell; ours takes the whole selection.
  const QKeyCombination key = event->keyCombination();
  if (key == (Qt::CTRL | Qt::Key_C) || key == (Qt::CTRL | Qt::Key_Insert)) {
    copySelection();
  } else if (key == (Qt::CTRL | Qt::Key_X)) {
    cutSelection();
  } else {
    QTableWidget::keyPressEvent(event);
  }
}

bool FolioGrid::eventFilter(QObject* watched, QEvent* event) {
  auto* corner = qobject_cast<QAbstractButton*>(watched);
  if (corner == nullptr || event->type() != QEvent::Paint) {
    return QTableWidget::eventFilter(watched, event);
  }
  QStyleOptionHeader option;
  option.initFrom(corner);
  option.rect = corner->rect();
  option.text = kCornerText;
  option.textAlignment = kHeaderRowAlignment;
  option.position = QStyleOptionHeader::OnlyOneSection;
  option.orientation = Qt::Horizontal;
  QPainter painter(corner);
  corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
  return true;
}

}  // namespace tavrel::statexport
