#include "CoreCommands.h"

#include <algorithm>
#include <cstdio>

#include "Machine.h"
#include "MemoryMap.h"
#include "emulation/EmulationControl.h"
#include "settings/CoreSettings.h"

namespace tavrel::core {
namespace {

void startAndWaitBooted() {
  if (startMainTask())
    waitBooted();
}

}  // namespace

void bootNexoRom(std::u16string romFile, std::u16string skin) {
  std::replace(skin.begin(), skin.end(), u'#', u' ');
  setSkinName(std::move(skin));
  setRomPath(std::move(romFile));
  stopMachine();
  startAndWaitBooted();
}

void rebootCommand() {
  if (currentMachine() == nullptr) {
    std::fputs("nexocore: reboot: no ROM has been booted\n", stderr);
    return;
  }
  stopMachine();
  startAndWaitBooted();
}

void resetCommand() {
  machine::Machine* m = currentMachine();
  if (m == nullptr)
    return;
  pauseEmulation();
  machine::chipsetReset(*m);
  m->vm.PC = 0;
  resumeEmulation();
}

std::u16string getRomType() {
  return std::u16string(kRomTypeText);
}

std::u16string getSkinName() {
  return skinName();
}

}  // namespace tavrel::core
