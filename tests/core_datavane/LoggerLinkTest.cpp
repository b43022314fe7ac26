// The application against a simulated logger on a pseudo-terminal pair, reached through the
// "DatavanePort" setting: starting an acquisition, the keep-alive, firmware uploads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "DatavaneTestMachine.h"
#include "Keyboard.h"
#include "SimulatedLogger.h"
#include "SocatPair.h"
#include "datalogger/ComIOPort.h"
#include "datavane/FirmwareImage.h"
#include "datavane/FirmwareUpload.h"
#include "datavane/LinkFraming.h"
#include "settings/CoreSettings.h"
#include "tavrel/Registry.h"
#include "tavrel/Text.h"

namespace tavrel::core::datavane {
namespace {

using test::DatavaneMachine;
using test::FakeClock;
using test::SimulatedLogger;
using Bytes = std::vector<std::uint8_t>;

// Settings in a folder of their own naming the near end of the pair as the logger's port.
class DatavanePortSetting {
 public:
  explicit DatavanePortSetting(const std::string& device) {
    char pattern[] = "/tmp/tavrel-datavane-XXXXXX";
    if (::mkdtemp(pattern) != nullptr) {
      folder_ = pattern;
    }
    settings_ = std::make_unique<CRegistry>(fromUtf8(folder_ + "/user.settings"), u"");
    settings_->writeText(u"", u"DatavanePort", fromUtf8(device));
    core::bindCoreSettings(settings_.get(), u"");
  }
  ~DatavanePortSetting() {
    core::bindCoreSettings(nullptr, u"");
    settings_.reset();
    std::filesystem::remove_all(folder_);
  }

 private:
  std::string folder_;
  std::unique_ptr<CRegistry> settings_;
};

class DatavaneLinkTest : public ::testing::Test {
 protected:
  void start(SimulatedLogger::Behaviour behaviour = {}) {
    ASSERT_TRUE(pair.started());
    logger = std::make_unique<SimulatedLogger>(pair.second, behaviour);
    ASSERT_TRUE(logger->announce(pair.first));
    app =
        std::make_unique<DatavaneApp>(&createDataloggerPort, clock.timing(), defaultFirmwarePath());
    machine.setChannels(4, {{{1, 19}, {1, 64}, {1, 255}, {0, 22}}});
  }

  std::vector<std::uint8_t> packetCodes() {
    auto guard = logger->lock();
    std::vector<std::uint8_t> codes;
    for (const LinkEvent& packet : logger->packets) {
      codes.push_back(packet.code);
    }
    return codes;
  }

