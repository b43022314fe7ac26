#pragma once

#include <string>

#include "tavrel/Registry.h"

namespace tavrel {

// The shell's own values at the application key (the key set file's are read by
// keys/KeySetFile.h, the skins' by the skin code). Values with a built-in default are written
// back when they are absent (or, for numbers, unreadable), so the store shows what is used.
class CShellSettings {
 public:
  explicit CShellSettings(CRegistry& registry) : registry_(registry) {}

  // "Lang"; "en" (written) when empty or absent.
  std::u16string language();
  void setLanguage(const std::u16string& code);

  // "InitialROM": the base name of the last booted ROM file, empty when none.
  std::u16string initialRom() const;
  // Keeps the ROM file's name without folder and extension; nothing for an empty rest.
  void rememberRom(const std::u16string& romFile);

  // "PersistState" (default on) and "AlwaysOnTop" (default off): 32-bit numbers, non-zero
  // meaning on. Writes raise SettingWriteException (8002).
  bool persistState();
  void setPersistState(bool on);
  bool alwaysOnTop();
  void setAlwaysOnTop(bool on);

  // "TipOfTheDay" is exactly "startup".
  bool tipAtStartup() const;

 private:
  std::u16string textOrDefault(std::u16string_view name, std::u16string_view fallback);
  bool flagOrDefault(std::u16string_view name, bool fallback);
  void writeFlag(std::u16string_view name, bool on);

  CRegistry& registry_;
};

}  // namespace tavrel
