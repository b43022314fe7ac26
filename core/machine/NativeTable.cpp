// The 256-entry table of native calls. Numbers that no group claims keep the empty handler,
// which continues after the call as if it were not there.
#include "NativeSupport.h"

namespace tavrel::machine {
namespace {

uint32_t emptyHandler(Machine&, uint32_t resumeAddress) {
  return resumeAddress;
}

const native::NativeTable& table() {
  static const native::NativeTable calls = [] {
    native::NativeTable t;
    t.fill(&emptyHandler);
    native::addMemoryCalls(t);
    native::addClockCalls(t);
    native::addArithmeticCalls(t);
    native::addDisplayCalls(t);
    native::addKeyCalls(t);
    native::addSystemCalls(t);
    return t;
  }();
  return calls;
}

}  // namespace

uint32_t callNative(Machine& m, uint32_t number, uint32_t resumeAddress) {
  return table()[number & 0xFF](m, resumeAddress) & native::kLow20;
}

bool hasNativeHandler(uint32_t number) {
  return table()[number & 0xFF] != &emptyHandler;
}

}  // namespace tavrel::machine
