// The table dialog: grid texts and alignments, copying, sorting and saving as CSV.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include "FolioBuilder.h"
#include "GuiTestSupport.h"
#include "IntegerCompare.h"
#include "SampleFolios.h"
#include "StatTableDialog.h"
#include "TestSupport.h"
#include "tavrel/Text.h"

namespace tavrel::statexport::test {
namespace {

using namespace testing;

class TableDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ensureTestApplication(); }

  void load(const Nibbles& folio) {
    const std::vector<std::uint8_t> bytes = packNibbles(folio);
    ASSERT_TRUE(dialog_.data().loadFromData(bytes.data(), bytes.size(), "Sample"));
    dialog_.fillGrid();
  }
  QString text(int row, int column) const { return dialog_.grid()->layoutText(row, column); }
  QStringList columnTexts(int column) const {
    QStringList texts;
    for (int row = 1; row < dialog_.grid()->layoutRowCount(); ++row) {
      texts << text(row, column);
    }
    return texts;
  }

  ScopedScriptedUi scripted_;
  CZRStatFolioExportDlg dialog_;
};

TEST_F(TableDialogTest, GridShowsHeadersAndCellTexts) {
  load(mixedColumnsFolio());
  FolioGrid& grid = *dialog_.grid();
  EXPECT_EQ(dialog_.windowTitle(), "Export Statistics Folio");
  // Five rows; columns up to the last non-empty one (4), column 3 absent.
  ASSERT_EQ(grid.layoutRowCount(), 6);
  ASSERT_EQ(grid.layoutColumnCount(), 5);
  EXPECT_EQ(text(0, 0), "n");
  EXPECT_EQ(text(0, 1), "Column 1");
  EXPECT_EQ(text(0, 4), "Column 4");
  EXPECT_EQ(text(1, 0), "Row 1");
  EXPECT_EQ(text(5, 0), "Row 5");
  EXPECT_EQ(columnTexts(1),
            QStringList({"12,345.6", "0.00123", "1.5E-7", "1.234567890E10", "-42"}));
  EXPECT_EQ(columnTexts(2), QStringList({"3.141592653", "0", "1,000", "", ""}));
  EXPECT_EQ(columnTexts(3), QStringList({"", "", "", "", ""}));
  EXPECT_EQ(text(3, 4), "9.999999999E11");
}

