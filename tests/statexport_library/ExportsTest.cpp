// The exported functions, called through the built library as a host program calls them.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTableWidget>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "FolioBuilder.h"
#include "GuiTestSupport.h"
#include "LinkTestSupport.h"
#include "SampleFolios.h"
#include "TestSupport.h"
#include "tavrel/Registry.h"
#include "tavrel/Text.h"
#include "tavrel/statexport/ZRStatFolioExport.h"
#include "tavrel/statexport/link/Protocol.h"

namespace tavrel::statexport::test {
namespace {

using namespace testing;

const QString kTable = QStringLiteral("Export Statistics Folio");

std::string libraryPath() {
  const char* build = std::getenv("TAVREL_BUILD_DIR");
  return (std::filesystem::path(build ? build : TAVREL_BUILD_DIR_FALLBACK) / "components" /
          "ZRStatFolioExport.so")
      .string();
}

class ExportsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ensureTestApplication();
    library_ = dlopen(libraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
  }

  void SetUp() override { ASSERT_NE(library_, nullptr) << dlerror(); }

  template <typename Fn>
  Fn find(const char* name) {
    return reinterpret_cast<Fn>(dlsym(library_, name));
  }

  // Saves the shown table through its menu into path, then closes it.
  void saveAndCloseTable(const std::string& path) {
    scripted_.ui().queuePath(fromUtf8(path));
    whenModalShown(kTable, [](QWidget* table) {
      triggerAction(table, "Save as CSV...");
      triggerAction(table, "Close");
    });
  }

  // Points the settings store at this test's folder and names the calculator line there.
  void setCalculatorLineSetting(const std::string& line) {
    ::setenv("XDG_CONFIG_HOME", folder_.path("config").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", folder_.path("machine").c_str(), 1);
    CRegistry settings;
    ASSERT_TRUE(settings.createKey(u"", u"StatFolio"));
    ASSERT_TRUE(settings.writeText(u"StatFolio", u"StatFolioLine", fromUtf8(line)));
  }

  std::vector<QWidget*> visibleTables() const {
    std::vector<QWidget*> tables;
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->windowTitle() == kTable && window->isVisible()) {
        tables.push_back(window);
      }
    }
    return tables;
  }

  static void* library_;
  ScopedScriptedUi scripted_;
  TempDir folder_;
};

void* ExportsTest::library_ = nullptr;

TEST_F(ExportsTest, AllSevenNamesResolve) {
  for (const char* name : {"ExportStatFolioW", "ExportStatFolioA", "ExportStatFolioModelessW",
                           "ExportStatFolioModelessA", "ExportStatFolioUSB", "ExportStatFolioDataW",
                           "ExportStatFolioDataA"}) {
    EXPECT_NE(dlsym(library_, name), nullptr) << name;
  }
}

TEST_F(ExportsTest, DataWithoutNameIsTitledUntitled) {
  const auto exportData = find<ExportStatFolioDataWFn>("ExportStatFolioDataW");
  const std::vector<std::uint8_t> bytes = packNibbles(mixedColumnsFolio());
  const std::string path = folder_.path("out.csv").string();
  saveAndCloseTable(path);
  EXPECT_EQ(exportData(bytes.data(), static_cast<std::int32_t>(bytes.size()), nullptr), 1);
  EXPECT_EQ(readText(path), golden("mixed_columns.csv"));
  const std::vector<gui::HostUiCall> calls = scripted_.ui().calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].dialog.initialName, u"Untitled");
}

TEST_F(ExportsTest, FolioVariableNameReplacesTheGivenName) {
  const auto exportData = find<ExportStatFolioDataAFn>("ExportStatFolioDataA");
  const Nibbles folios = directory({{"'Gamma", singleColumnFolio()}});
  const std::vector<std::uint8_t> bytes =
      packNibbles(directory({{"'foliodir", folios}, {"X", bint(1)}}));
  const std::string path = folder_.path("gamma.csv").string();
  saveAndCloseTable(path);
  EXPECT_EQ(exportData(bytes.data(), static_cast<std::int32_t>(bytes.size()), "Given"), 1);
  EXPECT_EQ(readText(path), golden("single_column.csv"));
  EXPECT_EQ(scripted_.ui().calls().at(0).dialog.initialName, u"Gamma");
}

TEST_F(ExportsTest, MissingOrEmptyInputReturnsAtOnce) {
  const std::uint8_t byte = 0;
  EXPECT_EQ(find<ExportStatFolioDataWFn>("ExportStatFolioDataW")(nullptr, 10, u"x"), 0);
  EXPECT_EQ(find<ExportStatFolioDataWFn>("ExportStatFolioDataW")(&byte, 0, u"x"), 0);
  EXPECT_EQ(find<ExportStatFolioDataAFn>("ExportStatFolioDataA")(&byte, -5, "x"), 0);
  EXPECT_EQ(find<ExportStatFolioWFn>("ExportStatFolioW")(u""), 0);
  EXPECT_EQ(find<ExportStatFolioAFn>("ExportStatFolioA")(nullptr), 0);
  EXPECT_EQ(find<ExportStatFolioAFn>("ExportStatFolioModelessA")(""), 0);
  EXPECT_TRUE(scripted_.messages().empty());
}

TEST_F(ExportsTest, ModalFileExportShowsTheTable) {
  const std::string image = folder_.path("folio.bin").string();
  writeBytes(image, folioImage("Stats", singleColumnFolio()));
  const std::string path = folder_.path("file.csv").string();
  saveAndCloseTable(path);
  EXPECT_EQ(find<ExportStatFolioAFn>("ExportStatFolioA")(image.c_str()), 1);
  EXPECT_EQ(readText(path), golden("single_column.csv"));
  EXPECT_EQ(scripted_.ui().calls().at(0).dialog.initialName, u"Stats");

  saveAndCloseTable(path);
  const std::u16string wide = fromUtf8(image);
  EXPECT_EQ(find<ExportStatFolioWFn>("ExportStatFolioW")(wide.c_str()), 1);
}

