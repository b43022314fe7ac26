// The one record that holds the whole emulated machine, in the exact byte layout that state
// files store (4064 bytes, little-endian). Fields that name host memory hold 32-bit "image
// addresses" (see HostAddress below); the real pointers live beside the record in Machine.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tavrel::machine {

inline constexpr int kPageCount = 256;
inline constexpr int kPageTableSize = kPageCount + 1;  // entry 256 mirrors entry 0
inline constexpr int kFieldCodeCount = 32;
inline constexpr int kReturnStackDepth = 8;

// A 64-bit register as two 32-bit words, low word first (nibble 0 = bits 0-3 of lo).
struct Reg64 {
  uint32_t lo;
  uint32_t hi;
};

struct VendelMachine {
  // Memory map (image addresses; 0 in writePage = writes ignored).
  uint32_t readPage[kPageTableSize];
  uint32_t writePage[kPageTableSize];
  uint32_t pagePriority[kPageTableSize];
  uint32_t reserved0C0C;

  // Processor.
  Reg64 A, B, C, D;
  Reg64 R0, R1, R2, R3, R4;
  uint32_t D0, D1;
  uint32_t P;
  uint32_t P4;
  int32_t P4High;
  uint32_t ST;
  uint32_t HST;
  uint32_t carry;
  uint32_t decimal;
  uint32_t PC;
  uint32_t returnStack[kReturnStackDepth];
  uint32_t returnStackIndex;
  uint32_t reserved0CA4;
  uint64_t fieldMask[kFieldCodeCount];
  uint32_t fieldStart[kFieldCodeCount];
  uint32_t fieldLength[kFieldCodeCount];

  // Chipset configuration.
  uint32_t configState;
  int32_t ioBase;  // register block address >> 6, -1 when unconfigured
  uint32_t reserved0EB0;  // 128 at creation
  uint32_t port0Page;
  uint32_t port0Pages;
  int32_t bankSwitcherPage;  // -1 when unconfigured
  uint32_t reserved0EC0;
  uint32_t port1Page;
  uint32_t port1Pages;
  uint32_t reserved0ECC;  // 64 at creation
  uint32_t port2Page;
  uint32_t port2Pages;
  uint32_t romBankLow;
  uint32_t romBankHigh;
  uint32_t port0Buffer;  // image addresses
  uint32_t port1Buffer;
  uint32_t port2Buffer;
  uint32_t romBanks[16];  // banks 0-6, then zeros
  uint32_t fillerPage;

  // Interrupts and sleep.
  uint32_t interruptPending;
  uint32_t interruptsEnabled;
  uint32_t inInterrupt;
  uint32_t shutDown;

  // Register block state.
  uint32_t displayTest;
  uint32_t powerFlag;
  uint32_t crcPending;
  uint32_t crcValue;
  uint32_t regNibble1E;
  uint8_t annunciators;
  uint8_t reserved0F55[3];
  uint32_t reg2A;  // value of register nibbles 2A-2D and 35

  // Display.
  uint32_t headerLines;
  uint32_t headerOffset;
  uint32_t disp0Page;  // 0 = not mapped
  uint32_t disp0Saved[4];  // readPage k, k+1, writePage k, k+1 (image addresses)
  uint32_t disp0Buffer;  // image address
  uint32_t displayStart;
  uint32_t lineOffset;
  uint32_t bitOffset;
  uint32_t menuStart;
  uint32_t lineCount;
  uint32_t displayOn;
  uint32_t contrast;

  // Keyboard, timers and serial registers.
  uint32_t keyOut;
  uint32_t keyRows[8];
  uint8_t timer1Control;
  uint8_t timer2Control;
  uint8_t serialControl;    // register 10
  uint8_t receiveControl;   // register 11
  uint8_t transmitControl;  // register 12
  uint8_t regNibble1A;
  uint8_t regNibble0D;  // 12 at creation
  uint8_t regNibble1B;
  uint32_t wakeUpEvent;    // platform handle: meaningless in a file
  uint32_t processorLock;  // platform handle: meaningless in a file
  uint32_t savedD1;
  uint32_t savedB;
  uint32_t keyMode;
  uint32_t contrastTarget;
  uint32_t reserved0FDC;
};

