#include "CommandPluginFixture.h"

#include <cstdlib>

#include "tavrel/Text.h"

namespace tavrel::test {

void CommandPluginTest::SetUp() {
  const char* buildDir = std::getenv("TAVREL_BUILD_DIR");
  ASSERT_NE(buildDir, nullptr) << "TAVREL_BUILD_DIR is not set";
  std::u16string path = fromUtf8(buildDir) + u"/components/command.so";
  ASSERT_TRUE(library.load(path)) << toUtf8(library.error());
  importEntry = library.resolveFunction<ImportEntry*>(kImportExport);
  closeEntry = library.resolveFunction<CloseLibraryEntry*>(kCloseLibraryExport);
  ASSERT_NE(importEntry, nullptr);
  ASSERT_NE(closeEntry, nullptr);
  importEntry(&hub, &commands);
  ASSERT_FALSE(commands.getDispatcher.empty());
}

void CommandPluginTest::TearDown() {
  closePlugin();
  library.unload();
}

void CommandPluginTest::closePlugin() {
  if (!closed_ && closeEntry != nullptr) {
    closeEntry();
    closed_ = true;
  }
}

std::string CommandPluginTest::lineErrors(const std::u16string& line, void** result) {
  ::testing::internal::CaptureStderr();
  void* value = dispatcher().executeLine(line, 1);
  if (result != nullptr) {
    *result = value;
  }
  return ::testing::internal::GetCapturedStderr();
}

}  // namespace tavrel::test
