// The remote-control link end to end: the demo firmware opens it with its LINK key (native
// call 50), and the test is the program at the far end of a socat pseudo-terminal pair that
// the connection service maps to "RS232".
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cctype>

#include "ConnectFixture.h"
#include "CoreFixture.h"
#include "Display.h"
#include "Machine.h"
#include "Memory.h"
#include "Processor.h"
#include "SocatPair.h"
#include "emulation/EmulationControl.h"
#include "os/MessageQueue.h"
#include "plugin/CoreCommands.h"
#include "plugin/InterfaceRecord.h"
#include "remote/DirectPort.h"
#include "remote/RemoteCalls.h"
#include "tavrel/Registry.h"

// The core's entry points, linked in from the services library.
TAVREL_PLUGIN_EXPORT void import(tavrel::excpt::CExceptionHub* hub,
                                 tavrel::CommandInterface* commands);
TAVREL_PLUGIN_EXPORT int closeLibrary();

namespace tavrel::test {
namespace {

// Key positions (row in bits 16-18, column in bits 0-2) of the firmware's LINK and UNLK keys.
constexpr std::int32_t kLinkKey = 0x50002;      // key 4
constexpr std::int32_t kUnlinkKey = 0x60002;    // key 5
constexpr std::int32_t kDigitTwoKey = 0x60005;  // key 43
constexpr std::uint32_t kEntryLength = 0x80105;
constexpr std::uint32_t kEntryText = 0x80280;

class RemoteLink : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(line.started()) << "socat did not start";
    CRegistry store;
    ASSERT_TRUE(store.createKey(u"", u"Connect"));
    ASSERT_TRUE(store.writeText(u"Connect", u"RS232", fromUtf8(line.first)));
    loadService(commandService, "command.so");
    loadService(connectService, "connect.so");
    import(&hub, &commands);
    hook = new fn::CallableFunction<std::function<void()>, void>([this] { watch.changed(); });
    core::interfaceRecord().displayChanged = hook;
    core::bootNexoRom(fromUtf8(demoRom().string()), u"Demo");
    m = core::currentMachine();
    ASSERT_NE(m, nullptr);
    // Keys count once the firmware has booted and sleeps waiting for them.
    ASSERT_TRUE(watch.waitUntil([&] { return std::atomic_ref(m->vm.shutDown).load() == 1; }));
  }

  void TearDown() override {
    closeLibrary();
    // The port object belongs to the connection service: give it back before it goes.
    core::remote::markDirectPortClosed();
    core::interfaceRecord().displayChanged = nullptr;
    delete hook;
    for (CDynamicLibrary* service : {&connectService, &commandService}) {
      if (auto* close = service->resolveFunction<CloseLibraryEntry*>(kCloseLibraryExport))
        close();
      service->unload();
    }
  }

  void loadService(CDynamicLibrary& library, const char* file) {
    ASSERT_TRUE(library.load(fromUtf8((buildFolder() / "components" / file).string())))
        << toUtf8(library.error());
    library.resolveFunction<ImportEntry*>(kImportExport)(&hub, &commands);
  }

  void pressKey(std::int32_t position) {
    for (std::uint32_t type : {0u, 1u}) {
      os::tagMessage message{type, position, nullptr};
      os::postMessage(nullptr, &message);
    }
  }

  // Opens the link with the firmware's LINK key and takes the "S" it starts with.
  void openLink() {
    pressKey(kLinkKey);
    ASSERT_EQ(peer.readExactly(1), "S");
    EXPECT_TRUE(core::remote::directPortHeld());
    EXPECT_TRUE(watch.waitUntil([&] { return annunciators() & 0x20; }));
  }

  std::string ask(const std::string& bytes, std::size_t replyLength) {
    EXPECT_TRUE(peer.writeAll(bytes));
    return peer.readExactly(replyLength);
  }

  std::uint8_t annunciators() { return std::atomic_ref(m->vm.annunciators).load(); }

  bool waitLinkClosed() {
    return watch.waitUntil(
        [&] { return !core::remote::directPortHeld() && (annunciators() & 0x20) == 0; });
  }

  std::string entryText() {
    core::pauseEmulation();
    std::string text;
    const std::uint32_t length = machine::readNibbles(*m, kEntryLength, 2);
    for (std::uint32_t i = 0; i < length && i < 20; ++i)
      text.push_back(static_cast<char>(machine::readNibbles(*m, kEntryText + 2 * i, 2)));
    core::resumeEmulation();
    return text;
  }

  // Looks at the entry after each display change (the refresh ticks every 15 ms).
  bool waitForEntry(const std::string& wanted) {
    for (int look = 0; look < 1000; ++look) {
      if (entryText() == wanted)
        return true;
      const unsigned seen = watch.changes();
      watch.waitUntil([&] { return watch.changes() != seen; });
    }
    return false;
  }

