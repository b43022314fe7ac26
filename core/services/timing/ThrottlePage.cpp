#include "ThrottlePage.h"

namespace tavrel::timing {

ThrottlePage::ThrottlePage(TimerService& timers, CRegistry& registry, std::u16string settingsKey,
                           CommandRunner run)
    : preference_(timers, registry, std::move(settingsKey)), run_(std::move(run)) {}

gui::TrackBarEntry ThrottlePage::entry() {
  gui::TrackBarEntry bar;
  bar.caption = ThrottlePreference::kCaption;
  bar.font = ThrottlePreference::kFont;
  bar.minimum = ThrottlePreference::kFirstPosition;
  bar.maximum = ThrottlePreference::kLastPosition;
  bar.label = [](std::int32_t position) { return ThrottlePreference::label(position); };
  bar.value = [this] { return preference_.get(); };
  bar.changed = [this](std::int32_t position) { preference_.set(position); };
  return bar;
}

gui::IPreferences* ThrottlePage::preferences() {
  return run_ ? static_cast<gui::IPreferences*>(run_(std::u16string(kPreferencesCommand)))
              : nullptr;
}

void ThrottlePage::add() {
  if (gui::IPreferences* service = preferences())
    service->addTrackBar(std::u16string(ThrottlePreference::kPageName), entry());
}

void ThrottlePage::remove() {
  if (gui::IPreferences* service = preferences())
    service->removeEntry(std::u16string(ThrottlePreference::kPageName));
}

}  // namespace tavrel::timing
