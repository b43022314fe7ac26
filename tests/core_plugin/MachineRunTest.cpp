// The running machine through the interface record: keys reach the firmware, the processor
// leaves its sleep through "shutdnoff", and timer 2 counts in real time.
#include <bit>

#include "CoreFixture.h"
#include "KeyScript.h"

namespace tavrel::test {
namespace {

using MachineRun = CoreFixture;

constexpr int kLineBytes = 20;
constexpr int kEntryFirstLine = 49;  // text row 7: the entry line
constexpr int kEntryLines = 7;

int entryPixels(const std::vector<std::uint8_t>& image) {
  int count = 0;
  for (int line = kEntryFirstLine; line < kEntryFirstLine + kEntryLines; ++line) {
    for (int byte = 0; byte < 17; ++byte) {
      const std::uint8_t pixels = image[kLineBytes * line + byte] & (byte == 16 ? 0x07 : 0xFF);
      count += std::popcount(pixels);
    }
  }
  return count;
}

std::int32_t keyPosition(const std::string& name) {
  const char* source = std::getenv("TAVREL_SOURCE_DIR");
  std::string error;
  const auto keys = vendelrun::readKeySet(
      std::filesystem::path(source != nullptr ? source : ".") / "data" / "emu_keys.xml", error);
  const auto key = keys.find(name);
  return key != keys.end() ? key->second : -1;
}

TEST_F(MachineRun, KeyPostedThroughTheRecordReachesTheFirmware) {
  importCore();
  boot();
  // Idle once: the first screen is complete.
  ASSERT_TRUE(watch.waitUntil([&] { return session.shutdnoffCount() >= 1; }));
  const int before = entryPixels(display());
  const std::int32_t one = keyPosition("KEY_1");
  ASSERT_GT(one, 0);
  nexo::_NEXOInterface& r = *session.record();
  nexo::tagMessage down{nexo::kKeyDownMessage, one, nullptr};
  nexo::tagMessage up{nexo::kKeyUpMessage, one, nullptr};
  EXPECT_EQ(r.postMessage(nullptr, &down), 0);
  EXPECT_EQ(r.postMessage(nullptr, &up), 0);
  EXPECT_TRUE(watch.waitUntil([&] { return entryPixels(display()) > before; }))
      << "the entry line did not show the digit";
}

TEST_F(MachineRun, LeavingShutdnRunsShutdnoff) {
  importCore();
  boot();
  // The demo firmware sleeps and is woken by timer 2 every second.
  EXPECT_TRUE(watch.waitUntil([&] { return session.shutdnoffCount() >= 2; }));
}

TEST_F(MachineRun, Timer2CountsAbout8192ASecond) {
  importCore();
  nexo::_NEXOInterface& r = *session.record();
  r.setTimerValue(8192, 0xFFFFFFFF);
  r.startTimer(8192);
  const auto start = std::chrono::steady_clock::now();
  const std::uint32_t first = r.getTimerValue(8192);
  // A measurement of elapsed time, not a wait for another thread.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const std::uint32_t second = r.getTimerValue(8192);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double rate = (first - second) / seconds;
  EXPECT_GT(rate, 8192 * 0.85);
  EXPECT_LT(rate, 8192 * 1.15);
  r.stopTimer(8192);
  const std::uint32_t kept = r.getTimerValue(8192);
  EXPECT_EQ(r.getTimerValue(8192), kept);  // stopped: the value stays
}

}  // namespace
}  // namespace tavrel::test
