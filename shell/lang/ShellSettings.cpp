#include "lang/ShellSettings.h"

#include <iostream>

#include "tavrel/Text.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel {
namespace {

void reportUnsaved(std::u16string_view name, const CRegistry& registry) {
  std::cerr << "Cannot store the setting " << toUtf8(name) << ": " << toUtf8(registry.lastError())
            << '\n';
}

}  // namespace

std::u16string CShellSettings::textOrDefault(std::u16string_view name,
                                             std::u16string_view fallback) {
  std::u16string value = registry_.readText(u"", name);
  if (value.empty()) {
    value = fallback;
    if (!registry_.writeText(u"", name, value)) {
      reportUnsaved(name, registry_);
    }
  }
  return value;
}

bool CShellSettings::flagOrDefault(std::u16string_view name, bool fallback) {
  try {
    return registry_.readNumber32(u"", name) != 0;
  } catch (const excpt::SettingReadException&) {
    try {
      writeFlag(name, fallback);
    } catch (const excpt::SettingWriteException&) {
      reportUnsaved(name, registry_);
    }
    return fallback;
  }
}

void CShellSettings::writeFlag(std::u16string_view name, bool on) {
  registry_.writeNumber32(u"", name, on ? 1 : 0);
}

std::u16string CShellSettings::language() {
  return textOrDefault(u"Lang", u"en");
}

void CShellSettings::setLanguage(const std::u16string& code) {
  if (!registry_.writeText(u"", u"Lang", code)) {
    reportUnsaved(u"Lang", registry_);
  }
}

std::u16string CShellSettings::initialRom() const {
  return registry_.readText(u"", u"InitialROM");
}

void CShellSettings::rememberRom(const std::u16string& romFile) {
  std::u16string name = romFile;
  if (const std::size_t slash = name.find_last_of(u"\\/"); slash != std::u16string::npos) {
    name.erase(0, slash + 1);
  }
  if (const std::size_t dot = name.rfind(u'.'); dot != std::u16string::npos) {
    name.erase(dot);
  }
  if (!name.empty() && !registry_.writeText(u"", u"InitialROM", name)) {
    reportUnsaved(u"InitialROM", registry_);
  }
}

bool CShellSettings::persistState() {
  return flagOrDefault(u"PersistState", true);
}

void CShellSettings::setPersistState(bool on) {
  writeFlag(u"PersistState", on);
}

bool CShellSettings::alwaysOnTop() {
  return flagOrDefault(u"AlwaysOnTop", false);
}

void CShellSettings::setAlwaysOnTop(bool on) {
  writeFlag(u"AlwaysOnTop", on);
}

bool CShellSettings::tipAtStartup() const {
  return registry_.readText(u"", u"TipOfTheDay") == u"startup";
}

}  // namespace tavrel
