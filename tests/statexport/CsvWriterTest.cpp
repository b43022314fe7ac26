// Saving the table as CSV: the exact bytes, and what a failed save leaves behind.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include "FolioBuilder.h"
#include "SampleFolios.h"
#include "TestSupport.h"
#include "tavrel/statexport/CsvWriter.h"

namespace tavrel::statexport {
namespace {

using test::RecordingReporter;
using test::ScriptedChooser;
using test::TempDir;

class CsvWriter : public ::testing::Test {
 protected:
  CsvWriter() : data(chooser, reporter) {}
  void load(const testing::Nibbles& folio) {
    const std::vector<std::uint8_t> bytes = testing::packNibbles(folio);
    ASSERT_TRUE(data.loadFromData(bytes.data(), bytes.size(), ""));
  }
  std::string path(const std::string& name) const { return dir.path(name).string(); }

  TempDir dir;
  RecordingReporter reporter;
  ScriptedChooser chooser{1};
  StatFolioData data;
};

TEST_F(CsvWriter, ColumnsOfUnequalLengthMatchTheGoldenFile) {
  load(test::mixedColumnsFolio());
  EXPECT_EQ(saveCsv(data, path("mixed.csv"), reporter), CsvSaveResult::kSaved);
  EXPECT_EQ(test::readText(dir.path("mixed.csv")), test::golden("mixed_columns.csv"));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"mixed.csv"});
  EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(CsvWriter, OneColumnHasNoSeparators) {
  load(test::singleColumnFolio());
  EXPECT_EQ(saveCsv(data, path("single.csv"), reporter), CsvSaveResult::kSaved);
  EXPECT_EQ(test::readText(dir.path("single.csv")), test::golden("single_column.csv"));
}

TEST_F(CsvWriter, ChosenFolioOfTheFolioDirectory) {
  load(test::folioDirWithTwoFolios());
  EXPECT_EQ(saveCsv(data, path("alpha.csv"), reporter), CsvSaveResult::kSaved);
  EXPECT_EQ(test::readText(dir.path("alpha.csv")), test::golden("foliodir_alpha.csv"));
}

TEST_F(CsvWriter, AnExistingFileIsReplaced) {
  test::writeBytes(dir.path("out.csv"), std::vector<std::uint8_t>(50000, 'o'));
  load(test::singleColumnFolio());
  EXPECT_EQ(saveCsv(data, path("out.csv"), reporter), CsvSaveResult::kSaved);
  EXPECT_EQ(test::readText(dir.path("out.csv")), "1\r\n2.5\r\n");
}

TEST_F(CsvWriter, NoDataWritesNothing) {
  EXPECT_EQ(saveCsv(data, path("none.csv"), reporter), CsvSaveResult::kNothingToSave);
  EXPECT_TRUE(dir.entries().empty());
  EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(CsvWriter, AFolderThatDoesNotExistIsReported) {
  load(test::singleColumnFolio());
  EXPECT_EQ(saveCsv(data, path("no/such.csv"), reporter), CsvSaveResult::kFailed);
  ASSERT_EQ(reporter.messages.size(), 1u);
  EXPECT_EQ(reporter.messages[0].rfind("Could not save file.\n" + path("no/such.csv") + ": ", 0),
            0u);
}

TEST_F(CsvWriter, RenameOntoAFolderFailsAndLeavesNoTemporaryFile) {
  std::filesystem::create_directories(dir.path("taken.csv") / "inside");
  load(test::singleColumnFolio());
  EXPECT_EQ(saveCsv(data, path("taken.csv"), reporter), CsvSaveResult::kFailed);
  EXPECT_EQ(reporter.messages.size(), 1u);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"taken.csv"});
  EXPECT_TRUE(std::filesystem::is_directory(dir.path("taken.csv") / "inside"));
}

// A write that runs out of room half way (here: the process's file size limit) keeps the
// previous file whole.
TEST_F(CsvWriter, AWriteThatFailsHalfWayKeepsThePreviousFile) {
  std::vector<std::string> values(5000, "1234567.89");
  load(testing::statFolio({values, values}));
  test::writeBytes(dir.path("kept.csv"), std::vector<std::uint8_t>(100, 'k'));

  rlimit original{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &original), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = original;
  small.rlim_cur = 20000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const CsvSaveResult result = saveCsv(data, path("kept.csv"), reporter);
  setrlimit(RLIMIT_FSIZE, &original);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(result, CsvSaveResult::kFailed);
  EXPECT_EQ(reporter.messages.size(), 1u);
  EXPECT_EQ(test::readText(dir.path("kept.csv")), std::string(100, 'k'));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"kept.csv"});
}

}  // namespace
}  // namespace tavrel::statexport
