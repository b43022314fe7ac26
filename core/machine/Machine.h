// The running machine: the stored record plus what only means something inside this
// process (real buffer pointers, the host seam, the run flag).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "Display.h"
#include "Keyboard.h"
#include "MachineHost.h"
#include "VendelMachine.h"

namespace tavrel::machine {

class MachineHost;

inline constexpr std::size_t kRomMaxBytes = 0xE0000;
inline constexpr std::size_t kPort0Bytes = 262144;
inline constexpr std::size_t kPort12Bytes = 131072;
inline constexpr std::size_t kDisp0Bytes = 4096;
inline constexpr std::size_t kPageBytes = 2048;  // 4096 nibbles
inline constexpr int kRomBankCount = 7;

struct Machine {
  VendelMachine vm;  // the record, exactly as state files store it

  // Real page pointers, kept in step with vm.readPage / vm.writePage (which hold image
  // addresses). readPage is never null; writePage null means writes are ignored.
  uint32_t* readPage[kPageTableSize];
  uint32_t* writePage[kPageTableSize];

  // Buffers, allocated once at creation and aligned to 4096 bytes.
  uint32_t* rom;
  std::size_t romBytes;
  uint32_t* port0;
  uint32_t* port12;  // ports 1 and 2 share one buffer
  uint32_t* disp0;
  uint32_t* filler;  // one page shown for banks the ROM file lacks
  uint32_t* romBank[kRomBankCount];
  uint32_t* disp0Saved[4];  // readPage k, k+1, writePage k, k+1 while disp0 is mapped

  MachineHost* host;  // never null once created (a default host runs the machine alone)

  // Cleared by another task to stop the interpreter between two instructions.
  std::atomic<uint8_t> running;
  // Tasks waiting for or holding the processor lock besides the interpreter (ProcessorAccess.h).
  std::atomic<uint32_t> processorRequests{0};

  // Peripherals (display and keyboard): state the record does not store.
  LcdImage lcd;   // the 1600-byte image the host reads, with its lock
  KeyState keys;  // pendingKey, shiftState, onHeld and the key lock

  // Machine core: ownership of what createMachine allocated. One aligned block holds every
  // buffer above; ownedHost is the default host made when the caller gave none.
  std::unique_ptr<uint8_t, decltype(&std::free)> storage{nullptr, &std::free};
  std::unique_ptr<MachineHost> ownedHost;
};

}  // namespace tavrel::machine