  TemporarySettings settings;
  SocatPair line;
  PeerEnd peer{line.second};
  excpt::CExceptionHub hub;
  CommandInterface commands;
  CDynamicLibrary commandService;
  CDynamicLibrary connectService;
  DisplayWatch watch;
  fn::IFunctionBase* hook = nullptr;
  machine::Machine* m = nullptr;
};

TEST_F(RemoteLink, KeysTapOnlyWhenTheirCodeNamesAKey) {
  openLink();
  EXPECT_EQ(ask("K\x17", 1), "K");      // row 1 has no column 7
  EXPECT_EQ(ask("K\x92", 2), "\x92R");  // digit 1
  EXPECT_EQ(ask("2", 1), "R");          // digit 2 by the character table
  EXPECT_EQ(ask("Z", 1), "R");
  EXPECT_EQ(ask("W", 1), "R");
  EXPECT_EQ(entryText(), "12");
  EXPECT_EQ(ask("!", 2), "E!");
  EXPECT_EQ(ask("\x80", 2), "E\x80");
  EXPECT_EQ(ask("D\xA6", 1), "K");
  EXPECT_EQ(ask("D\x93", 2), "\x93R");
  EXPECT_EQ(ask("U\x93", 2), "\x93R");
  EXPECT_EQ(ask("W", 1), "R");
  EXPECT_EQ(entryText(), "122");
  // A reset restarts the firmware (which clears its RAM) and leaves the link open.
  EXPECT_EQ(ask("X", 2), "EX");
  EXPECT_TRUE(waitForEntry(""));
  EXPECT_EQ(ask("Z", 1), "R");
}

TEST_F(RemoteLink, ScreenDumpIsTheDisplayMemoryInHexWithItsChecksum) {
  openLink();
  const std::string text = ask("S", 2190);
  ASSERT_EQ(text.size(), 2190u);
  std::array<std::uint8_t, 1095> block{};
  auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
  for (std::size_t i = 0; i < block.size(); ++i) {
    const char low = text[2 * i];
    const char high = text[2 * i + 1];
    ASSERT_TRUE(std::isxdigit(low) && std::isxdigit(high) && !std::islower(low) &&
                !std::islower(high))
        << "at " << 2 * i;
    block[i] = static_cast<std::uint8_t>(digit(low) | digit(high) << 4);
  }
  EXPECT_EQ(block[0], 'S');
  EXPECT_EQ(block[1], 0x88);
  EXPECT_EQ(block[2], 0x40);
  EXPECT_NE(block[3] & 0x20, 0);
  unsigned sum = 0;
  for (std::size_t i = 4; i < 1092; ++i)
    sum += (block[i] & 0xF) + (block[i] >> 4);
  EXPECT_EQ(block[1092] | block[1093] << 8, sum & 0xFFFF);
  EXPECT_EQ(block[1094], 'R');
  // The menu lines do not change: they match the LCD image the display refresh drew.
  std::array<std::uint8_t, machine::kLcdBytes> lcd{};
  machine::copyLcdImage(*m, lcd);
  for (int line = 56; line < 64; ++line) {
    EXPECT_EQ(std::memcmp(block.data() + 4 + 17 * line, lcd.data() + 20 * line, 16), 0)
        << "line " << line;
  }
}

TEST_F(RemoteLink, FiveSilentReadsCloseTheLink) {
  openLink();
  EXPECT_TRUE(waitLinkClosed());
  // The firmware's next annunciator writes keep bit 5 clear.
  pressKey(kDigitTwoKey);
  EXPECT_TRUE(waitForEntry("2"));
  EXPECT_EQ(annunciators() & 0x20, 0);
}

TEST_F(RemoteLink, QuitAndTheUnlinkCallCloseAndTheLinkOpensAgain) {
  openLink();
  ASSERT_TRUE(peer.writeAll("Q"));
  EXPECT_TRUE(waitLinkClosed());
  openLink();
  pressKey(kUnlinkKey);
  EXPECT_TRUE(waitLinkClosed());
}

TEST_F(RemoteLink, CallFiftySixSendsOneByteOnTheInfraredPortUntilCallFiftyOne) {
  CRegistry store;
  ASSERT_TRUE(store.writeText(u"Connect", u"IrDA", fromUtf8(line.first)));
  core::pauseEmulation();
  m->vm.A.lo = 0x123A5;
  m->vm.carry = 1;
  m->vm.decimal = 1;
  machine::setP(*m, 7);
  core::remote::sendDirectByte(*m);
  EXPECT_EQ(m->vm.carry, 0u);
  EXPECT_EQ(m->vm.decimal, 0u);
  EXPECT_EQ(m->vm.P, 0u);
  EXPECT_TRUE(core::remote::directPortHeld());
  EXPECT_NE(annunciators() & 0x20, 0);
  core::resumeEmulation();
  EXPECT_EQ(peer.readExactly(1), "\xA5");
  core::pauseEmulation();
  core::remote::closeRemoteLink(*m);
  core::resumeEmulation();
  EXPECT_FALSE(core::remote::directPortHeld());
  EXPECT_EQ(annunciators() & 0x20, 0);
}

}  // namespace
}  // namespace tavrel::test
