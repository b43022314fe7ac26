// Native calls and key delivery reached through the interpreter, from assembled code in RAM.
#include <string>

#include "Assembler.h"
#include "Interpreter.h"
#include "Keyboard.h"
#include "peripheral_test_machine.h"

namespace tavrel::machine {
namespace {

constexpr uint32_t kProgram = 0x90000;

class NativeInterpreterTest : public PeripheralTest {
 protected:
  void load(const std::string& body) {
    const vasm::Assembly assembly = vasm::assemble("  ORG #90000\n" + body);
    ASSERT_TRUE(assembly.errors.empty()) << assembly.errors.front();
    for (uint32_t a = kProgram; a < assembly.nibbles.size(); ++a)
      poke(a, assembly.nibbles[a], 1);
    m.vm.PC = kProgram;
  }
};

TEST_F(NativeInterpreterTest, UnlistedCallAdvancesPcByFive) {
  load("  NIBHEX 80B70\n");
  const VendelMachine before = m.vm;
  stepMachine(m, 1);
  EXPECT_EQ(m.vm.PC, kProgram + 5);
  EXPECT_EQ(m.vm.carry, before.carry);
}

TEST_F(NativeInterpreterTest, ProbeSkipsTheNumberItNames) {
  load("  NIBHEX 80B51 50\n  NIBHEX 80B51 02\n");
  m.vm.carry = 1;
  stepMachine(m, 1);
  EXPECT_EQ(m.vm.PC, kProgram + 7);
  EXPECT_EQ(m.vm.carry, 0u);  // call 05 exists
  stepMachine(m, 1);
  EXPECT_EQ(m.vm.PC, kProgram + 14);
  EXPECT_EQ(m.vm.carry, 1u);  // call 20 does not
}

TEST_F(NativeInterpreterTest, DefineFieldThenUseIt) {
  // C = 00FF0000, DEFINE-FIELD 8, then A = A + B on the new field through call 81.
  load(
      "  LC #00FF0000\n"
      "  NIBHEX 80BF7 8\n"
      "  NIBHEX 80B18 48\n");
  m.vm.A = reg(0x0000000000120000);
  m.vm.B = reg(0x00000000000F0000);
  stepMachine(m, 3);
  EXPECT_EQ(m.vm.fieldLength[8], 2u);
  EXPECT_EQ(value64(m.vm.A), 0x0000000000210000u);
}

TEST_F(NativeInterpreterTest, IntonDeliversThePendingKey) {
  load("  NIBHEX 8080\n");
  keyDown(m, 10);  // interrupts are off: the key waits
  ASSERT_EQ(m.keys.pendingKey, 11u);
  m.vm.ST |= 0x8000;
  poke(0x8065B, 0, 1);
  stepMachine(m, 1);
  EXPECT_EQ(m.vm.interruptsEnabled, 1u);
  EXPECT_EQ(m.keys.pendingKey, 0u);
  EXPECT_EQ(peek(0x8066B, 2), 11u);
}

}  // namespace
}  // namespace tavrel::machine
