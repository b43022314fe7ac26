#include "state/StateFile.h"

#include <cstring>

#include "StateImage.h"
#include "os/FileDescriptor.h"
#include "settings/CoreAccess.h"
#include "settings/CoreSettings.h"
#include "tavrel/HostUi.h"

namespace tavrel::core {

namespace {

constexpr std::size_t kMagicBytes = sizeof machine::kStateMagic;
// Everything after the magic that a file we accept can hold, plus one byte to see more.
constexpr std::size_t kLargestRest =
    machine::kStateFixedBytes - kMagicBytes + 2 * std::size_t{machine::kStateNameMaxChars};

void reportInvalidStateFile() {
  gui::showMessage(u"Invalid state file", u"ZR Calculator Emulator Error", gui::MessageIcon::Error,
                   gui::MessageButtons::Ok, true);
}

// The name field of a whole image (magic first), when the image holds all of it.
bool nameOf(const std::vector<std::uint8_t>& image, std::u16string& name) {
  constexpr std::size_t kNameAt = kMagicBytes + 4;
  if (image.size() < kNameAt)
    return false;
  std::uint32_t n;
  std::memcpy(&n, image.data() + kMagicBytes, sizeof n);
  if (n > machine::kStateNameMaxChars || image.size() < kNameAt + 2 * std::size_t{n})
    return false;
  name.resize(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    std::uint16_t c;
    std::memcpy(&c, image.data() + kNameAt + 2 * i, sizeof c);
    name[i] = static_cast<char16_t>(c);
  }
  return true;
}

}  // namespace

bool acceptsStateName(const std::u16string& name, const std::u16string& skinName) {
  return name == skinName || name.find(kRomTypeText) != std::u16string::npos;
}

std::vector<std::uint8_t> snapshotState(ICoreAccess& core) {
  machine::Machine* m = core.machine();
  if (m == nullptr)
    return {};
  EmulationPaused paused(core);
  return machine::encodeState(*m, kRomTypeText, core.clockOffset());
}

bool writeState(int fd, ICoreAccess& core) {
  // The snapshot is taken paused; the disk is written while the calculator runs on.
  const std::vector<std::uint8_t> image = snapshotState(core);
  if (image.empty())
    return false;
  return os::writeFully(fd, image);
}

bool readState(int fd, ICoreAccess& core) {
  std::vector<std::uint8_t> image(kMagicBytes + kLargestRest + 1);
  std::memcpy(image.data(), machine::kStateMagic, kMagicBytes);
  const long got = os::readFully(fd, image.data() + kMagicBytes, kLargestRest + 1);
  image.resize(kMagicBytes + static_cast<std::size_t>(got < 0 ? 0 : got));

  std::u16string name;
  if (got < 0 || !nameOf(image, name)) {
    reportInvalidStateFile();
    return false;
  }
  if (!acceptsStateName(name, currentSkinName()))
    return false;

  machine::Machine* m = core.machine();
  if (m == nullptr)
    return false;
  bool loaded = false;
  {
    // Pause and resume take the emulation lock themselves; holding it in between keeps any
    // other resume out while the machine changes.
    EmulationPaused paused(core);
    std::lock_guard lock(core.emulationLock());
    // decodeState checks the length and the record size before it changes anything, so a
    // refused file leaves the machine, its memories and the clock as they were.
    machine::StateHeader header;
    std::string error;
    loaded = machine::decodeState(*m, image, nullptr, header, error);
    if (loaded)
      core.setClockOffset(header.clockOffset);
  }
  if (!loaded)
    reportInvalidStateFile();
  return loaded;
}

}  // namespace tavrel::core
