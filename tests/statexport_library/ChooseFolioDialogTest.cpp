// Choosing one of several folios: the sorted list, and which folio an entry stands for.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <set>

#include "ChooseFolioDialog.h"
#include "FolioBuilder.h"
#include "GuiTestSupport.h"
#include "SampleFolios.h"
#include "StatTableDialog.h"
#include "TestSupport.h"

namespace tavrel::statexport::test {
namespace {

class ChooseFolioDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ensureTestApplication(); }
  ScopedScriptedUi scripted_;
};

QStringList entries(const QListWidget& list) {
  QStringList texts;
  for (int row = 0; row < list.count(); ++row) {
    texts << list.item(row)->text();
  }
  return texts;
}

void selectEntry(QWidget* dialog, const QString& title) {
  auto* list = dialog->findChild<QListWidget*>();
  ASSERT_NE(list, nullptr);
  const QList<QListWidgetItem*> found = list->findItems(title, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1);
  list->setCurrentItem(found.front());
}

TEST_F(ChooseFolioDialogTest, ListsTitlesSortedWithNothingSelected) {
  CChooseFolioDialog dialog({"Zeta", "Alpha", "Mid"});
  EXPECT_EQ(dialog.windowTitle(), "Choose Folio");
  EXPECT_EQ(entries(*dialog.list()), QStringList({"Alpha", "Mid", "Zeta"}));
  EXPECT_TRUE(dialog.list()->selectedItems().isEmpty());
  EXPECT_EQ(dialog.chosenIndex(), 0);  // OK without a selection takes the first found
}

TEST_F(ChooseFolioDialogTest, SelectionMapsBackToTheGivenOrder) {
  DialogFolioChooser chooser;
  whenModalShown("Choose Folio", [](QWidget* dialog) {
    selectEntry(dialog, "Alpha");
    selectEntry(dialog, "Zeta");
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  EXPECT_EQ(chooser.chooseFolio({"Zeta", "Alpha", "Mid"}), 0);
}

TEST_F(ChooseFolioDialogTest, EqualTitlesStillNameTheirOwnFolio) {
  CChooseFolioDialog dialog({"Same", "Other", "Same"});
  std::set<int> chosen;
  for (const int row : {1, 2}) {  // sorted: Other, Same, Same
    dialog.list()->setCurrentRow(row);
    chosen.insert(dialog.chosenIndex());
  }
  EXPECT_EQ(chosen, std::set<int>({0, 2}));
}

TEST_F(ChooseFolioDialogTest, CancelTakesNoFolio) {
  DialogFolioChooser chooser;
  whenModalShown("Choose Folio", [](QWidget* dialog) {
    selectEntry(dialog, "Mid");
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
  });
  EXPECT_EQ(chooser.chooseFolio({"Zeta", "Alpha", "Mid"}), std::nullopt);
}

TEST_F(ChooseFolioDialogTest, TableLoadAsksAndShowsTheChosenFolio) {
  CZRStatFolioExportDlg table;
  const std::vector<std::uint8_t> bytes = testing::packNibbles(folioDirWithTwoFolios());
  whenModalShown("Choose Folio", [](QWidget* dialog) {
    EXPECT_EQ(entries(*dialog->findChild<QListWidget*>()), QStringList({"Alpha", "Beta"}));
    selectEntry(dialog, "Beta");
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  ASSERT_TRUE(table.data().loadFromData(bytes.data(), bytes.size(), ""));
  EXPECT_EQ(table.data().title(), "Beta");

  TempDir folder;
  const std::string path = folder.path("beta.csv").string();
  scripted_.ui().queuePath(std::u16string(path.begin(), path.end()));
  table.saveAsCsv();
  EXPECT_EQ(readText(path), golden("foliodir_beta.csv"));
}

}  // namespace
}  // namespace tavrel::statexport::test
