// The daisy chain of configurable modules: CONFIG and UNCNFG with the address or size in C.
#pragma once

#include "Machine.h"

namespace tavrel::machine {

inline constexpr uint32_t kConfigRegisterBlock = 1;
inline constexpr uint32_t kConfigPort0 = 2;
inline constexpr uint32_t kConfigBankSwitcher = 4;
inline constexpr uint32_t kConfigPort1 = 8;
inline constexpr uint32_t kConfigPort2 = 16;
inline constexpr uint32_t kConfigAddressPending = 32;

void configure(Machine& m);    // CONFIG with the current C
void unconfigure(Machine& m);  // UNCNFG with the current C

}  // namespace tavrel::machine