inline constexpr std::size_t kVendelMachineImageSize = 4064;
static_assert(sizeof(VendelMachine) == kVendelMachineImageSize);

// Every offset of the stored image is part of the state-file format.
#define TAVREL_CHECK_OFFSET(field, offset) \
  static_assert(offsetof(VendelMachine, field) == (offset), "record layout: " #field)
TAVREL_CHECK_OFFSET(readPage, 0x000);
TAVREL_CHECK_OFFSET(writePage, 0x404);
TAVREL_CHECK_OFFSET(pagePriority, 0x808);
TAVREL_CHECK_OFFSET(reserved0C0C, 0xC0C);
TAVREL_CHECK_OFFSET(A, 0xC10);
TAVREL_CHECK_OFFSET(B, 0xC18);
TAVREL_CHECK_OFFSET(C, 0xC20);
TAVREL_CHECK_OFFSET(D, 0xC28);
TAVREL_CHECK_OFFSET(R0, 0xC30);
TAVREL_CHECK_OFFSET(R4, 0xC50);
TAVREL_CHECK_OFFSET(D0, 0xC58);
TAVREL_CHECK_OFFSET(D1, 0xC5C);
TAVREL_CHECK_OFFSET(P, 0xC60);
TAVREL_CHECK_OFFSET(P4, 0xC64);
TAVREL_CHECK_OFFSET(P4High, 0xC68);
TAVREL_CHECK_OFFSET(ST, 0xC6C);
TAVREL_CHECK_OFFSET(HST, 0xC70);
TAVREL_CHECK_OFFSET(carry, 0xC74);
TAVREL_CHECK_OFFSET(decimal, 0xC78);
TAVREL_CHECK_OFFSET(PC, 0xC7C);
TAVREL_CHECK_OFFSET(returnStack, 0xC80);
TAVREL_CHECK_OFFSET(returnStackIndex, 0xCA0);
TAVREL_CHECK_OFFSET(reserved0CA4, 0xCA4);
TAVREL_CHECK_OFFSET(fieldMask, 0xCA8);
TAVREL_CHECK_OFFSET(fieldStart, 0xDA8);
TAVREL_CHECK_OFFSET(fieldLength, 0xE28);
TAVREL_CHECK_OFFSET(configState, 0xEA8);
TAVREL_CHECK_OFFSET(ioBase, 0xEAC);
TAVREL_CHECK_OFFSET(reserved0EB0, 0xEB0);
TAVREL_CHECK_OFFSET(port0Page, 0xEB4);
TAVREL_CHECK_OFFSET(port0Pages, 0xEB8);
TAVREL_CHECK_OFFSET(bankSwitcherPage, 0xEBC);
TAVREL_CHECK_OFFSET(reserved0EC0, 0xEC0);
TAVREL_CHECK_OFFSET(port1Page, 0xEC4);
TAVREL_CHECK_OFFSET(port1Pages, 0xEC8);
TAVREL_CHECK_OFFSET(reserved0ECC, 0xECC);
TAVREL_CHECK_OFFSET(port2Page, 0xED0);
TAVREL_CHECK_OFFSET(port2Pages, 0xED4);
TAVREL_CHECK_OFFSET(romBankLow, 0xED8);
TAVREL_CHECK_OFFSET(romBankHigh, 0xEDC);
TAVREL_CHECK_OFFSET(port0Buffer, 0xEE0);
TAVREL_CHECK_OFFSET(port1Buffer, 0xEE4);
TAVREL_CHECK_OFFSET(port2Buffer, 0xEE8);
TAVREL_CHECK_OFFSET(romBanks, 0xEEC);
TAVREL_CHECK_OFFSET(fillerPage, 0xF2C);
TAVREL_CHECK_OFFSET(interruptPending, 0xF30);
TAVREL_CHECK_OFFSET(interruptsEnabled, 0xF34);
TAVREL_CHECK_OFFSET(inInterrupt, 0xF38);
TAVREL_CHECK_OFFSET(shutDown, 0xF3C);
TAVREL_CHECK_OFFSET(displayTest, 0xF40);
TAVREL_CHECK_OFFSET(powerFlag, 0xF44);
TAVREL_CHECK_OFFSET(crcPending, 0xF48);
TAVREL_CHECK_OFFSET(crcValue, 0xF4C);
TAVREL_CHECK_OFFSET(regNibble1E, 0xF50);
TAVREL_CHECK_OFFSET(annunciators, 0xF54);
TAVREL_CHECK_OFFSET(reg2A, 0xF58);
TAVREL_CHECK_OFFSET(headerLines, 0xF5C);
TAVREL_CHECK_OFFSET(headerOffset, 0xF60);
TAVREL_CHECK_OFFSET(disp0Page, 0xF64);
TAVREL_CHECK_OFFSET(disp0Saved, 0xF68);
TAVREL_CHECK_OFFSET(disp0Buffer, 0xF78);
TAVREL_CHECK_OFFSET(displayStart, 0xF7C);
TAVREL_CHECK_OFFSET(lineOffset, 0xF80);
TAVREL_CHECK_OFFSET(bitOffset, 0xF84);
TAVREL_CHECK_OFFSET(menuStart, 0xF88);
TAVREL_CHECK_OFFSET(lineCount, 0xF8C);
TAVREL_CHECK_OFFSET(displayOn, 0xF90);
TAVREL_CHECK_OFFSET(contrast, 0xF94);
TAVREL_CHECK_OFFSET(keyOut, 0xF98);
TAVREL_CHECK_OFFSET(keyRows, 0xF9C);
TAVREL_CHECK_OFFSET(timer1Control, 0xFBC);
TAVREL_CHECK_OFFSET(timer2Control, 0xFBD);
TAVREL_CHECK_OFFSET(serialControl, 0xFBE);
TAVREL_CHECK_OFFSET(receiveControl, 0xFBF);
TAVREL_CHECK_OFFSET(transmitControl, 0xFC0);
TAVREL_CHECK_OFFSET(regNibble1A, 0xFC1);
TAVREL_CHECK_OFFSET(regNibble0D, 0xFC2);
TAVREL_CHECK_OFFSET(regNibble1B, 0xFC3);
TAVREL_CHECK_OFFSET(wakeUpEvent, 0xFC4);
TAVREL_CHECK_OFFSET(processorLock, 0xFC8);
TAVREL_CHECK_OFFSET(savedD1, 0xFCC);
TAVREL_CHECK_OFFSET(savedB, 0xFD0);
TAVREL_CHECK_OFFSET(keyMode, 0xFD4);
TAVREL_CHECK_OFFSET(contrastTarget, 0xFD8);
TAVREL_CHECK_OFFSET(reserved0FDC, 0xFDC);
#undef TAVREL_CHECK_OFFSET

// Field codes that have names.
enum FieldCode : uint32_t {
  kFieldP = 0,
  kFieldWP = 1,
  kFieldXS = 2,
  kFieldX = 3,
  kFieldS = 4,
  kFieldM = 5,
  kFieldB = 6,
  kFieldW = 7,
  kFieldA = 15,
  kFieldCount1 = 16,  // 16 + k moves k + 1 nibbles
  kFieldCount16 = 31,
};

// Image addresses: the record stores 32-bit "host addresses" of the memory buffers. We give
// each buffer a fixed base in a virtual 31-bit space, so stored images are deterministic and
// every nibble position (2 * address + nibble) fits in 32 bits.
namespace HostAddress {
inline constexpr uint32_t kRom = 0x01000000;
inline constexpr uint32_t kPort0 = 0x02000000;
inline constexpr uint32_t kPort12 = 0x03000000;
inline constexpr uint32_t kDisp0 = 0x04000000;
inline constexpr uint32_t kFiller = 0x05000000;
}  // namespace HostAddress

}  // namespace tavrel::machine
