// Speed control: the interpreter runs in blocks of 256 instructions, and each block may
// start only f / rate counts after the previous one was let go. The wait is a busy wait on
// the counter, exact well below a millisecond; time the host loses is not made up.
#include "TimerService.h"

namespace tavrel::timing {
namespace {

constexpr std::uint64_t kHalfSpeedRate = 650;
constexpr std::uint64_t kRealSpeedRate = 1300;  // 332,800 instructions a second

}  // namespace

void TimerService::throttleHook() {
  const std::uint64_t rate = throttleRate_.load(std::memory_order_relaxed);
  if (rate == 0)
    return;
  std::uint64_t now = counter();
  while (now < nextBlockStart_)
    now = counter();
  nextBlockStart_ = now + kFrequency / rate;
}

void TimerService::applyThrottle(int setting) {
  if (setting < 0 || setting >= kUnthrottled) {
    throttleSetting_ = kUnthrottled;
    throttleRate_ = 0;
    return;
  }
  throttleSetting_ = setting;
  throttleRate_ = setting == 0 ? kHalfSpeedRate : kRealSpeedRate << (setting - 1);
}

}  // namespace tavrel::timing
