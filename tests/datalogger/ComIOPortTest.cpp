#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "SocatPair.h"
#include "datalogger/ComIOPort.h"
#include "settings/CoreSettings.h"
#include "tavrel/Registry.h"
#include "tavrel/Text.h"

namespace tavrel {
namespace {

using test::PeerEnd;
using test::SocatPair;

// As much as the pattern test can take in: five reads of 100 bytes. It is all waiting at the
// port's end before the port looks, so nothing backs up in the lines.
std::string repeated(const std::string& piece) {
  std::string text;
  while (text.size() < 500) {
    text += piece;
  }
  return text.substr(0, 500);
}
const std::string kLoggerData = repeated("\xC1\x41");

ComIOPortSources directSources(const std::string& device, datalogger::MillisecondClock clock) {
  return ComIOPortSources{fromUtf8(device), nullptr, std::move(clock)};
}

// Takes bytes through available and read until the text ends with marker (10 s limit).
std::string readUntil(IOPort& port, const std::string& marker) {
  std::string text;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!text.ends_with(marker) && std::chrono::steady_clock::now() < deadline) {
    std::size_t waiting = port.available();
    std::string chunk(std::max<std::size_t>(waiting, 1), '\0');
    chunk.resize(port.read(reinterpret_cast<std::uint8_t*>(chunk.data()), chunk.size()));
    text += chunk;
  }
  return text;
}

class ComIOPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pair.started());
    ASSERT_TRUE(peer.isOpen());
  }
  SocatPair pair;
  PeerEnd peer{pair.second};
};

TEST_F(ComIOPortTest, LoggerDataOpensThePortAndBytesFlowBothWays) {
  ComIOPort port(directSources(pair.first, datalogger::steadyMilliseconds()));
  ASSERT_TRUE(peer.writeAll(kLoggerData));
  ASSERT_TRUE(test::waitForInput(pair.first, kLoggerData.size()));
  ASSERT_TRUE(port.reopen());
  EXPECT_TRUE(port.isOpen());
  EXPECT_EQ(toUtf8(port.devicePath()), pair.first);

  const std::uint8_t hello[] = {'h', 'e', 'l', 'l', 'o'};
  EXPECT_EQ(port.write(hello, sizeof hello), sizeof hello);
  EXPECT_EQ(peer.readExactly(5), "hello");
  ASSERT_TRUE(
      peer.writeAll("\x05"
                    "END"));
  EXPECT_TRUE(readUntil(port,
                        "\x05"
                        "END")
                  .ends_with("\x05"
                             "END"));

  port.close();
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.write(hello, sizeof hello), 0u);
}

TEST_F(ComIOPortTest, DataWithoutThePatternLeavesThePortClosed) {
  ComIOPort port(directSources(pair.first, datalogger::steadyMilliseconds()));
  ASSERT_TRUE(peer.writeAll(repeated("plain text without the top bit ")));
  ASSERT_TRUE(test::waitForInput(pair.first, 500));
  EXPECT_FALSE(port.reopen());
  EXPECT_FALSE(port.isOpen());
  std::uint8_t byte = 0;
  EXPECT_EQ(port.read(&byte, 1), 0u);
  EXPECT_EQ(port.available(), 0u);
}

TEST_F(ComIOPortTest, SilenceClosesThePortOnlyAfterThreeSeconds) {
  std::atomic<std::int64_t> now{0};
  ComIOPort port(directSources(pair.first, [&now] { return now.load(); }));
  ASSERT_TRUE(peer.writeAll(kLoggerData));
  ASSERT_TRUE(test::waitForInput(pair.first, kLoggerData.size()));
  ASSERT_TRUE(port.reopen());
  // With the clock standing still, take in what the lines still hold until they are quiet.
  std::uint8_t sink[ComIOPort::kRingSlots];
  for (int poll = 0, quiet = 0; poll < 2000 && quiet < 10; ++poll) {
    std::size_t waiting = port.available();
    quiet = waiting == 0 ? quiet + 1 : 0;
    port.read(sink, waiting);
  }
  EXPECT_TRUE(port.isOpen()) << "empty polls alone do not close it";
  // A second of silence a poll: closed once more than five empty polls follow the data.
  for (int poll = 0; poll < 2000 && port.isOpen(); ++poll) {
    now += 1000;
    port.read(sink, port.available());
  }
  EXPECT_FALSE(port.isOpen());
}

TEST_F(ComIOPortTest, SettingNamesTheDeviceDirectly) {
  char pattern[] = "/tmp/tavrel-datalogger-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  std::string folder = pattern;
  {
    CRegistry settings(fromUtf8(folder + "/user.settings"), u"");
    ASSERT_TRUE(settings.writeText(u"", u"DatavanePort", fromUtf8(pair.first)))
        << toUtf8(settings.lastError());
    core::bindCoreSettings(&settings, u"");
    EXPECT_EQ(toUtf8(dataloggerSourcesFromSettings().directDevice), pair.first);
    ASSERT_TRUE(peer.writeAll(kLoggerData));
    ASSERT_TRUE(test::waitForInput(pair.first, kLoggerData.size()));
    std::unique_ptr<IOPort> port = createDataloggerPort();
    EXPECT_TRUE(port->isOpen());
    core::bindCoreSettings(nullptr, u"");
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tavrel
