#include "ServicePluginFixture.h"

#include <cstdlib>
#include <filesystem>

#include "tavrel/Text.h"

namespace tavrel::test {
namespace {

std::u16string componentPath(const char* file) {
  const char* buildDir = std::getenv("TAVREL_BUILD_DIR");
  return fromUtf8(std::string(buildDir != nullptr ? buildDir : ".") + "/components/" + file);
}

void importInto(CDynamicLibrary& library, excpt::CExceptionHub& hub, CommandInterface& commands) {
  auto* entry = library.resolveFunction<ImportEntry*>(kImportExport);
  ASSERT_NE(entry, nullptr);
  entry(&hub, &commands);
}

void closeLibraryOf(CDynamicLibrary& library) {
  if (auto* close = library.resolveFunction<CloseLibraryEntry*>(kCloseLibraryExport)) {
    close();
  }
}

}  // namespace

void ServicePluginTest::SetUp() {
  ASSERT_NE(std::getenv("TAVREL_BUILD_DIR"), nullptr) << "TAVREL_BUILD_DIR is not set";
  char pattern[] = "/tmp/tavrel-services-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  folder = pattern;
  ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  ::setenv("XDG_CONFIG_DIRS", (folder + "/machine").c_str(), 1);
  settings = std::make_unique<CRegistry>();
  ASSERT_TRUE(command_.load(componentPath("command.so"))) << toUtf8(command_.error());
  importInto(command_, hub, commands);
  ASSERT_FALSE(commands.getDispatcher.empty());
}

void ServicePluginTest::TearDown() {
  closePlugins();
  while (!plugins_.empty()) {
    plugins_.back().unload();
    plugins_.pop_back();
  }
  closeLibraryOf(command_);
  command_.unload();
  settings.reset();
  std::filesystem::remove_all(folder);
}

void ServicePluginTest::loadPlugin(const char* file) {
  CDynamicLibrary& library = plugins_.emplace_back();
  ASSERT_TRUE(library.load(componentPath(file))) << toUtf8(library.error());
  importInto(library, hub, commands);
}

void ServicePluginTest::closePlugins() {
  if (pluginsClosed_) {
    return;
  }
  pluginsClosed_ = true;
  for (auto library = plugins_.rbegin(); library != plugins_.rend(); ++library) {
    closeLibraryOf(*library);
  }
}

}  // namespace tavrel::test
