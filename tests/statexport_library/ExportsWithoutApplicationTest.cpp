// A host without a QApplication: the library makes one on the first call and keeps it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FolioBuilder.h"
#include "GuiTestSupport.h"
#include "SampleFolios.h"
#include "TestSupport.h"
#include "tavrel/Text.h"
#include "tavrel/statexport/ZRStatFolioExport.h"

namespace tavrel::statexport::test {
namespace {

TEST(ExportsWithoutApplicationTest, FirstCallMakesTheApplicationAndKeepsTheHostLocale) {
  const char* build = std::getenv("TAVREL_BUILD_DIR");
  const std::string path = (std::filesystem::path(build ? build : TAVREL_BUILD_DIR_FALLBACK) /
                            "components" / "ZRStatFolioExport.so")
                               .string();
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  const auto exportData =
      reinterpret_cast<ExportStatFolioDataWFn>(dlsym(library, "ExportStatFolioDataW"));
  ASSERT_NE(exportData, nullptr);
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  std::setlocale(LC_ALL, "C");

  ScopedScriptedUi scripted;
  // Not a folio: the box comes up with the library's own application in place.
  const std::vector<std::uint8_t> notFolio = testing::packNibbles(testing::real("1"));
  EXPECT_EQ(exportData(notFolio.data(), static_cast<std::int32_t>(notFolio.size()), u"x"), 0);
  ASSERT_EQ(scripted.messages().size(), 1u);
  ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr);
  EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");

  // Later calls run their table on that application.
  const std::vector<std::uint8_t> folio = testing::packNibbles(singleColumnFolio());
  TempDir folder;
  const std::string csv = folder.path("t.csv").string();
  scripted.ui().queuePath(fromUtf8(csv));
  whenModalShown("Export Statistics Folio", [](QWidget* table) {
    triggerAction(table, "Save as CSV...");
    table->close();
  });
  EXPECT_EQ(exportData(folio.data(), static_cast<std::int32_t>(folio.size()), nullptr), 1);
  EXPECT_EQ(readText(csv), golden("single_column.csv"));
}

}  // namespace
}  // namespace tavrel::statexport::test
