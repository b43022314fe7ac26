#include "ConnectFixture.h"

#include <cstdlib>
#include <filesystem>

#include "tavrel/Text.h"

namespace tavrel::test {

void ConnectTest::SetUp() {
  char pattern[] = "/tmp/tavrel-connect-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  folder = pattern;
  ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  ::setenv("XDG_CONFIG_DIRS", (folder + "/machine").c_str(), 1);
  settings = std::make_unique<CRegistry>();
  ASSERT_TRUE(settings->createKey(u"", u"Connect")) << toUtf8(settings->lastError());
  loadPlugin(command_, "command.so");
  ASSERT_FALSE(commands.getRegistry.empty());
  loadPlugin(connect_, "connect.so");
}

void ConnectTest::TearDown() {
  closeConnect();
  if (auto* close = command_.resolveFunction<CloseLibraryEntry*>(kCloseLibraryExport)) {
    close();
  }
  connect_.unload();
  command_.unload();
  settings.reset();
  std::filesystem::remove_all(folder);
}

void ConnectTest::loadPlugin(CDynamicLibrary& library, const char* file) {
  const char* buildDir = std::getenv("TAVREL_BUILD_DIR");
  ASSERT_NE(buildDir, nullptr) << "TAVREL_BUILD_DIR is not set";
  ASSERT_TRUE(library.load(fromUtf8(std::string(buildDir) + "/components/" + file)))
      << toUtf8(library.error());
  auto* entry = library.resolveFunction<ImportEntry*>(kImportExport);
  ASSERT_NE(entry, nullptr);
  entry(&hub, &commands);
}

void ConnectTest::setConnect(const std::u16string& name, const std::u16string& value) {
  ASSERT_TRUE(settings->writeText(u"Connect", name, value)) << toUtf8(settings->lastError());
}

IVirtualPort* ConnectTest::portFor(const std::u16string& name) {
  return static_cast<IVirtualPort*>(
      commands.getDispatcher()->executeLine(u"getIOPortForVPort " + name, 0));
}

void ConnectTest::closeConnect() {
  if (!connectClosed_) {
    if (auto* close = connect_.resolveFunction<CloseLibraryEntry*>(kCloseLibraryExport)) {
      close();
    }
    connectClosed_ = true;
  }
}

std::string readFromPort(IVirtualPort& port, std::size_t count) {
  std::string text(count, '\0');
  std::size_t have = 0;
  while (have < count) {
    std::size_t done = 0;
    auto* buffer = reinterpret_cast<std::uint8_t*>(text.data());
    if (!port.read(buffer, have, count - have, done)) {
      break;
    }
    have += done;
  }
  text.resize(have);
  return text;
}

bool writeToPort(IVirtualPort& port, const std::string& bytes) {
  std::size_t done = 0;
  return port.write(reinterpret_cast<const std::uint8_t*>(bytes.data()), 0, bytes.size(), done) &&
         done == bytes.size();
}

}  // namespace tavrel::test
