// The "90 Throttle" entry of the preferences service: a track bar over the five speeds whose
// label, getter and setter are ThrottlePreference's. The timer factory adds it; closing the
// timer service takes it off again, so the service never calls into a core that is gone.
#pragma once

#include <functional>
#include <string>

#include "ThrottlePreference.h"
#include "tavrel/gui/Preferences.h"

namespace tavrel::timing {

class ThrottlePage {
 public:
  static constexpr std::u16string_view kPreferencesCommand = u"loadPrefsSystem";

  // Runs a command line (flag 1) and gives its result; null when nothing answered.
  using CommandRunner = std::function<void*(const std::u16string& line)>;

  ThrottlePage(TimerService& timers, CRegistry& registry, std::u16string settingsKey,
               CommandRunner run);

  // The track bar's description, with the handlers bound to this page's preference.
  gui::TrackBarEntry entry();
  // Asks for the preferences service and adds the entry to it; nothing when none answers.
  void add();
  // Asks for the preferences service again and removes the entry from it.
  void remove();

  ThrottlePreference& preference() { return preference_; }

 private:
  gui::IPreferences* preferences();

  ThrottlePreference preference_;
  CommandRunner run_;
};

}  // namespace tavrel::timing
