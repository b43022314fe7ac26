// The serial bridge over the connection service's real ports and socat pseudo-terminal
// pairs, with the calculator side driven through the bridge's own calls.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <optional>

#include "SerialTestSupport.h"

namespace tavrel::test {
namespace {

using namespace core::serial;

constexpr std::uint8_t kReceiveInterrupt = 1;

speed_t terminalSpeed(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
  termios line{};
  const bool read = fd >= 0 && ::tcgetattr(fd, &line) == 0;
  if (fd >= 0)
    ::close(fd);
  return read ? ::cfgetospeed(&line) : B0;
}

TEST(SerialRegisters, PortChoice) {
  EXPECT_EQ(selectedPort({0, 0, kWireIsRs232, 12}), kIrdaPort);  // interface not enabled
  EXPECT_EQ(selectedPort({kSerialEnabled, kInfraredChosen, kWireIsRs232, 12}), kIrdaPort);
  EXPECT_EQ(selectedPort({kSerialEnabled | kReceiveInterrupts, 0, kWireIsRs232, 12}), kRs232Port);
  EXPECT_EQ(selectedPort({kSerialEnabled, 0, 0, 12}), kUsbPort);
  EXPECT_EQ(virtualPortName(kIrdaPort), u"IrDA");
  EXPECT_TRUE(virtualPortName(4).empty());
}

TEST(SerialRegisters, BaudRateTable) {
  const std::uint32_t expected[] = {2400,  2400,  2400,  2400,  4800,   4800,   9600,   14400,
                                    14400, 19200, 38400, 57600, 115200, 115200, 115200, 115200};
  for (std::uint32_t code = 0; code < 16; ++code)
    EXPECT_EQ(lineSpeed(code), expected[code]) << "code " << code;
}

TEST_F(BridgeTest, BytesBothWaysWithInterrupts) {
  SocatPair pair;
  mapPort(u"RS232", pair);
  PeerEnd peer(pair.second);
  setRegisters(kSerialEnabled | kReceiveInterrupt | kTransmitInterrupt, 0, kWireIsRs232);
  bridge->restart(true);
  ASSERT_EQ(bridge->selected(), kRs232Port);
  ASSERT_TRUE(bridge->tasksRunning());
  takePending();

  ASSERT_TRUE(peer.writeAll("hello"));
  ASSERT_TRUE(host.waitUntil([&] { return bridge->receivedWaiting() == 5; }));
  EXPECT_NE(takePending(), 0u);
  EXPECT_EQ(bridge->receiveStatus(0xE), 0xFu);  // data waits; the stored bits stay
  EXPECT_EQ(takeBytes(5), "hello");
  EXPECT_EQ(bridge->receiveStatus(0xF), 0xEu);  // stored bit 0 never shows through

  for (char c : std::string("world"))
    bridge->transmit(static_cast<std::uint8_t>(c));
  EXPECT_NE(takePending(), 0u);
  EXPECT_EQ(peer.readExactly(5), "world");
}

TEST_F(BridgeTest, FullRingWaitsUntilTheCalculatorMadeRoom) {
  SocatPair pair;
  mapPort(u"RS232", pair);
  PeerEnd peer(pair.second);
  setRegisters(kSerialEnabled | kReceiveInterrupt, 0, kWireIsRs232);
  bridge->restart(true);
  ASSERT_TRUE(peer.writeAll(std::string(1000, 'a')));
  ASSERT_TRUE(host.waitUntil([&] { return bridge->receivedWaiting() == 1000; }));

  // With the bridge stopped the next 100 bytes gather in the terminal, so the restarted
  // serialInTask reads them as one chunk. The ring survives the stop.
  bridge->stop();
  ASSERT_TRUE(peer.writeAll(std::string(100, 'b')));
  ASSERT_TRUE(waitForInput(pair.first, 100));
  bridge->restart(true);
  ASSERT_TRUE(host.waitUntil([&] { return bridge->waitingFor() == 100; }));

  EXPECT_EQ(takeBytes(76), std::string(76, 'a'));
  EXPECT_EQ(bridge->waitingFor(), 100);  // 99 free: still waiting
  EXPECT_EQ(bridge->receivedWaiting(), 924u);
  EXPECT_EQ(takeBytes(1), "a");
  ASSERT_TRUE(host.waitUntil(
      [&] { return bridge->receivedWaiting() == 1023 && bridge->waitingFor() == -1; }));
  EXPECT_EQ(takeBytes(923), std::string(923, 'a'));
  EXPECT_EQ(takeBytes(100), std::string(100, 'b'));
}

TEST_F(BridgeTest, StopWhileWaitingForRoomEndsBothTasks) {
  SocatPair pair;
  mapPort(u"RS232", pair);
  PeerEnd peer(pair.second);
  setRegisters(kSerialEnabled, 0, kWireIsRs232);
  bridge->restart(true);
  takePending();
  ASSERT_TRUE(peer.writeAll(std::string(1023, 'a')));
  ASSERT_TRUE(host.waitUntil([&] { return bridge->receivedWaiting() == 1023; }));
  // Ring and interrupt request change under one lock: once the bytes show, a request made
  // without its enable would show too.
  EXPECT_EQ(takePending(), 0u);
  ASSERT_TRUE(peer.writeAll("b"));  // no room left for it
  ASSERT_TRUE(host.waitUntil([&] { return bridge->waitingFor() == 1; }));
  bridge->stop();
  EXPECT_EQ(bridge->selected(), kNoPort);
  EXPECT_FALSE(bridge->tasksRunning());
  // Forgotten rather than ended, a task would stay alive here.
  EXPECT_TRUE(host.waitUntil(
      [] { return liveTasks(u"serialInTask") == 0 && liveTasks(u"serialOutTask") == 0; }));
  EXPECT_EQ(log.count(log.closes, u"RS232"), 1);
}

TEST_F(BridgeTest, BaudRateCodeSetsTheLineSpeed) {
  SocatPair pair;
  mapPort(u"RS232", pair);
  setRegisters(kSerialEnabled, 0, kWireIsRs232, 2);
  bridge->restart(true);
  ASSERT_EQ(bridge->selected(), kRs232Port);
  EXPECT_EQ(terminalSpeed(pair.first), static_cast<speed_t>(B2400));
  machine->vm.regNibble0D = 15;
  bridge->restart(true);
  EXPECT_EQ(terminalSpeed(pair.first), static_cast<speed_t>(B115200));
}

TEST_F(BridgeTest, SwitchingWireToInfraredRestartsOnceOnTheNewPort) {
  SocatPair wire;
  SocatPair infrared;
  mapPort(u"RS232", wire);
  mapPort(u"IrDA", infrared);
  PeerEnd infraredPeer(infrared.second);
  setRegisters(kSerialEnabled, 0, kWireIsRs232);
  host.serialSettingsChanged();
  ASSERT_EQ(bridge->selected(), kRs232Port);

  machine->vm.regNibble1A = kInfraredChosen;
  host.serialSettingsChanged();
  EXPECT_EQ(bridge->selected(), kIrdaPort);
  EXPECT_TRUE(bridge->tasksRunning());
  EXPECT_EQ(log.count(log.closes, u"RS232"), 1);
  EXPECT_EQ(log.count(log.requests, u"IrDA"), 1);
  EXPECT_EQ(log.count(log.opens, u"IrDA"), 1);

  host.serialSettingsChanged();  // the same choice again changes nothing
  EXPECT_EQ(log.count(log.requests, u"IrDA"), 1);
  EXPECT_EQ(log.count(log.closes, u"IrDA"), 0);
  EXPECT_EQ(log.count(log.requests, u"RS232"), 1);

  bridge->transmit('x');
  EXPECT_EQ(infraredPeer.readExactly(1), "x");
}

TEST_F(BridgeTest, MissingPortLeavesTheBridgeInactive) {
  setRegisters(kSerialEnabled, 0, 0);  // USB, which has no mapping
  bridge->restart(true);
  EXPECT_EQ(bridge->selected(), kNoPort);
  EXPECT_FALSE(bridge->tasksRunning());
  bridge->transmit('x');  // dropped, nothing to send it
  EXPECT_EQ(bridge->receiveStatus(0), 0u);
  EXPECT_EQ(log.count(log.requests, u"USB"), 2);  // the status read tried again
}

TEST_F(BridgeTest, LostPeerEndsTheReceiveTask) {
  std::optional<SocatPair> pair(std::in_place);
  mapPort(u"RS232", *pair);
  setRegisters(kSerialEnabled, 0, kWireIsRs232);
  bridge->restart(true);
  ASSERT_TRUE(bridge->tasksRunning());
  pair.reset();
  EXPECT_TRUE(host.waitUntil([] { return liveTasks(u"serialInTask") == 0; }));
  EXPECT_FALSE(bridge->tasksRunning());
  bridge->stop();
  EXPECT_TRUE(host.waitUntil([] { return liveTasks(u"serialOutTask") == 0; }));
}

}  // namespace
}  // namespace tavrel::test
