#include "BenchPrograms.h"

#include <stdexcept>

#include "Assembler.h"
#include "Interpreter.h"
#include "MemoryMap.h"
#include "Processor.h"
#include "RomFile.h"

namespace tavrel::bench {

namespace {

// Every program starts by configuring the chain, then loops forever from `loop`.
constexpr const char* kStartUp = "LC #00100\nCONFIG\nLC #80000\nCONFIG\nCONFIG\n";

std::vector<uint8_t> romImageOf(const std::vector<uint8_t>& nibbles) {
  std::vector<uint8_t> image{7, 128, 0, 0, 0, 0, 0, 0};
  image.resize(8 + 131072, 0);
  for (std::size_t i = 0; i < nibbles.size() && i / 2 < 131072; ++i) {
    image[8 + i / 2] |= static_cast<uint8_t>((nibbles[i] & 0xF) << (4 * (i & 1)));
  }
  return image;
}

}  // namespace

const std::vector<BenchProgram>& benchPrograms() {
  static const std::vector<BenchProgram> programs = {
      {"alu",
       "loop: A=A+B W\nC=C-1 A\nB=B+C X\nD=D+1 A\nA=A-C M\nBSL W\nC=C!A W\nD=D&C B\n"
       "ACEX A\nA=A+1 A\nGOTO loop\n"},
      {"memory",
       "loop: D0=(5) #80000\nD1=(5) #81000\nA=DAT0 W\nDAT1=A W\nD0=D0+ 16\nD1=D1+ 16\n"
       "C=DAT0 A\nDAT1=C A\nA=DAT0 B\nDAT1=A B\nGOTO loop\n"},
      {"mixed",
       "loop: GOSUB add\nA=A+1 A\n?A=0 B\nGOYES wrap\nGOSUBL twice\n?ST=1 3\nGOYES loop\n"
       "GOTO loop\n"
       "wrap: B=0 A\nGOTO loop\n"
       "add: B=B+A A\nRTN\n"
       "twice: C=B A\nC=C+C A\nRTNCC\n"},
      {"runstream",
       "loop: D0=(5) stream\nRSNEXT\n"
       "object: CON(5) code\n"
       "code: RSNEXT\n"
       "restart: CON(5) loop\n"
       "stream: CON(5) object\nCON(5) object\nCON(5) object\nCON(5) object\nCON(5) object\n"
       "CON(5) object\nCON(5) object\nCON(5) object\nCON(5) object\nCON(5) restart - 5\n"},
  };
  return programs;
}

std::unique_ptr<PreparedMachine> prepare(const BenchProgram& program) {
  const vasm::Assembly assembly = vasm::assemble(std::string(kStartUp) + program.source);
  if (!assembly.errors.empty())
    throw std::runtime_error(assembly.errors.front());
  auto prepared = std::make_unique<PreparedMachine>();
  prepared->machine = machine::createMachine("", &prepared->host);
  machine::Machine& m = *prepared->machine;
  machine::loadRomImage(m, romImageOf(assembly.nibbles));
  machine::rebuildMap(m);
  m.vm.PC = 0;
  // Steps of the start-up code: three constants and three CONFIGs.
  machine::stepMachine(m, 6);
  return prepared;
}

}  // namespace tavrel::bench
