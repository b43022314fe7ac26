// The interactive service: poll, draw and act on the keys until none asks for anything.
#include <atomic>

#include "DatavaneApp.h"
#include "Keyboard.h"
#include "Machine.h"

namespace tavrel::core::datavane {
namespace {

enum Key : int {
  kValueUp = 10,
  kValueDown = 15,
  kOtherDown = 14,
  kOtherUp = 16,
  kCursorLeft = 31,
  kCursorRight = 36,
  kLevelUp = 41,
  kLevelDown = 46,
  kStartKey = 38,
  kStopKey = 43,
  kChannelKey = 44,
  kUploadKey = 45,
  kResetKey = 21,
  kModeKey = 49,
  kDeltaKey = 50,
};

constexpr int kKeys[] = {kValueUp,     kValueDown, kOtherDown, kOtherUp,  kCursorLeft,
                         kCursorRight, kLevelUp,   kLevelDown, kStartKey, kStopKey,
                         kChannelKey,  kUploadKey, kResetKey,  kModeKey,  kDeltaKey};

constexpr int kCursorColumns = 128;
constexpr int kLevelRows = 43;
constexpr int kCursorPage = 32;
constexpr std::array<std::uint16_t, kViewValues> kViewMin = {1, 0, 1, 0};
constexpr std::array<std::uint16_t, kViewValues> kViewMax = {9999, 4095, 16, 127};

bool repeats(int key) {
  return key == kCursorLeft || key == kCursorRight || key == kLevelUp || key == kLevelDown;
}

// Read while the message task may change the rows.
bool isDown(machine::Machine& m, int key) {
  const machine::KeyInfo& info = machine::keyInfo(key);
  if (info.row < 0) {
    return (std::atomic_ref<std::uint32_t>(m.vm.keyRows[0]).load() & machine::kOnKeyMask) != 0;
  }
  return (std::atomic_ref<std::uint32_t>(m.vm.keyRows[info.row]).load() & info.mask) != 0;
}

int firstKeyDown(machine::Machine& m) {
  for (int key : kKeys) {
    if (isDown(m, key)) {
      return key;
    }
  }
  return -1;
}

template <typename T>
T moved(T value, int by, int low, int high) {
  const int next = static_cast<int>(value) + by;
  return static_cast<T>(next < low ? low : (next > high ? high : next));
}

void adjustView(Context& c, int index, int by) {
  c.view[index] = moved(c.view[index], by, kViewMin[index], kViewMax[index]);
}

}  // namespace

void DatavaneApp::interactive(machine::Machine& m, ContextRecord& record, Context& c,
                              std::uint32_t flags) {
  link_.ensureOpen();
  keepAliveIfDue(c);
  const int step = stepFromFlags(flags);
  for (;;) {
    pollLogger(record, c);
    draw(m, record, c);
    const int key = firstKeyDown(m);
    if (key < 0) {
      c.heldKey = kNoKey;
      return;
    }
    if (repeats(key)) {
      applyKey(c, key, step);
      record.store(c);
      timing_.sleepMs(kKeyRepeatMs);
      continue;
    }
    if (key == c.heldKey) {
      return;
    }
    c.heldKey = static_cast<std::uint8_t>(key);
    applyKey(c, key, step);
    record.store(c);
  }
}

void DatavaneApp::applyKey(Context& c, int key, int step) {
  const int mode = c.viewMode();
  switch (key) {
    case kValueUp:
    case kValueDown:
      adjustView(c, mode, key == kValueUp ? step : -step);
      break;
    case kOtherDown:
    case kOtherUp: {
      const int sign = key == kOtherUp ? 1 : -1;
      if (step >= 2) {
        c.cursorX = moved(c.cursorX, sign * kCursorPage, 0, kCursorColumns - 1);
      } else {
        adjustView(c, mode ^ 2, sign * step);
      }
      break;
    }
    case kCursorLeft:
    case kCursorRight:
      c.cursorX = moved(c.cursorX, key == kCursorRight ? step : -step, 0, kCursorColumns - 1);
      break;
    case kLevelUp:
    case kLevelDown:
      c.cursorY = moved(c.cursorY, key == kLevelUp ? step : -step, 0, kLevelRows - 1);
      break;
    case kStartKey:
      if (link_.ensureOpen()) {
        startAcquisition(c);
      }
      break;
    case kStopKey:
      stopAcquisition(c);
      break;
    case kChannelKey:
      for (int i = 1; i <= kChannels; ++i) {
        const int next = (c.currentChannel + i) % kChannels;
        if (c.channels[next].isOn()) {
          c.currentChannel = static_cast<std::uint8_t>(next);
          break;
        }
      }
      break;
    case kUploadKey:
      uploadFirmware(c);
      break;
    case kResetKey:
      c.sampleCount = 0;
      c.sampleHead = 0;
      c.flags &= ~(kFlagPending | kFlagExport);
      c.exportIndex = 0;
      break;
    case kModeKey:
      if (c.flags & kFlagExport) {
        c.displayMode = static_cast<std::uint8_t>((c.displayMode + 2) & 7);
      }
      break;
    case kDeltaKey:
      c.flags ^= kFlagDelta;
      c.markerX = c.cursorX;
      c.markerY = c.cursorY;
      break;
    default:
      break;
  }
}

}  // namespace tavrel::core::datavane
