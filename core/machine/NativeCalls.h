// The 256 native extension calls (80B i j). A handler gets the address after the call and
// returns the address to continue at.
#pragma once

#include <cstdint>

namespace tavrel::machine {

struct Machine;

using NativeHandler = uint32_t (*)(Machine& m, uint32_t resumeAddress);

uint32_t callNative(Machine& m, uint32_t number, uint32_t resumeAddress);  // -> next PC
bool hasNativeHandler(uint32_t number);

}  // namespace tavrel::machine