  test::SocatPair pair;
  DatavanePortSetting setting{pair.first};
  FakeClock clock;
  DatavaneMachine machine;
  std::unique_ptr<SimulatedLogger> logger;
  std::unique_ptr<DatavaneApp> app;
};

TEST_F(DatavaneLinkTest, StartSendsKeepAliveThenTheChannelsUnpacked) {
  start();
  machine.call(*app, 0, DatavaneMachine::kStore >> 1);
  ASSERT_TRUE(logger->waitFor([&] { return logger->packets.size() >= 2; }));
  const Bytes channels = {16, 0, 1, 1, 1, 127, 50, 0, 1, 3, 1, 127,
                          4,  0, 0, 5, 1, 127, 6,  0, 0, 7, 1, 127};
  std::uint8_t check = 24 ^ 5;
  for (std::uint8_t byte : channels) {
    check ^= byte;
  }
  Bytes expected = {0xFF, 0x7F, 1, 0, 0, 1, 0xFF, 0x7F, 5, 0, 24};
  expected.insert(expected.end(), channels.begin(), channels.end());
  expected.push_back(check & 0x7F);
  {
    auto guard = logger->lock();
    EXPECT_EQ(logger->received, expected);
  }
  EXPECT_EQ(machine.context().lastCommand, 5);
  EXPECT_TRUE(machine.context().state & kStateAcquiring);

  // The logger reports its sensors and a reading; the application takes both in.
  ASSERT_TRUE(logger->send(encodePacket(4, Bytes{22, 64, 255, 255})));
  ASSERT_TRUE(logger->send(encodePacket(2, Bytes{0x80 + 0x01, 0x00, 0x80, 0x0A, 0, 0, 0, 0})));
  for (int tries = 0; tries < 200 && machine.context().sampleCount == 0; ++tries) {
    machine.call(*app, 3);
  }
  const Context c = machine.context();
  ASSERT_EQ(c.sampleCount, 1);
  EXPECT_EQ(c.channels[0].sensor, 22);
  EXPECT_EQ(c.storedCount, 1);
  // Channel 1 now holds sensor 22 (class 1): 256 steps of 0.001 = 0.256.
  EXPECT_EQ(machine::readNibbles(machine.m, DatavaneMachine::kStore, 8), 0x00000999u);
  EXPECT_EQ(machine::readNibbles(machine.m, DatavaneMachine::kStore + 8, 8), 0x02560000u);
}

TEST_F(DatavaneLinkTest, KeepAliveGoesOutOnlyAfterASecondOfQuiet) {
  start();
  machine.call(*app, 6);  // none sent before: command 1 now
  clock.now += 600;
  machine.call(*app, 6);                                // 600 ms: nothing
  machine.call(*app, 0, DatavaneMachine::kStore >> 1);  // commands 1 and 5
  clock.now += 900;
  machine.call(*app, 6);  // 900 ms after the start's command 1 (+10 ms pause): nothing
  clock.now += 200;
  machine.call(*app, 6);  // more than 1000 ms: command 1
  machine.call(*app, 15);
  ASSERT_TRUE(logger->waitFor([&] { return logger->packets.size() >= 4; }));
  // A marker that cannot overtake anything sent before it.
  machine::keyDown(machine.m, 43);
  machine.call(*app, 6);
  machine::keyUp(machine.m, 43);
  ASSERT_TRUE(logger->waitFor([&] { return logger->packets.size() >= 5; }));
  EXPECT_EQ(packetCodes(), (Bytes{1, 1, 5, 1, 15}));
  EXPECT_EQ(machine.context().lastCommand, 15);
}

TEST_F(DatavaneLinkTest, UploadSendsTheShippedImageBlockByBlock) {
  start();
  const FirmwareLoad shipped = loadFirmwareImage(defaultFirmwarePath());
  ASSERT_TRUE(shipped.image) << shipped.error;
  machine.call(*app, 0, DatavaneMachine::kStore >> 1);
  machine::keyDown(machine.m, 45);
  machine.call(*app, 6);
  machine::keyUp(machine.m, 45);
  EXPECT_EQ(app->lastUpload(), UploadResult::kDone);
  ASSERT_TRUE(logger->waitFor([&] { return logger->endMarks == 3; }));
  auto guard = logger->lock();
  const auto& start = logger->packets.back();
  EXPECT_EQ(start.code, 10);
  const auto announced = uploadStartPayload(*shipped.image);
  EXPECT_EQ(start.payload, Bytes(announced.begin(), announced.end()));
  EXPECT_EQ(logger->blockOffsets.front(), 0u);
  EXPECT_EQ(logger->blockOffsets.back(), 119u * 128);
  ASSERT_GE(logger->image.size(), kFirmwareImageBytes);
  EXPECT_EQ(Bytes(logger->image.begin(), logger->image.begin() + kFirmwareImageBytes),
            *shipped.image);
  EXPECT_TRUE(std::all_of(logger->image.begin() + kFirmwareImageBytes, logger->image.end(),
                          [](std::uint8_t byte) { return byte == 0; }));
  EXPECT_EQ(logger->badFrames, 0);
  EXPECT_FALSE(logger->aborted);
}

TEST_F(DatavaneLinkTest, LostAcknowledgementSendsTheBlockAgain) {
  start({.answerUploadStart = true, .dropAckForBlock = 2});
  auto port = createDataloggerPort();
  ASSERT_TRUE(port->isOpen());
  Bytes image(600);
  for (std::size_t i = 0; i < image.size(); ++i) {
    image[i] = static_cast<std::uint8_t>(i * 7 + 3);
  }
  LinkTiming timing = clock.timing();
  EXPECT_EQ(uploadFirmware(*port, image, timing), UploadResult::kDone);
  auto guard = logger->lock();
  // A slow line may cost another block a second try too; the lost one always has one.
  EXPECT_GE(std::count(logger->blockOffsets.begin(), logger->blockOffsets.end(), 256u), 2);
  EXPECT_EQ(logger->blockOffsets.back(), 512u);
  EXPECT_EQ(Bytes(logger->image.begin(), logger->image.begin() + 600), image);
}

TEST_F(DatavaneLinkTest, SilentLoggerFailsTheUploadWithAnAbort) {
  start({.answerUploadStart = false, .dropAckForBlock = -1, .heartbeatMs = 400});
  auto port = createDataloggerPort();
  ASSERT_TRUE(port->isOpen());
  LinkTiming timing = clock.timing();
  const std::uint32_t before = clock.now;
  EXPECT_EQ(uploadFirmware(*port, Bytes(200, 1), timing), UploadResult::kNotReady);
  ASSERT_TRUE(logger->waitFor([&] { return logger->aborted; }));
  auto guard = logger->lock();
  EXPECT_TRUE(logger->blockOffsets.empty());
  // A thousand silent polls of 50 + 100 ms each, a few polls with data in between.
  EXPECT_GE(clock.now - before, 1000u * 150);
  EXPECT_LT(clock.now - before, 1100u * 150);
}

}  // namespace
}  // namespace tavrel::core::datavane
