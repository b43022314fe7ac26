// The folio of the demo calculator handed to the real exporter (components/ZRStatFolioExport.so)
// on Qt's offscreen platform; its table dialog is closed as soon as it shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>

#include "DemoCalculator.h"
#include "settings/ExporterBinding.h"
#include "settings/FolioExport.h"
#include "tavrel/HostUi.h"
#include "tavrel/ScriptedHostUi.h"

namespace tavrel::core_state_test {
namespace {

std::filesystem::path buildFolder() {
  const char* folder = std::getenv("TAVREL_BUILD_DIR");
  return folder != nullptr ? folder : ".";
}

class RealExporterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(buildFolder() / "components" / "ZRStatFolioExport.so"))
      GTEST_SKIP() << "the exporter is not built in this folder";
    ui_.setEcho(false);
    previous_ = gui::setHostUi(&ui_);
  }
  void TearDown() override {
    if (previous_ != nullptr)
      gui::setHostUi(previous_);
  }

  gui::CScriptedHostUi ui_;
  gui::IHostUi* previous_ = nullptr;
};

TEST_F(RealExporterTest, FolioWithDataIsShownInTheTable) {
  int argc = 1;
  char name[] = "core_state_exporter_tests";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  bool dialogSeen = false;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      dialogSeen = true;
      modal->close();
    }
  });
  closer.start(20);

  firmware_test::DemoCalculator calc;
  calc.press(firmware_test::key::kF3);
  calc.type("1.5 2 3 ");
  const std::vector<std::uint8_t> image = core::statFolioImage(calc.machine());
  core::CExporterBinding exporter(buildFolder());
  const std::filesystem::path before = std::filesystem::current_path();
  EXPECT_TRUE(exporter.exportFolio(image.data(), image.size()));
  EXPECT_TRUE(dialogSeen);
  EXPECT_EQ(std::filesystem::current_path(), before);
  EXPECT_TRUE(ui_.calls().empty());
}

}  // namespace
}  // namespace tavrel::core_state_test
