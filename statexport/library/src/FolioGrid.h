// The grid of the table dialog: a header row ("n", "Column j"), a header column ("Row r")
// and read-only data cells, with tab-separated copying and integer sorting of rows.
#pragma once

#include <QTableWidget>

namespace tavrel::statexport {

class StatFolioData;

class FolioGrid final : public QTableWidget {
  Q_OBJECT

 public:
  explicit FolioGrid(QWidget* parent = nullptr);

  // Rebuilds every cell from the data; a grid that runs out of memory stays empty.
  void fill(const StatFolioData& data);

  // The text of a cell as laid out on screen, counting the header row and column as row 0
  // and column 0.
  QString layoutText(int row, int column) const;
  int layoutRowCount() const { return rowCount() + 1; }
  int layoutColumnCount() const { return columnCount() + 1; }

  // The selected cells' rectangle: cells separated by a tab, each row ended by "\r\n".
  QString selectionText() const;
  bool hasSelection() const;
  // Through the host's clipboard hook.
  void copySelection();
  // Copies, then empties the selected cells on screen (the folio itself is untouched).
  void cutSelection();
  // Sorts the data rows by one data column (0-based) comparing cells as integers; each
  // row keeps its "Row r" header.
  void sortRows(int column, Qt::SortOrder order);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void sortByHeaderClick(int column);
  void relabelRows();

  int sortColumn_ = -1;
  Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace tavrel::statexport
