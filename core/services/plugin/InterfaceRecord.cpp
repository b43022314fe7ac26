#include "InterfaceRecord.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>

#include "Display.h"
#include "os/CoreLock.h"

namespace tavrel::core {
namespace {

std::array<unsigned char, nexo::kSharedBlockBytes>& displayBlock() {
  static std::array<unsigned char, nexo::kSharedBlockBytes> block{};
  return block;
}

}  // namespace

std::mutex& displayBlockLock() {
  static std::mutex lock;
  return lock;
}

nexo::_NEXOInterface& interfaceRecord() {
  static nexo::_NEXOInterface record;
  return record;
}

unsigned char* sharedBlock() {
  CThreadLock::Scope guard(os::coreLock());
  return displayBlock().data();
}

void publishDisplay(const std::uint8_t* image, std::size_t bytes) {
  {
    std::lock_guard guard(displayBlockLock());
    std::memcpy(displayBlock().data(), image, std::min(bytes, nexo::kSharedBlockBytes));
  }
  if (fn::IFunctionBase* hook = interfaceRecord().displayChanged) {
    fn::TextCallResult ignored;
    hook->callWithText(fn::ParameterList{}, ignored);
  }
}

void clearAnnunciators() {
  std::lock_guard guard(displayBlockLock());
  for (int line = 0; line < 6; ++line)
    displayBlock()[machine::kLcdLineBytes * line + 16] &= ~machine::kAnnunciatorBit;
}

}  // namespace tavrel::core
