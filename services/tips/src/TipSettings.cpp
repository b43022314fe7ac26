#include "TipSettings.h"

#include "ServiceCommands.h"
#include "tavrel/Text.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel::tips {
namespace {

constexpr std::u16string_view kStartupValue = u"TipOfTheDay";
constexpr std::u16string_view kTipsKey = u"Tips";
constexpr std::u16string_view kNextValue = u"Next";

}  // namespace

bool showsTipsAtStartup(const CRegistry& settings) {
  return settings.readText(u"", kStartupValue) == u"startup";
}

bool setShowsTipsAtStartup(CRegistry& settings, bool show) {
  if (!settings.writeText(u"", kStartupValue, show ? u"startup" : u"off")) {
    service::reportError("tips", "cannot write TipOfTheDay: " + toUtf8(settings.lastError()));
    return false;
  }
  return true;
}

std::uint32_t nextTip(const CRegistry& settings) {
  try {
    return settings.readNumber32(kTipsKey, kNextValue);
  } catch (const excpt::SettingReadException&) {
    return 0;
  }
}

void setNextTip(CRegistry& settings, std::uint32_t index) {
  try {
    if (settings.createKey(u"", kTipsKey)) {
      settings.writeNumber32(kTipsKey, kNextValue, index);
      return;
    }
  } catch (const excpt::SettingWriteException&) {
  }
  // Only the order of the tips suffers.
  service::reportError("tips", "cannot remember the next tip: " + toUtf8(settings.lastError()));
}

}  // namespace tavrel::tips
