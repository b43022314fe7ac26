#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QFile>

#include "loader_fixture.h"
#include "tavrel/ScriptedHostUi.h"

namespace tavrel::loadertest {
namespace {

using Calls = std::vector<std::string>;

bool isMapped(const std::u16string& file) {
  void* handle = dlopen(QFile::encodeName(QString::fromStdU16String(file)).constData(),
                        RTLD_LAZY | RTLD_NOLOAD);
  if (handle != nullptr) {
    dlclose(handle);
  }
  return handle != nullptr;
}

class LoaderLibraryTest : public LoaderTest {
 protected:
  void SetUp() override {
    LoaderTest::SetUp();
    manager->setFolder(testPluginFolder());
  }
  std::u16string pluginFile(const std::u16string& name) const {
    return testPluginFolder() + u"/" + name + u".so";
  }
};

TEST_F(LoaderLibraryTest, ImportsUnderTheLockAndClosesInReverseOrderOfLoading) {
  manager->loadLibrary(u"First", u"loader_first.dll");
  manager->loadLibrary(u"Second", u"loader_second.dll");
  manager->loadLibrary(u"Third", u"loader_third.dll");
  EXPECT_EQ(manager->loadedCount(), 3u);
  manager.reset();
  EXPECT_EQ(calls(), (Calls{"import loader_first", "import loader_second", "import loader_third",
                            "close loader_third", "close loader_second", "close loader_first"}));
  EXPECT_FALSE(isMapped(pluginFile(u"loader_second")));
}

TEST_F(LoaderLibraryTest, UnloadByNameClosesOnlyThatLibrary) {
  manager->loadLibrary(u"First", u"loader_first.dll");
  manager->loadLibrary(u"Second", u"loader_second.dll");
  manager->unloadLibrary(u"First");
  EXPECT_EQ(manager->find(u"First"), nullptr);
  EXPECT_EQ(manager->loadedCount(), 1u);
  EXPECT_FALSE(isMapped(pluginFile(u"loader_first")));
  manager->unloadLibrary(u"NotLoaded");
  EXPECT_EQ(calls(), (Calls{"import loader_first", "import loader_second", "close loader_first"}));
}

TEST_F(LoaderLibraryTest, PluginWithoutCloseLibraryUnloadsWithoutACall) {
  manager->loadLibrary(u"Plain", u"loader_no_close.dll");
  manager->unloadLibrary(u"Plain");
  EXPECT_EQ(calls(), (Calls{"import loader_no_close"}));
  EXPECT_FALSE(isMapped(pluginFile(u"loader_no_close")));
}

TEST_F(LoaderLibraryTest, MissingFileRaisesCode4WithThePathAndFilesNothing) {
  const std::u16string expected = manager->folder() + u"absent.dll";
  try {
    manager->loadLibrary(u"Absent", u"absent.dll");
    FAIL() << "no exception";
  } catch (const excpt::LibraryLoadException& failure) {
    EXPECT_EQ(failure.code(), 4);
    EXPECT_EQ(failure.handler().path, expected);
    gui::CScriptedHostUi& ui = gui::headlessHostUi();
    ui.reset();
    failure.report();
    ASSERT_EQ(ui.calls().size(), 1u);
    EXPECT_EQ(ui.calls()[0].message.text, u"Unable to open library " + expected + u".");
    EXPECT_EQ(ui.calls()[0].message.title, u"ZR Calvane Error");
  }
  EXPECT_EQ(manager->loadedCount(), 0u);
  EXPECT_EQ(manager->find(u"Absent"), nullptr);
}

TEST_F(LoaderLibraryTest, FileThatIsNotALibraryRaisesCode4) {
  writeFile(u"broken.so", "this is text, not a shared object\n");
  manager->setFolder(folder.path().toStdU16String());
  EXPECT_THROW(manager->loadLibrary(u"Broken", u"broken.dll"), excpt::LibraryLoadException);
  EXPECT_EQ(manager->loadedCount(), 0u);
}

TEST_F(LoaderLibraryTest, LibraryWithoutImportRaisesCode1AndIsUnloaded) {
  try {
    manager->loadLibrary(u"NoImport", u"loader_no_import.dll");
    FAIL() << "no exception";
  } catch (const excpt::IException& failure) {
    EXPECT_EQ(failure.code(), excpt::MissingImportException::kCode);
  }
  EXPECT_EQ(manager->loadedCount(), 0u);
  EXPECT_FALSE(isMapped(pluginFile(u"loader_no_import")));
  EXPECT_TRUE(calls().empty());
}

TEST_F(LoaderLibraryTest, ExceptionOutOfImportForgetsTheLibraryAndPassesOnUnchanged) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      manager->loadLibrary(u"Failing", u"loader_failing_import.dll");
      FAIL() << "no exception";
    } catch (const excpt::SkinNotInstalledException& failure) {
      // Its type and handler live in the plug-in, which must still be there to read them.
      EXPECT_EQ(failure.code(), 4002);
      EXPECT_EQ(failure.handler().message, u"import refused");
    }
  }
  EXPECT_EQ(manager->loadedCount(), 0u);
  EXPECT_EQ(manager->find(u"Failing"), nullptr);
  // The lock was let go on the way out: the next import finds it taken only by its loader.
  manager->loadLibrary(u"First", u"loader_first.dll");
  manager.reset();
  EXPECT_EQ(calls(), (Calls{"import loader_failing_import", "import loader_failing_import",
                            "import loader_first", "close loader_first"}));
}

TEST_F(LoaderLibraryTest, SecondLoadUnderOneNameReplacesTheEntryAndKeepsTheFirstLoaded) {
  manager->loadLibrary(u"Same", u"loader_first.dll");
  manager->loadLibrary(u"Same", u"loader_second.dll");
  EXPECT_EQ(manager->find(u"Same")->path(), manager->folder() + u"loader_second.dll");
  manager->unloadLibrary(u"Same");
  EXPECT_EQ(manager->loadedCount(), 1u);
  manager.reset();
  EXPECT_EQ(calls(), (Calls{"import loader_first", "import loader_second", "close loader_second",
                            "close loader_first"}));
}

TEST_F(LoaderLibraryTest, BindsAnExportByNameOrLeavesTheFunctionEmpty) {
  manager->loadLibrary(u"First", u"loader_first.dll");
  fn::Function<fn::ret<int>, int> answer;
  ASSERT_TRUE(manager->bindExport(u"First", u"loaderTestAnswer", answer));
  EXPECT_EQ(answer(41), 42);
  EXPECT_FALSE(manager->bindExport(u"First", u"noSuchExport", answer));
  EXPECT_TRUE(answer.empty());
  answer = [](int) { return 0; };
  EXPECT_FALSE(manager->bindExport(u"NotLoaded", u"loaderTestAnswer", answer));
  EXPECT_TRUE(answer.empty());
}

TEST_F(LoaderLibraryTest, FolderGetsOneSeparatorAtTheEnd) {
  manager->setFolder(u"plugins");
  EXPECT_EQ(manager->folder(), u"plugins\\");
  manager->setFolder(u"plugins\\");
  EXPECT_EQ(manager->folder(), u"plugins\\");
  manager->setFolder(u"/opt/plugins/");
  EXPECT_EQ(manager->folder(), u"/opt/plugins/");
}

}  // namespace
}  // namespace tavrel::loadertest
