#include "RealtimeRun.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

#include "CoreSession.h"
#include "KeyScript.h"
#include "LcdPicture.h"
#include "tavrel/Text.h"

namespace tavrel::vendelrun {
namespace {

constexpr int kBadInput = 2;
constexpr int kWriteFailed = 1;
// How long a scripted key stays down, and the pause after it is released.
constexpr std::chrono::milliseconds kKeyHold{40};

int fail(int status, const std::string& message) {
  std::fprintf(stderr, "vendel-run: %s\n", message.c_str());
  return status;
}

std::filesystem::path programFolder() {
  std::error_code failure;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", failure);
  return failure ? std::filesystem::current_path() : self.parent_path();
}

// A command-line argument: blanks travel as '#', so a path that holds '#' cannot be passed.
std::optional<std::u16string> argument(const std::filesystem::path& path) {
  std::u16string text = fromUtf8(std::filesystem::absolute(path).string());
  if (text.find(u'#') != std::u16string::npos)
    return std::nullopt;
  for (char16_t& c : text) {
    if (c == u' ')
      c = u'#';
  }
  return text;
}

bool runStateCommand(CoreSession& core, const char16_t* name, const std::filesystem::path& file) {
  const auto path = argument(file);
  if (!path)
    return false;
  const auto* result = static_cast<std::int64_t*>(core.execute(name + (u" " + *path)));
  return result != nullptr && *result != 0;
}

void playScript(CoreSession& core, const std::vector<KeyStep>& steps) {
  for (const KeyStep& step : steps) {
    if (step.kind == KeyStep::Kind::Wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(step.milliseconds));
      continue;
    }
    core.postKey(nexo::kKeyDownMessage, step.position);
    std::this_thread::sleep_for(kKeyHold);
    core.postKey(nexo::kKeyUpMessage, step.position);
    std::this_thread::sleep_for(kKeyHold);
  }
}

std::array<std::uint8_t, kLcdBlockBytes> copyDisplay(nexo::_NEXOInterface& record) {
  std::array<std::uint8_t, kLcdBlockBytes> image{};
  std::lock_guard guard(*record.displayLock);
  std::memcpy(image.data(), record.sharedBlock(), image.size());
  return image;
}

}  // namespace

int runRealtime(const RunOptions& options) {
  const std::filesystem::path folder = programFolder();
  std::vector<KeyStep> steps;
  if (options.keyScript) {
    std::string error;
    const auto keys = readKeySet(folder / "data" / "emu_keys.xml", error);
    const auto parsed = parseKeyScript(*options.keyScript, keys, error);
    if (!parsed)
      return fail(kBadInput, error);
    steps = *parsed;
  }
  if (!std::filesystem::is_regular_file(options.rom))
    return fail(kBadInput, options.rom.string() + ": no such ROM file");
  const auto rom = argument(options.rom);
  if (!rom)
    return fail(kBadInput, options.rom.string() + ": a path holding '#' cannot be passed");

  CoreSession core;
  if (!core.open(folder / "components"))
    return fail(kBadInput, core.error());
  // The speed goes through the core's own preference page, as the preferences dialog sets it.
  if (options.speed &&
      !core.preferences().moveTrackBar(std::u16string(kThrottleEntry), *options.speed))
    return fail(kBadInput, "the core offers no throttle page; --speed cannot be applied");
  const auto started = std::chrono::steady_clock::now();
  core.execute(u"boot_nexo_rom " + *rom + u" vendel-run");
  if (options.stateIn && !runStateCommand(core, u"nexo_load_state", *options.stateIn))
    return fail(kBadInput, options.stateIn->string() + ": the state file was not loaded");
  playScript(core, steps);
  std::this_thread::sleep_until(started + std::chrono::milliseconds(options.realtimeMs));
  if (options.stateOut && !runStateCommand(core, u"nexo_save_state", *options.stateOut))
    return fail(kWriteFailed, options.stateOut->string() + ": the state file was not written");

  const auto image = copyDisplay(*core.record());
  core.close();
  if (options.lcdText)
    std::fputs(lcdTextArt(image).c_str(), stdout);
  if (options.lcdPng) {
    std::string error;
    if (!writeLcdPng(image, *options.lcdPng, error))
      return fail(kWriteFailed, error);
  }
  return 0;
}

}  // namespace tavrel::vendelrun