TEST_F(ExportsTest, UnrepresentablePathFailsToOpen) {
  // In the C locale the character set holds only ASCII: the name turns into one with '?' in
  // it, which does not exist.
  const std::string locale = std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, "C");
  const std::string image = folder_.path("caf\xC3\xA9.bin").string();
  writeBytes(image, folioImage("Stats", singleColumnFolio()));
  const std::u16string wide = fromUtf8(image);
  EXPECT_EQ(find<ExportStatFolioWFn>("ExportStatFolioW")(wide.c_str()), 0);
  std::setlocale(LC_ALL, locale.c_str());
  ASSERT_EQ(scripted_.messages().size(), 1u);
  EXPECT_EQ(scripted_.messages()[0], u"Could not open file.");
  EXPECT_EQ(scripted_.ui().calls()[0].message.title, u"Error");
}

TEST_F(ExportsTest, ModelessTablesComeFromThePool) {
  const auto exportModeless = find<ExportStatFolioAFn>("ExportStatFolioModelessA");
  const std::string image = folder_.path("folio.bin").string();
  writeBytes(image, folioImage("Pool", singleColumnFolio()));
  ASSERT_TRUE(visibleTables().empty());

  ASSERT_EQ(exportModeless(image.c_str()), 1);
  ASSERT_EQ(visibleTables().size(), 1u);
  QWidget* first = visibleTables()[0];
  ASSERT_EQ(exportModeless(image.c_str()), 1);
  ASSERT_EQ(visibleTables().size(), 2u);

  first->close();
  ASSERT_EQ(visibleTables().size(), 1u);
  ASSERT_EQ(exportModeless(image.c_str()), 1);
  const std::vector<QWidget*> open = visibleTables();
  ASSERT_EQ(open.size(), 2u);
  EXPECT_TRUE(first->isVisible());  // reused, not a third window
  EXPECT_EQ(first->findChild<QTableWidget*>()->item(1, 0)->text(), "2.5");

  // A failed load leaves the picked dialog hidden in the pool.
  first->close();
  EXPECT_EQ(exportModeless(folder_.path("missing.bin").string().c_str()), 0);
  EXPECT_FALSE(first->isVisible());
  for (QWidget* table : visibleTables()) {
    table->close();
  }
}

TEST_F(ExportsTest, UsbExportReceivesOverTheLineAndShowsTheTable) {
  link::test::PtyPair pair;
  unsetenv("TAVREL_STATFOLIO_LINE");
  setCalculatorLineSetting(pair.nearPath());
  std::vector<std::uint8_t> image = folioImage("Wire", singleColumnFolio());
  ASSERT_LE(image.size(), 1024u);
  image.resize(1024, 0x1A);
  // The calculator: one 1 KiB block after the start request, then the end.
  std::thread calculator([&pair, &image] {
    link::test::FarEnd far(pair.farPath());
    const auto acknowledged = [&far] {
      for (std::optional<std::uint8_t> byte = far.receive(); byte; byte = far.receive()) {
        if (*byte == link::kAck) {
          return true;
        }
      }
      return false;
    };
    if (far.receive() != link::kStartCrc) {
      return;
    }
    far.send(link::test::block(1, image, true));
    if (acknowledged()) {
      far.send({link::kEndOfTransmission});
      acknowledged();
    }
  });

  whenModalShown("Receive Statistics Folio", [](QWidget* receive) {
    const auto next = [receive] {
      for (QPushButton* button : receive->findChildren<QPushButton*>()) {
        if (button->text() == "Next") {
          return button;
        }
      }
      return static_cast<QPushButton*>(nullptr);
    };
    whenTrue([next] { return next() && next()->isVisible(); }, [next] { next()->click(); });
  });
  const std::string path = folder_.path("wire.csv").string();
  saveAndCloseTable(path);
  EXPECT_EQ(find<ExportStatFolioUSBFn>("ExportStatFolioUSB")(), 1);
  calculator.join();
  EXPECT_EQ(readText(path), golden("single_column.csv"));
  EXPECT_EQ(scripted_.ui().calls().at(0).dialog.initialName, u"Wire");
}

TEST_F(ExportsTest, UsbExportWithoutALineSaysSo) {
  unsetenv("TAVREL_STATFOLIO_LINE");
  setCalculatorLineSetting("");
  EXPECT_EQ(find<ExportStatFolioUSBFn>("ExportStatFolioUSB")(), 0);
  ASSERT_EQ(scripted_.messages().size(), 1u);
  EXPECT_NE(scripted_.messages()[0].find(u"StatFolioLine"), std::u16string::npos);
}

TEST_F(ExportsTest, UsbExportLineFromTheEnvironmentOverridesTheSetting) {
  setCalculatorLineSetting("/dev/null/not-a-line");
  setenv("TAVREL_STATFOLIO_LINE", "usb:zz:1", 1);
  EXPECT_EQ(find<ExportStatFolioUSBFn>("ExportStatFolioUSB")(), 0);
  unsetenv("TAVREL_STATFOLIO_LINE");
  ASSERT_EQ(scripted_.messages().size(), 1u);
  EXPECT_NE(scripted_.messages()[0].find(u"usb:zz:1"), std::u16string::npos);
}

}  // namespace
}  // namespace tavrel::statexport::test
