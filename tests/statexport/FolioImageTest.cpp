// Folio file images and files: the header checks, the error texts and input cut anywhere.
#include <gtest/gtest.h>

#include <set>

#include "FolioBuilder.h"
#include "SampleFolios.h"
#include "TestSupport.h"
#include "tavrel/statexport/FolioImage.h"
#include "tavrel/statexport/NQSDir.h"
#include "tavrel/statexport/StatFolioData.h"

namespace tavrel::statexport {
namespace {

using test::RecordingReporter;
using test::ScriptedChooser;
using test::TempDir;

TEST(FolioImage, ErrorTexts) {
  EXPECT_EQ(folioLoadErrorText(1), "Could not open file.");
  EXPECT_EQ(folioLoadErrorText(2), "File is too small or too large to be a statistics folio.");
  EXPECT_EQ(folioLoadErrorText(3), "File does not appear to be a T7/T8 folio.");
  EXPECT_EQ(folioLoadErrorText(0), "");
  EXPECT_EQ(folioLoadErrorText(4), "");
  EXPECT_EQ(folioLoadErrorText(-1), "");
}

TEST(FolioImage, HeaderChecks) {
  std::string name;
  int error = -1;
  const std::vector<std::uint8_t> image = testing::folioImage("Stats", testing::real("5"));
  const NQSObjectRef root = readFolioImage(image.data(), image.size(), name, error);
  ASSERT_TRUE(root);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(name, "Stats");
  EXPECT_EQ(root->text(), "5");

  std::vector<std::uint8_t> flagZero = image;
  flagZero[7] = 0;
  EXPECT_FALSE(readFolioImage(flagZero.data(), flagZero.size(), name, error));
  EXPECT_EQ(error, 3);

  std::vector<std::uint8_t> wrongMagic = image;
  wrongMagic[6] = 'N';
  EXPECT_FALSE(readFolioImage(wrongMagic.data(), wrongMagic.size(), name, error));
  EXPECT_EQ(error, 3);

  EXPECT_FALSE(readFolioImage(image.data(), 12, name, error));
  EXPECT_EQ(error, 0);
  EXPECT_FALSE(readFolioImage(nullptr, 100, name, error));
  EXPECT_EQ(error, 0);
}

TEST(FolioImage, NameLongerThanTheImageIsCutAndLeavesNoObject) {
  std::vector<std::uint8_t> image = testing::folioImage("ab", testing::real("5"));
  image[8] = 200;
  std::string name;
  int error = -1;
  EXPECT_FALSE(readFolioImage(image.data(), image.size(), name, error));
  EXPECT_EQ(error, 0);
  EXPECT_EQ(name.size(), image.size() - 9);
}

TEST(FolioFile, OpenAndSizeErrors) {
  TempDir dir;
  std::string name;
  int error = 0;
  EXPECT_FALSE(readFolioFile(dir.path("missing").string(), name, error));
  EXPECT_EQ(error, 1);
  EXPECT_FALSE(readFolioFile(dir.path("").string(), name, error));
  EXPECT_EQ(error, 1);

  const std::vector<std::uint8_t> image = testing::folioImage("S", testing::real("5"));
  test::writeBytes(dir.path("13"), std::vector<std::uint8_t>(image.begin(), image.begin() + 13));
  EXPECT_FALSE(readFolioFile(dir.path("13").string(), name, error));
  EXPECT_EQ(error, 2);

  test::writeBytes(dir.path("bad"), std::vector<std::uint8_t>(20, 'x'));
  EXPECT_FALSE(readFolioFile(dir.path("bad").string(), name, error));
  EXPECT_EQ(error, 3);

  test::writeBytes(dir.path("good"), image);
  const NQSObjectRef root = readFolioFile(dir.path("good").string(), name, error);
  ASSERT_TRUE(root);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(name, "S");
}

// Every prefix of a folio image loads without a crash and fails, if at all, with one of the
// described messages. A prefix that still holds the whole folio loads as the image does.
TEST(FolioImage, TruncatedAtEveryLength) {
  const std::vector<std::uint8_t> image =
      testing::folioImage("Trunc", test::folioDirWithTwoFolios());
  const std::set<std::string> allowed = {
      "The data does not appear to contain a Statistics folio.\nPlease try again.",
      "This Statistics folio appears to be empty.\nPlease try again.",
      "File does not appear to be a T7/T8 folio.",
  };
  for (std::size_t length = 0; length <= image.size(); ++length) {
    RecordingReporter reporter;
    ScriptedChooser chooser(0);
    StatFolioData data(chooser, reporter);
    const bool loaded = data.loadFromReceived(image.data(), length);
    if (length == image.size()) {
      EXPECT_TRUE(loaded);
    }
    if (loaded) {
      EXPECT_EQ(data.title(), "Beta");
      EXPECT_EQ(data.cellText(0, 0), "-3");
      EXPECT_EQ(data.cellText(0, 1), "4");
    }
    for (const std::string& message : reporter.messages) {
      EXPECT_TRUE(allowed.count(message)) << length << ": " << message;
    }

    RecordingReporter bareReporter;
    StatFolioData bare(chooser, bareReporter);
    bare.loadFromData(image.data() + 14, length > 14 ? length - 14 : 0, "");
    for (const std::string& message : bareReporter.messages) {
      EXPECT_TRUE(allowed.count(message) || message == "Could not read folio.") << message;
    }
  }
}

}  // namespace
}  // namespace tavrel::statexport
