#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "skin/SearchPath.h"
#include "skin/SkinCatalog.h"
#include "skin_fixture.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel::skintest {
namespace {

namespace fs = std::filesystem;

class SkinCatalogTest : public ShellPluginsTest {
 protected:
  void skin(const std::string& folder, const std::string& name, const char* file = "skin.xml") {
    write("data/skins/" + folder + "/" + file,
          "<tavrel_skin name=\"" + name + "\" dir=\"" + folder + "\"/>");
  }

  CSkinCatalog catalog{xml};
};

TEST_F(SkinCatalogTest, ListsFoldersHoldingSkinXmlByTheNameTheyGive) {
  skin("Blue", "Blue Skin");
  skin("Red", "Red Skin");
  EXPECT_EQ(catalog.installed(), (InstalledSkins{{u"Blue Skin", u"Blue"}, {u"Red Skin", u"Red"}}));
  EXPECT_EQ(catalog.folderOf(u"Red Skin"), u"Red");
  EXPECT_EQ(catalog.folderOf(u"Green Skin"), std::nullopt);
}

TEST_F(SkinCatalogTest, OnlyAFileNamedExactlySkinXmlMakesASkin) {
  skin("Upper", "Upper", "Skin.xml");
  skin("Other", "Other", "other.xml");
  write("data/skins/loose.xml", "<tavrel_skin name=\"Loose\"/>");
  skin("Blue", "Blue");
  EXPECT_EQ(catalog.installed(), (InstalledSkins{{u"Blue", u"Blue"}}));
}

TEST_F(SkinCatalogTest, OfTwoFoldersGivingOneNameTheLaterWins) {
  skin("B_second", "Same");
  skin("A_first", "Same");
  EXPECT_EQ(catalog.installed(), (InstalledSkins{{u"Same", u"B_second"}}));
}

TEST_F(SkinCatalogTest, BrokenOrNamelessSkinsAreLeftOutWithAMessage) {
  write("data/skins/Broken/skin.xml", "<tavrel_skin name=\"Broken\"");
  write("data/skins/Nameless/skin.xml", "<tavrel_skin dir=\"Nameless\"/>");
  skin("Blue", "Blue");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(catalog.installed(), (InstalledSkins{{u"Blue", u"Blue"}}));
  const std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("Broken"), std::string::npos);
  EXPECT_NE(errors.find("names no skin"), std::string::npos);
}

TEST_F(SkinCatalogTest, AFolderNameThatIsNotUtf8DoesNotStopTheListing) {
  skin("Blue", "Blue");
  const fs::path odd = folder / "data/skins" / std::string("\xff\xfe");
  fs::create_directories(odd);
  std::ofstream(odd / "skin.xml") << "<tavrel_skin name=\"Odd\" dir=\"Odd\"/>";
  ::testing::internal::CaptureStderr();
  const InstalledSkins skins = catalog.installed();
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(skins.count(u"Blue"), 1u);
}

TEST_F(SkinCatalogTest, TheListIsKeptUntilForgottenAndRestoresItsFolder) {
  skin("Blue", "Blue");
  ASSERT_EQ(catalog.installed().size(), 1u);
  skin("Red", "Red");
  fs::create_directories(folder / "elsewhere");
  fs::current_path(folder / "elsewhere");
  EXPECT_EQ(catalog.installed().size(), 1u);
  EXPECT_EQ(fs::current_path(), folder);
  catalog.forget();
  EXPECT_EQ(catalog.installed().size(), 2u);
}

TEST_F(SkinCatalogTest, AnEmptyListIsNotKept) {
  EXPECT_TRUE(catalog.installed().empty());
  skin("Blue", "Blue");
  EXPECT_EQ(catalog.installed().size(), 1u);
}

TEST(SkinSearchPath, FindsInTheFolderAddedLastFirst) {
  const fs::path base = fs::temp_directory_path() / ("tavrel-search-" + std::to_string(getpid()));
  fs::create_directories(base / "shared");
  fs::create_directories(base / "own");
  std::ofstream(base / "shared" / "a.bmp") << "a";
  std::ofstream(base / "shared" / "b.bmp") << "b";
  std::ofstream(base / "own" / "a.bmp") << "a";
  CSearchPath path;
  path.addFolder((base / "shared").u16string());
  path.addFolder((base / "own").u16string() + u"/");
  EXPECT_EQ(path.find(u"a.bmp"), (base / "own" / "a.bmp").u16string());
  EXPECT_EQ(path.find(u"b.bmp"), (base / "shared" / "b.bmp").u16string());
  EXPECT_THROW(path.find(u"c.bmp"), excpt::NotInSearchPathException);
  EXPECT_THROW(path.find(u""), excpt::NotInSearchPathException);
  EXPECT_THROW(path.find(u"*.bmp"), excpt::WildcardSearchException);
  EXPECT_THROW(path.find(u"a?.bmp"), excpt::WildcardSearchException);
  EXPECT_THROW(path.find((base / "own" / "a.bmp").u16string()), excpt::NotInSearchPathException);
  fs::remove_all(base);
}

TEST(SkinSearchPath, RefusesEmptyAndWildcardFolders) {
  CSearchPath path;
  EXPECT_THROW(path.addFolder(u""), excpt::EmptySearchFolderException);
  EXPECT_THROW(path.addFolder(u"data/*"), excpt::WildcardSearchException);
  EXPECT_TRUE(path.folders().empty());
  path.addFolder(u"data\\skins");
  EXPECT_EQ(path.folders(), (std::vector<std::u16string>{u"data/skins/"}));
}

}  // namespace
}  // namespace tavrel::skintest
