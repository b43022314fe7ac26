// A small assembled program that enables the serial interface through its registers and
// echoes every byte it receives, run by the real interpreter on its own thread.
#include <thread>

#include "Assembler.h"
#include "Interpreter.h"
#include "MemoryMap.h"
#include "RomFile.h"
#include "SerialTestSupport.h"

namespace tavrel::test {
namespace {

// Chooses RS232 (nibble 1B = 2), enables the interface with the receive interrupt (register
// 10 = 9), then sleeps until an interrupt and echoes while the status shows data.
constexpr const char* kEchoProgram = R"(
        GOTO start
        ORG #F
        RTI
start:  LC #00100
        CONFIG
        D0=(5) #0011B
        LC #2
        DAT0=C 1
        D0=(5) #00110
        LC #9
        DAT0=C 1
sleep:  SHUTDN
echo:   D0=(5) #00111
        C=DAT0 1
        ?CBIT=0 0
        GOYES sleep
        D0=(5) #00114
        A=DAT0 B
        D0=(5) #00116
        DAT0=A B
        GOTO echo
)";

// A ROM image of one 128 KB bank holding the nibbles.
std::vector<std::uint8_t> romImageOf(const std::vector<std::uint8_t>& nibbles) {
  std::vector<std::uint8_t> image{7, 128, 0, 0, 0, 0, 0, 0};
  image.resize(8 + 131072, 0);
  for (std::size_t i = 0; i < nibbles.size(); ++i)
    image[8 + i / 2] |= static_cast<std::uint8_t>((nibbles[i] & 0xF) << (4 * (i & 1)));
  return image;
}

// Runs the interpreter until it goes out of scope.
class InterpreterThread {
 public:
  InterpreterThread(machine::Machine& m, SerialTestHost& host) : m_(m), host_(host) {
    m_.running = 1;
    thread_ = std::thread([this] { machine::runMachine(m_); });
  }
  ~InterpreterThread() {
    m_.running = 0;
    host_.signalWakeUp();
    thread_.join();
  }

 private:
  machine::Machine& m_;
  SerialTestHost& host_;
  std::thread thread_;
};

TEST_F(BridgeTest, EchoProgramSendsBackWhatItReceives) {
  SocatPair pair;
  mapPort(u"RS232", pair);
  PeerEnd peer(pair.second);
  const vasm::Assembly assembly = vasm::assemble(kEchoProgram);
  ASSERT_TRUE(assembly.errors.empty()) << assembly.errors.front();
  machine::loadRomImage(*machine, romImageOf(assembly.nibbles));
  machine::rebuildMap(*machine);
  machine->vm.PC = 0;

  InterpreterThread cpu(*machine, host);
  ASSERT_TRUE(host.waitUntil([&] { return bridge->tasksRunning(); }));
  EXPECT_EQ(bridge->selected(), core::serial::kRs232Port);
  ASSERT_TRUE(peer.writeAll("echo me"));
  EXPECT_EQ(peer.readExactly(7), "echo me");
  ASSERT_TRUE(peer.writeAll(std::string("\x00\xFF\x7F", 3)));
  EXPECT_EQ(peer.readExactly(3), std::string("\x00\xFF\x7F", 3));
}

}  // namespace
}  // namespace tavrel::test
