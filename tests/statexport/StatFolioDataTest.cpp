// Finding, checking and loading a statistics folio, and what each load reports.
#include <gtest/gtest.h>

#include "FolioBuilder.h"
#include "SampleFolios.h"
#include "TestSupport.h"
#include "tavrel/statexport/NQSArray.h"
#include "tavrel/statexport/StatFolioData.h"
#include "tavrel/statexport/TableLayout.h"

namespace tavrel::statexport {
namespace {

using test::RecordingReporter;
using test::ScriptedChooser;
using testing::Nibbles;

const char kNotAFolio[] =
    "The data does not appear to contain a Statistics folio.\nPlease try again.";
const char kEmpty[] = "This Statistics folio appears to be empty.\nPlease try again.";

struct Loader {
  explicit Loader(std::optional<int> choice = 0) : chooser(choice), data(chooser, reporter) {}
  bool bare(const Nibbles& object, const std::string& name = "") {
    const std::vector<std::uint8_t> bytes = testing::packNibbles(object);
    return data.loadFromData(bytes.data(), bytes.size(), name);
  }
  bool received(const std::vector<std::uint8_t>& image) {
    return data.loadFromReceived(image.data(), image.size());
  }
  RecordingReporter reporter;
  ScriptedChooser chooser;
  StatFolioData data;
};

TEST(StatFolioCheck, SixtyTwoVariablesAreTooFewSixtyThreeEnough) {
  Loader few;
  EXPECT_FALSE(few.bare(testing::statFolio({std::vector<std::string>{"1"}}, 62)));
  EXPECT_EQ(few.reporter.messages, std::vector<std::string>{kNotAFolio});
  EXPECT_FALSE(few.data.valid());

  Loader enough;
  EXPECT_TRUE(enough.bare(testing::statFolio({std::vector<std::string>{"1"}}, 63)));
  EXPECT_TRUE(enough.reporter.messages.empty());
  EXPECT_TRUE(enough.data.valid());
  EXPECT_EQ(enough.data.title(), "Untitled");
}

TEST(StatFolioCheck, TheMarkListMustOpenWithTheFolioLibraryReference) {
  std::vector<testing::Variable> variables(63, {"V", testing::bint(0)});
  variables[0].value = testing::list({testing::xlib(0x130F2)});
  Loader wrong;
  EXPECT_FALSE(wrong.bare(testing::directory(variables)));
  EXPECT_EQ(wrong.reporter.messages, std::vector<std::string>{kNotAFolio});
}

TEST(StatFolioCheck, ColumnCountIsTheHighestColumnWithData) {
  Loader loader;
  ASSERT_TRUE(loader.bare(testing::statFolio({std::vector<std::string>{"1", "2"}, std::nullopt,
                                              std::vector<std::string>{"3", "4", "5"}})));
  EXPECT_EQ(loader.data.rowCount(), 3u);
  EXPECT_EQ(loader.data.columnCount(), 3u);
  EXPECT_EQ(loader.data.column(1), nullptr);
  EXPECT_EQ(loader.data.cellText(0, 1), "");
  EXPECT_EQ(loader.data.cellText(2, 0), "");
  EXPECT_EQ(loader.data.cellText(2, 2), "5");
  EXPECT_EQ(loader.data.cellText(9, 2), "");
}

TEST(StatFolioCheck, FolioWithoutDataIsEmpty) {
  Loader loader;
  EXPECT_FALSE(loader.bare(testing::statFolio({std::vector<std::string>{}, std::nullopt})));
  EXPECT_EQ(loader.reporter.messages, std::vector<std::string>{kEmpty});
  EXPECT_FALSE(loader.data.valid());
  EXPECT_EQ(loader.data.rowCount(), 0u);
}

TEST(StatFolioLocate, OneFolioInTheRootIsTakenWithItsName) {
  const Nibbles root =
      testing::directory({{"A", testing::real("1")},
                          {"'Height", testing::statFolio({std::vector<std::string>{"9"}})}});
  Loader loader;
  ASSERT_TRUE(loader.bare(root, "Given"));
  EXPECT_EQ(loader.data.title(), "Height");
  EXPECT_TRUE(loader.chooser.offered.empty());
  EXPECT_EQ(loader.data.cellText(0, 0), "9");
}

TEST(StatFolioLocate, SeveralFoliosAskTheChooserInChainOrder) {
  Loader first(0);
  ASSERT_TRUE(first.bare(test::folioDirWithTwoFolios()));
  ASSERT_EQ(first.chooser.offered.size(), 1u);
  EXPECT_EQ(first.chooser.offered[0], (std::vector<std::string>{"Beta", "Alpha"}));
  EXPECT_EQ(first.data.title(), "Beta");
  EXPECT_EQ(first.data.cellText(0, 0), "-3");

  Loader second(1);
  ASSERT_TRUE(second.bare(test::folioDirWithTwoFolios()));
  EXPECT_EQ(second.data.title(), "Alpha");
  EXPECT_EQ(second.data.cellText(1, 0), "2");
}

TEST(StatFolioLocate, ChoicesOutOfRangeAreClampedAndCancelKeepsTheRoot) {
  Loader below(-4);
  ASSERT_TRUE(below.bare(test::folioDirWithTwoFolios()));
  EXPECT_EQ(below.data.title(), "Beta");

  Loader beyond(7);
  ASSERT_TRUE(beyond.bare(test::folioDirWithTwoFolios()));
  EXPECT_EQ(beyond.data.title(), "Alpha");

  Loader cancel(std::nullopt);
  EXPECT_FALSE(cancel.bare(test::folioDirWithTwoFolios(), "Mine"));
  EXPECT_EQ(cancel.data.title(), "Mine");
  EXPECT_EQ(cancel.reporter.messages, std::vector<std::string>{kNotAFolio});
}

TEST(StatFolioLocate, TitleChooserPicksByTitleOrTheFirst) {
  TitleFolioChooser first;
  EXPECT_EQ(first.chooseFolio({"B", "A"}), 0);
  TitleFolioChooser byTitle("A");
  EXPECT_EQ(byTitle.chooseFolio({"B", "A"}), 1);
  EXPECT_FALSE(byTitle.missedWantedTitle());
  TitleFolioChooser missing("C");
  EXPECT_EQ(missing.chooseFolio({"B", "A"}), std::nullopt);
  EXPECT_TRUE(missing.missedWantedTitle());
  EXPECT_EQ(missing.offeredTitles(), (std::vector<std::string>{"B", "A"}));
}

TEST(StatFolioLoad, FileMessagesAndTitles) {
  test::TempDir dir;
  Loader loader;
  EXPECT_FALSE(loader.data.loadFromFile(dir.path("none.folio").string()));
  // The name takes the whole rest of the file, so no object follows it.
  test::writeBytes(
      dir.path("noobject"),
      std::vector<std::uint8_t>{'Z', 'R', 'T', '7', 'B', 'i', 'n', 1, 5, 'a', 'b', 'c', 'd', 'e'});
  EXPECT_FALSE(loader.data.loadFromFile(dir.path("noobject").string()));
  EXPECT_EQ(loader.reporter.messages,
            (std::vector<std::string>{"Could not open file.",
                                      "Could not read folio.\nPlease try again."}));

  test::writeBytes(dir.path("named"), testing::folioImage("Named", test::singleColumnFolio()));
  EXPECT_TRUE(loader.data.loadFromFile(dir.path("named").string()));
  EXPECT_EQ(loader.data.title(), "Named");
  test::writeBytes(dir.path("unnamed"), testing::folioImage("", test::singleColumnFolio()));
  EXPECT_TRUE(loader.data.loadFromFile(dir.path("unnamed").string()));
  EXPECT_EQ(loader.data.title(), "Untitled");
  EXPECT_EQ(loader.reporter.messages.size(), 2u);
}

TEST(StatFolioLoad, DataAndReceivedMessages) {
  Loader loader;
  EXPECT_FALSE(loader.bare({}));
  EXPECT_FALSE(loader.bare(testing::real("1")));
  EXPECT_EQ(loader.reporter.messages,
            (std::vector<std::string>{"Could not read folio.", kNotAFolio}));

  Loader receiver;
  EXPECT_FALSE(receiver.received(std::vector<std::uint8_t>(5, 0)));
  EXPECT_TRUE(receiver.reporter.messages.empty());
  EXPECT_FALSE(receiver.received(std::vector<std::uint8_t>(40, 'q')));
  EXPECT_FALSE(receiver.received(testing::folioImage("R", testing::real("1"))));
  EXPECT_EQ(receiver.reporter.messages,
            (std::vector<std::string>{"File does not appear to be a T7/T8 folio.", kNotAFolio}));
  EXPECT_TRUE(receiver.received(testing::folioImage("R", test::singleColumnFolio())));
  EXPECT_EQ(receiver.data.title(), "R");
}

TEST(StatFolioLoad, AFailedLoadLeavesNothingOfTheOneBefore) {
  Loader loader;
  ASSERT_TRUE(loader.bare(test::mixedColumnsFolio()));
  EXPECT_FALSE(loader.received(std::vector<std::uint8_t>(40, 'q')));
  EXPECT_FALSE(loader.data.valid());
  EXPECT_EQ(loader.data.rowCount(), 0u);
  EXPECT_EQ(loader.data.columnCount(), 0u);
  EXPECT_FALSE(loader.data.root());
  EXPECT_EQ(loader.data.title(), "");
}

TEST(StatFolioTable, HeadersAroundTheCells) {
  Loader loader;
  ASSERT_TRUE(loader.bare(test::mixedColumnsFolio()));
  EXPECT_EQ(tableRowCount(loader.data), 6u);
  EXPECT_EQ(tableColumnCount(loader.data), 5u);
  EXPECT_EQ(tableCellText(loader.data, 0, 0), "n");
  EXPECT_EQ(tableCellText(loader.data, 0, 4), "Column 4");
  EXPECT_EQ(tableCellText(loader.data, 5, 0), "Row 5");
  EXPECT_EQ(tableCellText(loader.data, 1, 1), "12,345.6");

  Loader invalid;
  EXPECT_EQ(tableRowCount(invalid.data), 2u);
  EXPECT_EQ(tableColumnCount(invalid.data), 2u);
  EXPECT_EQ(tableCellText(invalid.data, 1, 1), "");
}

}  // namespace
}  // namespace tavrel::statexport
