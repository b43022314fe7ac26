#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>

#include "loader/LibraryManager.h"
#include "loader/ProcessInterfaces.h"
#include "loader/XmlSubsystem.h"
#include "loader_fixture.h"
#include "tavrel/Singleton.h"
#include "xml_recording_handler.h"

namespace tavrel::loadertest {
namespace {

// The process's own objects, as the program uses them: settings from the XDG folders, the
// plug-ins filed in the process's manager, the XML record filled on first use. They live
// until the test program exits, so this is the only test that makes them.
TEST(LoaderProcessTest, ProcessManagerLoadsTheListAndFillsTheXmlRecordOnFirstUse) {
  if (TSingleton<CRegistry>::exists() || TSingleton<CLibraryManager>::exists()) {
    GTEST_SKIP() << "the process settings store was opened before this test";
  }
  static QTemporaryDir settingsFolder;
  ASSERT_TRUE(settingsFolder.isValid());
  const QByteArray configFolder = settingsFolder.path().toLocal8Bit();
  ASSERT_EQ(setenv("XDG_CONFIG_HOME", configFolder.constData(), 1), 0);
  ASSERT_EQ(setenv("XDG_CONFIG_DIRS", configFolder.constData(), 1), 0);

  CRegistry& registry = TSingleton<CRegistry>::instance();
  ASSERT_TRUE(registry.createKey(u"", u"lib"));
  ASSERT_TRUE(registry.writeText(u"lib", u"dir", componentsFolder()));
  ASSERT_TRUE(registry.writeTextList(u"lib", u"values", {u"Commands#command.dll", u"XML#xml.dll"}));

  CLibraryManager& libraries = TSingleton<CLibraryManager>::instance();
  libraries.loadList();
  EXPECT_EQ(libraries.loadedCount(), 2u);
  CommandInterface& commands = processCommandInterface();
  EXPECT_EQ(commands.settingsKeyPath, CRegistry::kApplicationKey);
  ASSERT_TRUE(commands.getRegistry);

  xml::System& system = xmlSystem();
  ASSERT_TRUE(system.parse);
  EXPECT_EQ(&xmlSystem(), &system);
  const QString file = settingsFolder.filePath("doc.xml");
  {
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("<a>x</a>");
  }
  std::vector<std::string> log;
  system.parse(new xmltest::RecordingHandler("root", log), file.toStdU16String());
  EXPECT_EQ(log, (std::vector<std::string>{"root start a", "root end a [x]", "root released"}));
}

}  // namespace
}  // namespace tavrel::loadertest
