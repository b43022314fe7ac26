#include "loader_fixture.h"

#include <QFile>
#include <cstdlib>
#include <fstream>

namespace tavrel::loadertest {
namespace {

std::u16string buildFolder() {
  const char* build = std::getenv("TAVREL_BUILD_DIR");
  return QString::fromUtf8(build != nullptr ? build : ".").toStdU16String();
}

}  // namespace

std::u16string componentsFolder() {
  return buildFolder() + u"/components";
}

std::u16string testPluginFolder() {
  return QString::fromUtf8(TAVREL_TEST_PLUGIN_DIR).toStdU16String();
}

void LoaderTest::SetUp() {
  ASSERT_TRUE(folder.isValid());
  registry = std::make_unique<CRegistry>(path(u"user.settings"), u"");
  ASSERT_EQ(setenv("TAVREL_LOADER_LOG", QFile::encodeName(folder.filePath("calls.log")), 1), 0);
  manager = std::make_unique<CLibraryManager>(*registry, hub, commands);
}

void LoaderTest::TearDown() {
  manager.reset();
  unsetenv("TAVREL_LOADER_LOG");
}

std::u16string LoaderTest::path(const std::u16string& name) const {
  return folder.filePath(QString::fromStdU16String(name)).toStdU16String();
}

void LoaderTest::writeFile(const std::u16string& name, const std::string& text) const {
  std::ofstream(QFile::encodeName(QString::fromStdU16String(path(name))).toStdString(),
                std::ios::binary)
      << text;
}

std::vector<std::string> LoaderTest::calls() const {
  std::vector<std::string> lines;
  std::ifstream log(QFile::encodeName(folder.filePath("calls.log")).toStdString());
  for (std::string line; std::getline(log, line);) {
    lines.push_back(line);
  }
  return lines;
}

void LoaderTest::loadServices() {
  manager->setFolder(componentsFolder());
  manager->loadLibrary(u"Commands", u"command.dll");
  manager->loadLibrary(u"XML", u"xml.dll");
  fn::Function<fn::ret<void>, xml::System*> loadXml;
  ASSERT_TRUE(manager->bindExport(u"XML", u"loadXMLSubsystem", loadXml));
  loadXml(&xml);
  ASSERT_TRUE(xml.parse);
  ASSERT_TRUE(commands.getRegistry);
}

}  // namespace tavrel::loadertest
