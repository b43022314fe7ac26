// The services on a machine with no logger attached: refusals, the screen, the keys and the
// readings stored in RAM.
#include <gtest/gtest.h>

#include "DatavaneTestMachine.h"
#include "Display.h"
#include "Keyboard.h"
#include "datalogger/ComIOPort.h"
#include "datavane/DatavaneApp.h"
#include "datavane/FirmwareImage.h"
#include "datavane/Screen.h"

namespace tavrel::core::datavane {
namespace {

using test::DatavaneMachine;
using test::FakeClock;

std::unique_ptr<IOPort> absentLogger() {
  auto port = std::make_unique<ComIOPort>(
      ComIOPortSources{u"/nonexistent/datavane", nullptr, datalogger::steadyMilliseconds()});
  port->reopen();
  return port;
}

class DatavaneServiceTest : public ::testing::Test {
 protected:
  DatavaneServiceTest() : app(&absentLogger, clock.timing(), defaultFirmwarePath()) {}

  void useTwoChannels() { machine.setChannels(2, {{{1, 19}, {1, 64}, {0, 255}, {0, 255}}}); }

  // The LCD lines y..y+4 hold exactly what the font draws for text at (0, y).
  bool lcdShows(int y, std::string_view text) {
    Screen expected;
    expected.text(0, y, text);
    std::array<std::uint8_t, machine::kLcdBytes> lcd{};
    machine::copyLcdImage(machine.m, lcd);
    const int width = static_cast<int>(text.size()) * 4;
    for (int line = y; line < y + 5; ++line) {
      for (int x = 0; x < width; ++x) {
        const bool lit = (lcd[line * machine::kLcdLineBytes + x / 8] >> (x % 8)) & 1;
        if (lit != expected.pixel(x, line)) {
          return false;
        }
      }
    }
    return true;
  }

