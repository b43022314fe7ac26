// Rebuilding the LCD image: the split of main, menu and header lines, bit offsets, line
// offsets and display areas at the end of their buffer.
#include "Display.h"
#include "peripheral_test_machine.h"

namespace tavrel::machine {
namespace {

class DisplayLcdTest : public PeripheralTest {
 protected:
  static constexpr uint32_t kMain = 0x90000;
  static constexpr uint32_t kMenu = 0xA0000;

  // Fills `lines` source lines of `stride` bytes from `address`; byte k of line i is f(i, k).
  template <typename F>
  void fillLines(uint32_t address, int lines, int stride, F f) {
    for (int i = 0; i < lines; ++i) {
      for (int k = 0; k < stride; ++k) {
        pokeByte(address + 2 * (i * stride + k), static_cast<uint8_t>(f(i, k)));
      }
    }
  }
  const uint8_t* line(int l) const { return m.lcd.bytes.data() + kLcdLineBytes * l; }
};

TEST_F(DisplayLcdTest, LineCount55GivesFiftySixMainAndEightMenuLines) {
  m.vm.displayStart = kMain;
  m.vm.menuStart = kMenu;
  m.vm.lineCount = 55;
  fillLines(kMain, 64, 17, [](int i, int) { return i + 1; });
  fillLines(kMenu, 64, 17, [](int i, int) { return 0x80 + i; });
  const uint64_t before = host.displayChanges;
  refreshLcd(m);
  for (int l = 0; l < 56; ++l)
    EXPECT_EQ(line(l)[0], l + 1) << "main line " << l;
  for (int l = 56; l < 64; ++l)
    EXPECT_EQ(line(l)[0], 0x80 + l - 56) << "menu line " << l;
  EXPECT_EQ(host.displayChanges, before + 1);
}

TEST_F(DisplayLcdTest, LineCountZeroMeansNoMenuLines) {
  m.vm.displayStart = kMain;
  m.vm.menuStart = kMenu;
  m.vm.lineCount = 0;
  fillLines(kMain, 64, 17, [](int i, int) { return i + 1; });
  refreshLcd(m);
  EXPECT_EQ(line(63)[0], 64);
}

TEST_F(DisplayLcdTest, HeaderLinesLeaveTheTopToDisp0) {
  m.vm.displayStart = kMain;
  m.vm.lineCount = 63;
  m.vm.headerLines = 10;
  fillLines(kMain, 64, 17, [](int i, int) { return i + 1; });
  m.lcd.bytes.fill(0xEE);
  refreshLcd(m);
  EXPECT_EQ(line(9)[0], 0xEE);
  EXPECT_EQ(line(10)[0], 1);
  EXPECT_EQ(line(63)[0], 54);
}

TEST_F(DisplayLcdTest, SixtyFourHeaderLinesDrawNothingFromMemory) {
  m.vm.displayStart = kMain;
  m.vm.menuStart = kMenu;
  m.vm.lineCount = 55;
  m.vm.headerLines = 64;
  fillLines(kMain, 64, 17, [](int, int) { return 0x11; });
  fillLines(kMenu, 8, 17, [](int, int) { return 0x22; });
  m.lcd.bytes.fill(0x5A);
  refreshLcd(m);
  for (uint8_t byte : m.lcd.bytes)
    ASSERT_EQ(byte, 0x5A);
}

TEST_F(DisplayLcdTest, BitOffsetZeroCopiesPixelsAndKeepsTheAnnunciatorBit) {
  m.vm.displayStart = kMain;
  m.vm.lineCount = 63;
  fillLines(kMain, 64, 17, [](int i, int k) { return k == 16 ? 0xFF : (i * 16 + k) & 0xFF; });
  m.lcd.bytes[16] = kAnnunciatorBit;  // line 0
  refreshLcd(m);
  for (int k = 0; k < 16; ++k)
    EXPECT_EQ(line(3)[k], (3 * 16 + k) & 0xFF);
  EXPECT_EQ(line(0)[16], 0x07 | kAnnunciatorBit);
  EXPECT_EQ(line(1)[16], 0x07);
  EXPECT_EQ(line(1)[17], 0);  // the padding is never written
}

TEST_F(DisplayLcdTest, BitOffsetFourShiftsByFourPixelsAndReadsOneByteMorePerLine) {
  m.vm.displayStart = kMain;
  m.vm.lineCount = 63;
  m.vm.bitOffset = 4;
  m.vm.lineOffset = 4;  // two bytes skipped after each line
  const int stride = 18 + 2;
  fillLines(kMain, 64, stride, [](int i, int k) { return (i * 7 + k * 13) & 0xFF; });
  refreshLcd(m);
  for (int l : {0, 1, 40}) {
    auto src = [&](int k) { return (l * 7 + k * 13) & 0xFF; };
    for (int k = 0; k < 16; ++k) {
      EXPECT_EQ(line(l)[k], ((src(k) >> 4) | (src(k + 1) << 4)) & 0xFF) << l << ":" << k;
    }
    EXPECT_EQ(line(l)[16] & 7, ((src(16) >> 4) | (src(17) << 4)) & 7);
  }
}

TEST_F(DisplayLcdTest, SmallBitOffsetTakesTheLastPixelsFromByteSixteenOnly) {
  m.vm.displayStart = kMain;
  m.vm.lineCount = 63;
  m.vm.bitOffset = 2;
  fillLines(kMain, 64, 17, [](int, int k) { return k == 16 ? 0x14 : 0; });
  refreshLcd(m);
  EXPECT_EQ(line(0)[16] & 7, 0x05);
  EXPECT_EQ(line(0)[15], 0x00);  // byte 16's bit 2 moves into pixel 127 of byte 15
}

TEST_F(DisplayLcdTest, AreaRunningPastItsBufferShowsBlankLines) {
  // 128 bytes before the end of RAM hold seven whole lines of 17 bytes.
  m.vm.displayStart = 0xFFF00;
  m.vm.lineCount = 63;
  fillLines(0xFFF00, 7, 17, [](int i, int) { return 0x30 + i; });
  m.lcd.bytes.fill(0xFF);
  refreshLcd(m);
  for (int l = 0; l < 7; ++l)
    EXPECT_EQ(line(l)[0], 0x30 + l);
  for (int l = 7; l < 64; ++l) {
    for (int k = 0; k < 16; ++k)
      ASSERT_EQ(line(l)[k], 0) << "line " << l;
    EXPECT_EQ(line(l)[16], 0xF8);  // pixels cleared, annunciator and padding bits kept
  }
}

TEST_F(DisplayLcdTest, SourceRunsOnInItsBufferAcrossPageBoundaries) {
  // The lines start in page 80 and run into page 81. With disp0 mapped over page 81 the
  // picture must still come from RAM: the run-on takes no new page-table lookup.
  m.vm.displayStart = 0x80FF0;
  m.vm.lineCount = 63;
  fillLines(0x80FF0, 3, 17, [](int i, int) { return 0x40 + i; });
  m.vm.C = reg(0x81000);
  callNative(m, 0x30 /* map disp0 */, 0);
  ASSERT_EQ(peek(0x81000, 2), 0u);  // reads of page 81 now see disp0
  refreshLcd(m);
  EXPECT_EQ(line(0)[0], 0x40);
  EXPECT_EQ(line(0)[12], 0x40);
  EXPECT_EQ(line(2)[5], 0x42);
}

TEST_F(DisplayLcdTest, CopyHeaderTakesLinesFromDisp0AtTheHeaderOffset) {
  auto* disp0 = reinterpret_cast<uint8_t*>(m.disp0);
  m.vm.headerLines = 3;
  m.vm.headerOffset = 100;
  for (int i = 0; i < 3 * 17; ++i)
    disp0[100 + i] = static_cast<uint8_t>(0x60 + i / 17);
  m.lcd.bytes[kLcdLineBytes * 3] = 0x99;
  const uint64_t before = host.displayChanges;
  copyHeader(m);
  EXPECT_EQ(line(0)[0], 0x60);
  EXPECT_EQ(line(2)[15], 0x62);
  EXPECT_EQ(line(2)[16], 0x62 & 7);
  EXPECT_EQ(line(3)[0], 0x99);             // below the header
  EXPECT_EQ(host.displayChanges, before);  // the host is not told
}

}  // namespace
}  // namespace tavrel::machine
