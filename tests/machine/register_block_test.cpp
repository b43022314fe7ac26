// The chipset register block: stored registers, computed ones, once-per-access reads and the
// serial hooks of the host.
#include <gtest/gtest.h>

#include "Configuration.h"
#include "RegisterBlock.h"
#include "Timers.h"
#include "interpreter_test_machine.h"

namespace tavrel::machine {
namespace {

class SerialRecordingHost : public DefaultMachineHost {
 public:
  void serialSettingsChanged() override { ++settingsChanges; }
  uint32_t takeReceivedByte() override { return received.empty() ? 0 : take(); }
  void transmitByte(uint8_t byte) override { sent.push_back(byte); }
  uint32_t readReceiveStatus(uint32_t stored) override { return (stored & ~1u) | 1u; }

  uint32_t take() {
    const uint32_t b = received.front();
    received.erase(received.begin());
    return b;
  }
  int settingsChanges = 0;
  std::vector<uint32_t> received;
  std::vector<uint8_t> sent;
};

class RegisterBlock : public ::testing::Test {
 protected:
  static constexpr uint32_t kBase = 0x00100;

  RegisterBlock() : machine(createMachine("/nonexistent/rom", &host)), m(*machine) {
    m.vm.C = {kBase, 0};
    configure(m);
  }
  uint32_t read(uint32_t offset, uint32_t code) {
    Reg64 r{0, 0};
    readField(m, kBase + offset, r, code);
    return r.lo;
  }
  void write(uint32_t offset, uint32_t value, uint32_t code) {
    writeField(m, kBase + offset, Reg64{value, 0}, code);
  }

  SerialRecordingHost host;
  std::unique_ptr<Machine> machine;
  Machine& m;
};

TEST_F(RegisterBlock, ReadsAssembleNibblesFromTheRegisters) {
  m.vm.bitOffset = 5;
  m.vm.displayOn = 1;
  m.vm.contrast = 0x13;
  m.vm.displayTest = 1;
  EXPECT_EQ(read(0x00, kFieldCount1 + 3), 0x113Du);
  EXPECT_EQ(read(0x08, kFieldB), 0x10u);  // 08 reads 0, 09 reads 1
}

TEST_F(RegisterBlock, CrcReadsTheWrittenValueOnceThenFreshValues) {
  write(0x04, 0xBEEF, kFieldCount1 + 3);
  EXPECT_EQ(read(0x04, kFieldCount1 + 3), 0xBEEFu);
  const uint32_t first = read(0x04, kFieldCount1 + 3);
  const uint32_t second = read(0x04, kFieldCount1 + 3);
  EXPECT_NE(first, 0xBEEFu);
  EXPECT_NE(first, second);
}

TEST_F(RegisterBlock, DisplayGeometryIsStoredWithItsRules) {
  write(0x20, 0x12345, kFieldA);
  write(0x25, 0xFFF, kFieldX);
  write(0x28, 0x00, kFieldB);
  write(0x30, 0x8ABCF, kFieldA);
  EXPECT_EQ(m.vm.displayStart, 0x12344u);
  EXPECT_EQ(m.vm.lineOffset, 0xFFEu);
  EXPECT_EQ(m.vm.lineCount, 63u);
  EXPECT_EQ(m.vm.menuStart, 0x8ABCEu);
  EXPECT_EQ(read(0x20, kFieldA), 0x12344u);
  EXPECT_EQ(read(0x28, kFieldB), 0u);  // the line counter reads 0
  write(0x28, 0x37, kFieldB);
  EXPECT_EQ(m.vm.lineCount, 0x37u);
}

TEST_F(RegisterBlock, StoredValueAndNibbleThirtyFive) {
  write(0x2A, 0xCAFE, kFieldCount1 + 3);
  write(0x35, 0x9, kFieldP);
  EXPECT_EQ(m.vm.reg2A, 0x9CAFEu);
  EXPECT_EQ(read(0x2A, kFieldCount1 + 3), 0xCAFEu);
  EXPECT_EQ(read(0x35, kFieldP), 0u);
}

TEST_F(RegisterBlock, Port0PageShowsInNibbleOneF) {
  m.vm.C = {0x80000, 0};
  configure(m);
  configure(m);
  EXPECT_EQ(read(0x1F, kFieldP), 8u);
}

TEST_F(RegisterBlock, SerialRegistersReachTheHost) {
  write(0x10, 0x8, kFieldP);
  write(0x1A, 0x4, kFieldP);
  EXPECT_EQ(host.settingsChanges, 2);
  write(0x16, 0x5A, kFieldB);
  ASSERT_EQ(host.sent.size(), 1u);
  EXPECT_EQ(host.sent[0], 0x5A);
  host.received = {0xC3, 0x77};
  EXPECT_EQ(read(0x14, kFieldB), 0xC3u);  // one byte for both nibbles
  EXPECT_EQ(read(0x14, kFieldB), 0x77u);
  write(0x11, 0xF, kFieldP);  // bit 2 only
  EXPECT_EQ(m.vm.receiveControl, 4u);
  EXPECT_EQ(read(0x11, kFieldP), 5u);
  write(0x13, 0, kFieldP);
  EXPECT_EQ(m.vm.receiveControl, 0u);
  write(0x12, 0xF, kFieldP);
  EXPECT_EQ(m.vm.transmitControl, 0xCu);
}

TEST_F(RegisterBlock, TimerTwoPartialWriteMergesIntoTheCurrentValue) {
  write(0x38, 0x12345678, kFieldCount1 + 7);
  write(0x3C, 0xAB, kFieldB);
  EXPECT_EQ(readTimer2(m), 0x12AB5678u);
  write(0x2E, 0xF, kFieldP);
  EXPECT_EQ(m.vm.timer1Control, 0xEu);
}

TEST_F(RegisterBlock, AnnunciatorsGoThroughTheDisplay) {
  write(0x0B, 0x81, kFieldB);
  EXPECT_EQ(m.vm.annunciators, 0x81u);
  EXPECT_EQ(read(0x0B, kFieldB), 0x81u);
}

TEST_F(RegisterBlock, AccessesOnlyStartingInTheBlockGoThere) {
  // A read that starts below the block reads memory (ROM zeros), not nibble 09.
  Reg64 r{0, 0};
  readField(m, kBase - 1, r, kFieldCount1 + 15);
  EXPECT_EQ(r.lo, 0u);
}

}  // namespace
}  // namespace tavrel::machine
