// The bridge inside the core: started by the boot, driven by "stop_serial" and
// "restart_serial", closed when the machine stops.
#include "SerialTestSupport.h"
#include "emulation/EmulationControl.h"
#include "plugin/CoreCommands.h"
#include "serial/SerialService.h"
#include "tavrel/command/PluginEntry.h"

// The core's entry points, linked in from the services library.
TAVREL_PLUGIN_EXPORT void import(tavrel::excpt::CExceptionHub* hub,
                                 tavrel::CommandInterface* commands);
TAVREL_PLUGIN_EXPORT int closeLibrary();

namespace tavrel::test {
namespace {

std::u16string demoRom() {
  const char* folder = std::getenv("TAVREL_BUILD_DIR");
  return fromUtf8(std::string(folder != nullptr ? folder : ".") + "/data/ROM/demo.rom");
}

class CoreSerial : public ConnectTest {
 protected:
  void SetUp() override {
    ConnectTest::SetUp();
    if (HasFatalFailure())
      return;
    ASSERT_TRUE(pair.started());
    // Whichever port the firmware chooses leads to the same line.
    for (const char16_t* name : {u"RS232", u"USB", u"IrDA"})
      setConnect(name, fromUtf8(pair.first));
    import(&hub, &commands);
    imported = true;
    core::bootNexoRom(demoRom(), u"Demo");
  }
  void TearDown() override {
    if (imported)
      closeLibrary();
    ConnectTest::TearDown();
  }
  void execute(const std::u16string& line) { commands.getDispatcher()->executeLine(line, 0); }

  SocatPair pair;
  bool imported = false;
};

TEST_F(CoreSerial, BootStartsTheBridgeAndTheCommandsDriveIt) {
  std::shared_ptr<core::serial::SerialBridge> bridge = core::serial::serialBridge();
  ASSERT_NE(bridge, nullptr);
  EXPECT_NE(bridge->selected(), core::serial::kNoPort);
  EXPECT_TRUE(bridge->tasksRunning());

  execute(u"stop_serial");
  EXPECT_EQ(bridge->selected(), core::serial::kNoPort);
  EXPECT_FALSE(bridge->tasksRunning());

  execute(u"restart_serial");
  EXPECT_NE(bridge->selected(), core::serial::kNoPort);
  EXPECT_TRUE(bridge->tasksRunning());

  closeLibrary();
  imported = false;
  EXPECT_EQ(core::serial::serialBridge(), nullptr);
  EXPECT_FALSE(bridge->tasksRunning());
  EXPECT_EQ(liveTasks(u"serialInTask"), 0);
  EXPECT_EQ(liveTasks(u"serialOutTask"), 0);
}

}  // namespace
}  // namespace tavrel::test