TEST_F(TableDialogTest, CellsAndHeadersAreAlignedAndReadOnly) {
  load(singleColumnFolio());
  FolioGrid& grid = *dialog_.grid();
  EXPECT_EQ(grid.horizontalHeaderItem(0)->textAlignment(), int(Qt::AlignLeft | Qt::AlignTop));
  EXPECT_EQ(grid.verticalHeaderItem(0)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
  EXPECT_EQ(grid.item(0, 0)->textAlignment(), int(Qt::AlignHCenter | Qt::AlignVCenter));
  EXPECT_FALSE(grid.item(0, 0)->flags() & Qt::ItemIsEditable);
  EXPECT_FALSE(grid.wordWrap());
  EXPECT_EQ(grid.textElideMode(), Qt::ElideRight);
}

TEST_F(TableDialogTest, CopyPutsTheSelectedRectangleOnTheClipboard) {
  load(mixedColumnsFolio());
  FolioGrid& grid = *dialog_.grid();
  EXPECT_FALSE(dialog_.copyAction()->isEnabled());
  EXPECT_FALSE(dialog_.cutAction()->isEnabled());
  grid.setRangeSelected(QTableWidgetSelectionRange(0, 0, 2, 1), true);
  EXPECT_TRUE(dialog_.copyAction()->isEnabled());
  EXPECT_TRUE(dialog_.cutAction()->isEnabled());

  dialog_.copyAction()->trigger();
  EXPECT_EQ(scripted_.ui().clipboardText(),
            u"12,345.6\t3.141592653\r\n0.00123\t0\r\n1.5E-7\t1,000\r\n");
}

TEST_F(TableDialogTest, SelectAllCopiesEveryDataCellAndCutEmptiesThem) {
  load(singleColumnFolio());
  dialog_.selectAllAction()->trigger();
  dialog_.cutAction()->trigger();
  EXPECT_EQ(scripted_.ui().clipboardText(), u"1\r\n2.5\r\n");
  EXPECT_EQ(text(1, 1), "");
  EXPECT_EQ(text(2, 1), "");
  // The folio itself keeps its data.
  EXPECT_EQ(dialog_.data().cellText(1, 0), "2.5");
}

TEST_F(TableDialogTest, KeysCopyCutAndSelectAllInTheGrid) {
  load(singleColumnFolio());
  FolioGrid& grid = *dialog_.grid();
  const auto press = [&grid](QKeyCombination key) {
    QKeyEvent event(QEvent::KeyPress, key.key(), key.keyboardModifiers());
    QApplication::sendEvent(&grid, &event);
  };
  press(Qt::CTRL | Qt::Key_A);
  press(Qt::CTRL | Qt::Key_Insert);
  EXPECT_EQ(scripted_.ui().clipboardText(), u"1\r\n2.5\r\n");
  grid.clearSelection();
  grid.setRangeSelected(QTableWidgetSelectionRange(1, 0, 1, 0), true);
  press(Qt::CTRL | Qt::Key_C);
  EXPECT_EQ(scripted_.ui().clipboardText(), u"2.5\r\n");
  press(Qt::CTRL | Qt::Key_X);
  EXPECT_EQ(text(2, 1), "");
  EXPECT_EQ(text(1, 1), "1");
}

TEST_F(TableDialogTest, SortingComparesLeadingIntegersAndKeepsRowHeaders) {
  load(statFolio({std::vector<std::string>{"12345.6", "-3", "7", "0.5", "100"}}));
  dialog_.grid()->sortRows(0, Qt::AscendingOrder);
  // "12,345.6" counts as 12; "0.5" as 0.
  EXPECT_EQ(columnTexts(1), QStringList({"-3", "0.5", "7", "12,345.6", "100"}));
  EXPECT_EQ(columnTexts(0), QStringList({"Row 2", "Row 4", "Row 3", "Row 1", "Row 5"}));
  dialog_.grid()->sortRows(0, Qt::DescendingOrder);
  EXPECT_EQ(columnTexts(1), QStringList({"100", "12,345.6", "7", "0.5", "-3"}));
  EXPECT_EQ(text(1, 0), "Row 5");
}

TEST_F(TableDialogTest, HeaderClicksSortAscendingThenDescending) {
  load(statFolio({std::vector<std::string>{"2", "10", "1"}}));
  emit dialog_.grid()->horizontalHeader()->sectionClicked(0);
  EXPECT_EQ(columnTexts(1), QStringList({"1", "2", "10"}));
  emit dialog_.grid()->horizontalHeader()->sectionClicked(0);
  EXPECT_EQ(columnTexts(1), QStringList({"10", "2", "1"}));
}

TEST(IntegerCompareTest, ReadsLikeTextToLong) {
  EXPECT_EQ(compareAsIntegers("12,345.6", "12"), 0);
  EXPECT_EQ(compareAsIntegers("  -5", "3"), -1);
  EXPECT_EQ(compareAsIntegers("abc", "0"), 0);
  EXPECT_EQ(compareAsIntegers("1.5E-7", "0.9"), 1);
  EXPECT_EQ(compareAsIntegers("", "-1"), 1);
}

TEST_F(TableDialogTest, SaveAsCsvWritesTheGoldenFileAtTheChosenPath) {
  load(mixedColumnsFolio());
  TempDir folder;
  const std::string path = folder.path("table.csv").string();
  writeBytes(path, {'o', 'l', 'd'});  // replaced without asking
  scripted_.ui().queuePath(fromUtf8(path));
  dialog_.saveAction()->trigger();

  EXPECT_EQ(readText(path), golden("mixed_columns.csv"));
  const std::vector<gui::HostUiCall> calls = scripted_.ui().calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].kind, gui::HostUiCall::Kind::SaveFile);
  EXPECT_EQ(calls[0].dialog.title, u"Save Statistics Folio File");
  EXPECT_EQ(calls[0].dialog.filter, u"CSV (Comma delimited)(*.csv)");
  EXPECT_EQ(calls[0].dialog.defaultExtension, u"csv");
  EXPECT_EQ(calls[0].dialog.initialName, u"Sample");
  EXPECT_EQ(calls[0].dialog.flags & gui::kOverwritePrompt, 0u);
}

TEST_F(TableDialogTest, CancelledSaveWritesNothing) {
  load(singleColumnFolio());
  TempDir folder;
  scripted_.ui().queuePath(std::nullopt);
  dialog_.saveAction()->trigger();
  EXPECT_TRUE(folder.entries().empty());
  EXPECT_TRUE(scripted_.messages().empty());
}

TEST_F(TableDialogTest, SaveIntoAMissingFolderReportsAnErrorBox) {
  load(singleColumnFolio());
  TempDir folder;
  scripted_.ui().queuePath(fromUtf8(folder.path("missing/table.csv").string()));
  dialog_.saveAction()->trigger();
  const std::vector<gui::HostUiCall> calls = scripted_.ui().calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].message.title, u"Error");
  EXPECT_TRUE(folder.entries().empty());
}

TEST_F(TableDialogTest, EnterAndEscapeDoNotCloseTheTable) {
  load(singleColumnFolio());
  dialog_.show();
  for (const int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&dialog_, &press);
    EXPECT_TRUE(dialog_.isVisible()) << key;
  }
  dialog_.closeAction()->trigger();
  EXPECT_FALSE(dialog_.isVisible());
}

TEST_F(TableDialogTest, FailedLoadLeavesOneEmptyCell) {
  const std::vector<std::uint8_t> bytes = packNibbles(real("1"));
  EXPECT_FALSE(dialog_.data().loadFromData(bytes.data(), bytes.size(), ""));
  dialog_.fillGrid();
  EXPECT_EQ(dialog_.grid()->layoutRowCount(), 2);
  EXPECT_EQ(dialog_.grid()->layoutColumnCount(), 2);
  EXPECT_EQ(text(1, 1), "");
  ASSERT_EQ(scripted_.messages().size(), 1u);
  EXPECT_EQ(scripted_.messages()[0],
            u"The data does not appear to contain a Statistics folio.\nPlease try again.");
}

}  // namespace
}  // namespace tavrel::statexport::test
