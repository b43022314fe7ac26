#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "loader_fixture.h"

namespace tavrel::loadertest {
namespace {

using Calls = std::vector<std::string>;
using List = std::vector<std::u16string>;

class LoaderListTest : public LoaderTest {
 protected:
  void store(const std::u16string& folderValue, const List& list) {
    ASSERT_TRUE(registry->createKey(u"", u"lib"));
    if (!folderValue.empty()) {
      ASSERT_TRUE(registry->writeText(u"lib", u"dir", folderValue));
    }
    ASSERT_TRUE(registry->writeTextList(u"lib", u"values", list));
  }
  List storedList() const {
    List list;
    registry->readTextList(u"lib", u"values", list);
    return list;
  }
};

TEST_F(LoaderListTest, AbsentListIsWrittenAsTheEightDefaultsAndLoadedInOrder) {
  // A plug-in folder with only the first two services: the third ("gui.dll") fails, and its
  // failure passes on after the two before it were loaded.
  const QString plugins = folder.filePath("plugins");
  ASSERT_TRUE(QDir().mkpath(plugins));
  for (const char* name : {"command.so", "xml.so"}) {
    ASSERT_TRUE(QFile::link(QString::fromStdU16String(componentsFolder()) + "/" + name,
                            plugins + "/" + name));
  }
  ASSERT_TRUE(registry->createKey(u"", u"lib"));
  ASSERT_TRUE(registry->writeText(u"lib", u"dir", plugins.toStdU16String()));
  try {
    manager->loadList();
    FAIL() << "no exception";
  } catch (const excpt::LibraryLoadException& failure) {
    EXPECT_EQ(failure.handler().path, plugins.toStdU16String() + u"\\gui.dll");
  }
  EXPECT_EQ(storedList(), CLibraryManager::defaultList());
  EXPECT_EQ(manager->loadedCount(), 2u);
  EXPECT_NE(manager->find(u"Commands"), nullptr);
  EXPECT_NE(manager->find(u"XML"), nullptr);
}

TEST_F(LoaderListTest, EmptyListIsReplacedByTheDefaults) {
  store(u"", {});
  ASSERT_TRUE(registry->writeText(u"lib", u"dir", folder.path().toStdU16String()));
  EXPECT_THROW(manager->loadList(), excpt::LibraryLoadException);
  EXPECT_EQ(storedList(), CLibraryManager::defaultList());
}

TEST_F(LoaderListTest, AbsentFolderIsWrittenAsComponents) {
  store(u"", {u"NothingToLoad"});
  manager->loadList();
  EXPECT_EQ(registry->readText(u"lib", u"dir"), u"components");
  EXPECT_EQ(manager->folder(), u"components\\");
  EXPECT_EQ(storedList(), List{u"NothingToLoad"});
  EXPECT_EQ(manager->loadedCount(), 0u);
}

TEST_F(LoaderListTest, EntryWithoutHashLoadsNothingAndRaisesNothing) {
  store(testPluginFolder(), {u"loader_second.dll", u"First#loader_first.dll", u""});
  manager->loadList();
  EXPECT_EQ(manager->loadedCount(), 1u);
  EXPECT_EQ(calls(), Calls{"import loader_first"});
}

TEST_F(LoaderListTest, FolderEndingInBackslashIsUsedUnchanged) {
  const std::u16string withSeparator = testPluginFolder() + u"\\";
  store(withSeparator, {u"First#loader_first.dll", u"Second#loader_second.dll"});
  manager->loadList();
  EXPECT_EQ(manager->folder(), withSeparator);
  EXPECT_EQ(manager->find(u"Second")->path(), withSeparator + u"loader_second.dll");
  EXPECT_EQ(manager->loadedCount(), 2u);
}

TEST_F(LoaderListTest, EntryIsSplitAtTheFirstHash) {
  store(testPluginFolder(), {u"First#loader_first.dll#extra"});
  EXPECT_THROW(manager->loadList(), excpt::LibraryLoadException);
  EXPECT_EQ(manager->find(u"First"), nullptr);
}

}  // namespace
}  // namespace tavrel::loadertest