  FakeClock clock;
  DatavaneMachine machine;
  DatavaneApp app;
};

TEST_F(DatavaneServiceTest, ErrorSixRefusesAndChangesNothing) {
  useTwoChannels();
  machine.call(app, 0, DatavaneMachine::kStore >> 1);
  ASSERT_EQ(machine.returnCode(), 0u);
  EXPECT_EQ(machine.m.vm.carry, 0u);
  const Context before = machine.context();

  machine.call(app, 100);
  EXPECT_EQ(machine.returnCode(), 6u);
  EXPECT_EQ(machine.m.vm.carry, 1u);
  machine.call(app, 0xFFFFF);
  EXPECT_EQ(machine.returnCode(), 6u);

  machine.setChannels(0, {{{1, 19}, {1, 64}, {0, 255}, {0, 255}}});
  clock.now += 1000;  // a service that ran would move the time base
  for (std::uint32_t service : {2u, 3u, 4u, 5u, 6u, 99u}) {
    machine.call(app, service);
    EXPECT_EQ(machine.returnCode(), 6u) << service;
  }
  const Context after = machine.context();
  EXPECT_EQ(after.timeBase, before.timeBase);
  EXPECT_EQ(after.flags, before.flags);
  // Service 0 needs no channels.
  machine.call(app, 0);
  EXPECT_EQ(machine.returnCode(), 0u);
}

TEST_F(DatavaneServiceTest, ScreenWaitsForTheLoggerInDisplayMemory) {
  useTwoChannels();
  machine.call(app, 0, DatavaneMachine::kStore >> 1);
  machine.call(app, 6);
  EXPECT_TRUE(lcdShows(26, "Waiting for connection..."));
  EXPECT_TRUE(lcdShows(0, "Ch1:"));
  EXPECT_TRUE(lcdShows(52, "x:-"));
  // The picture went through display memory where the main picture starts.
  const std::uint32_t line26 = DatavaneMachine::kDisplay + 26 * 34;
  EXPECT_NE(machine::readNibbles(machine.m, line26, 8), 0u);
}

TEST_F(DatavaneServiceTest, KeysMoveByTheStepOfR4AndActOncePerPress) {
  useTwoChannels();
  machine.call(app, 0, DatavaneMachine::kStore >> 1);
  const Context start = machine.context();

  // A moving key repeats while it is down: released during the third repeat wait.
  int waits = 0;
  clock.beforeSleep = [&](std::uint32_t) {
    if (++waits == 3) {
      machine::keyUp(machine.m, 36);
    }
  };
  machine::keyDown(machine.m, 36);
  machine.call(app, 6, 0, 0x40);
  EXPECT_EQ(machine.context().cursorX, start.cursorX + 15);
  clock.beforeSleep = nullptr;

  // Other keys act once per press, however many times the service runs while held.
  machine::keyDown(machine.m, 10);
  machine.call(app, 6, 0, 0x80);
  machine.call(app, 6, 0, 0x80);
  EXPECT_EQ(machine.context().view[0], start.view[0] + 20);
  machine::keyUp(machine.m, 10);
  machine.call(app, 6);
  machine::keyDown(machine.m, 10);
  machine.call(app, 6);
  EXPECT_EQ(machine.context().view[0], start.view[0] + 21);
  machine::keyUp(machine.m, 10);

  // Key 16 with step 1 changes the other axis's value; with step 5 it pages the cursor.
  machine::keyDown(machine.m, 16);
  machine.call(app, 6);
  EXPECT_EQ(machine.context().view[2], start.view[2] + 1);
  machine::keyUp(machine.m, 16);
  machine.call(app, 6);
  machine::keyDown(machine.m, 16);
  machine.call(app, 6, 0, 0x40);
  EXPECT_EQ(machine.context().cursorX, start.cursorX + 15 + 32);
  machine::keyUp(machine.m, 16);

  // Key 49 changes the display mode only while an export runs; key 50 switches to differences.
  machine.call(app, 6);
  machine::keyDown(machine.m, 49);
  machine.call(app, 6);
  EXPECT_EQ(machine.context().displayMode, 0);
  machine::keyUp(machine.m, 49);
  machine::keyDown(machine.m, 50);
  machine.call(app, 6);
  machine::keyUp(machine.m, 50);
  EXPECT_TRUE(machine.context().flags & kFlagDelta);
  EXPECT_TRUE(lcdShows(52, "dx:"));
  EXPECT_TRUE(lcdShows(58, "dy:0"));
}

TEST_F(DatavaneServiceTest, PendingReadingIsStoredAsAPackedReal) {
  useTwoChannels();
  machine.call(app, 0, DatavaneMachine::kStore >> 1);
  ContextRecord record(machine.m, DatavaneMachine::kContext);
  Context c = record.load();
  EXPECT_EQ(c.startAddress, DatavaneMachine::kStore);
  record.appendSample(c, Sample{250, {0x8000 + 1234, 0x8000 - 5, 0, 0}});
  c.flags |= kFlagPending;
  record.store(c);

  machine.call(app, 3);
  // Channel 1 (sensor 19, class 2): 1234 steps of 0.01 = 12.34.
  EXPECT_EQ(machine::readNibbles(machine.m, DatavaneMachine::kStore, 8), 0x00000001u);
  EXPECT_EQ(machine::readNibbles(machine.m, DatavaneMachine::kStore + 8, 8), 0x01234000u);
  EXPECT_EQ(machine.context().storedCount, 1);
  EXPECT_FALSE(machine.context().flags & kFlagPending);
  EXPECT_TRUE(lcdShows(0, "Ch1:12.34"));
  // Without a new sample nothing more is stored.
  machine.call(app, 3);
  EXPECT_EQ(machine.context().storedCount, 1);

  // The export step stores one kept sample a call, then ends.
  machine.call(app, 2);
  EXPECT_EQ(machine.context().storedCount, 2);
  EXPECT_FALSE(machine.context().flags & kFlagExport);
}

}  // namespace
}  // namespace tavrel::core::datavane
