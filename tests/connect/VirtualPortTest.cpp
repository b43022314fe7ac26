#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ConnectFixture.h"
#include "SocatPair.h"
#include "tavrel/Text.h"

namespace tavrel::test {
namespace {

// A released port object; the service made it and frees it.
struct PortDeleter {
  void operator()(IVirtualPort* port) const { releaseResource(port); }
};
using PortHandle = std::unique_ptr<IVirtualPort, PortDeleter>;

// Asks for the bytes waiting until at least count are there (10 s limit).
std::size_t waitForWaiting(IVirtualPort& port, std::size_t count) {
  std::size_t waiting = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (port.bytesWaiting(waiting) && waiting < count &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::yield();
  }
  return waiting;
}

speed_t peerSpeed(const std::string& path) {
  termios line{};
  int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
  speed_t speed = (fd >= 0 && ::tcgetattr(fd, &line) == 0) ? ::cfgetospeed(&line) : B0;
  if (fd >= 0) {
    ::close(fd);
  }
  return speed;
}

TEST_F(ConnectTest, NamesWithoutMappingGiveNull) {
  EXPECT_EQ(portFor(u"USB"), nullptr);
  setConnect(u"COM1", u"/dev/null");
  EXPECT_EQ(portFor(u"COM1"), nullptr) << "only the calculator's three ports exist";
}

TEST_F(ConnectTest, DeviceMappingCarriesBytesBothWaysAndReopens) {
  SocatPair pair;
  ASSERT_TRUE(pair.started());
  setConnect(u"RS232", fromUtf8(pair.first));
  PortHandle port(portFor(u"RS232"));
  ASSERT_NE(port, nullptr);
  ASSERT_TRUE(port->open());
  port->setSpeed(19200);
  PeerEnd peer(pair.second);
  ASSERT_TRUE(peer.isOpen());

  // The open device is exclusive; only a user allowed past that can look at its speed.
  if (speed_t speed = peerSpeed(pair.first); speed != B0) {
    EXPECT_EQ(speed, static_cast<speed_t>(B19200));
  }

  ASSERT_TRUE(peer.writeAll("calculator"));
  EXPECT_EQ(readFromPort(*port, 1), "c");
  EXPECT_GE(waitForWaiting(*port, 9), 9u);
  EXPECT_EQ(readFromPort(*port, 9), "alculator");

  ASSERT_TRUE(writeToPort(*port, "to the PC"));
  EXPECT_EQ(port->drain(), 1);
  EXPECT_EQ(peer.readExactly(9), "to the PC");

  port->close();
  std::size_t waiting = 0;
  EXPECT_FALSE(port->bytesWaiting(waiting));
  EXPECT_FALSE(writeToPort(*port, "x"));
  ASSERT_TRUE(port->open());
  ASSERT_TRUE(peer.writeAll("again"));
  EXPECT_EQ(readFromPort(*port, 5), "again");
}

TEST_F(ConnectTest, UnopenableDeviceFailsToOpen) {
  setConnect(u"IrDA", fromUtf8(folder + "/no-such-device"));
  PortHandle port(portFor(u"IrDA"));
  ASSERT_NE(port, nullptr);
  EXPECT_FALSE(port->open());
  std::size_t done = 0;
  std::uint8_t byte = 0;
  EXPECT_FALSE(port->read(&byte, 0, 1, done));
}

TEST_F(ConnectTest, CloseEndsAReadWaitingOnAnotherTask) {
  SocatPair pair;
  ASSERT_TRUE(pair.started());
  setConnect(u"RS232", fromUtf8(pair.first));
  PortHandle port(portFor(u"RS232"));
  ASSERT_NE(port, nullptr);
  ASSERT_TRUE(port->open());
  bool readResult = true;
  std::thread reader([&] {
    std::uint8_t byte = 0;
    std::size_t done = 0;
    readResult = port->read(&byte, 0, 1, done);
  });
  port->close();
  reader.join();
  EXPECT_FALSE(readResult);
}

TEST_F(ConnectTest, PtyMappingIsAnnouncedLinkedAndCarriesBytes) {
  std::string link = folder + "/calculator-usb";
  setConnect(u"USB", u"pty");
  setConnect(u"USBLink", fromUtf8(link));
  PortHandle port(portFor(u"USB"));
  ASSERT_NE(port, nullptr);
  std::string path = toUtf8(settings->readText(u"Connect", u"USBPty"));
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(std::filesystem::read_symlink(link).string(), path);
  ASSERT_TRUE(port->open());
  port->setSpeed(115200);
  EXPECT_EQ(peerSpeed(path), static_cast<speed_t>(B115200));

  PeerEnd peer(link);
  ASSERT_TRUE(peer.isOpen());
  ASSERT_TRUE(peer.writeAll("from the PC"));
  EXPECT_EQ(readFromPort(*port, 4), "from");
  EXPECT_GE(waitForWaiting(*port, 7), 7u);
  EXPECT_EQ(readFromPort(*port, 7), " the PC");
  ASSERT_TRUE(writeToPort(*port, "to the PC"));
  EXPECT_EQ(port->drain(), 1);
  EXPECT_EQ(peer.readExactly(9), "to the PC");

  PortHandle again(portFor(u"USB"));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(toUtf8(settings->readText(u"Connect", u"USBPty")), path)
      << "the port keeps its terminal while the service is loaded";
  port.reset();
  again.reset();
  closeConnect();
  EXPECT_FALSE(std::filesystem::is_symlink(link));
}

TEST_F(ConnectTest, PtyLinkNeverReplacesAFileThatIsNotALink) {
  std::string link = folder + "/keep.txt";
  { std::ofstream(link) << "user data"; }
  setConnect(u"IrDA", u"pty");
  setConnect(u"IrDALink", fromUtf8(link));
  ::testing::internal::CaptureStderr();
  PortHandle port(portFor(u"IrDA"));
  std::string errors = ::testing::internal::GetCapturedStderr();
  ASSERT_NE(port, nullptr) << "the port works without its link";
  EXPECT_NE(errors.find("linking"), std::string::npos) << errors;
  EXPECT_FALSE(std::filesystem::is_symlink(link));
  std::ifstream kept(link);
  std::string text;
  std::getline(kept, text);
  EXPECT_EQ(text, "user data");
}

TEST_F(ConnectTest, HostPortListIsOneTabbedLineAPort) {
  void* result = commands.getDispatcher()->executeLine(u"list_host_serial_ports", 0);
  ASSERT_NE(result, nullptr);
  std::string text = toUtf8(*static_cast<std::u16string*>(result));
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    ASSERT_NE(end, std::string::npos);
    EXPECT_NE(text.substr(start, end - start).find('\t'), std::string::npos);
    start = end + 1;
  }
}

}  // namespace
}  // namespace tavrel::test
