// Stands in for the preferences service in a headless run: keeps the entries that plug-ins
// add through "loadPrefsSystem", so that their handlers can be called as the preferences
// dialog would call them (vendel-run --speed moves the core's "90 Throttle" track bar).
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "tavrel/gui/Preferences.h"

namespace tavrel::vendelrun {

inline constexpr std::u16string_view kThrottleEntry = u"90 Throttle";

class PreferenceEntries final : public gui::IPreferences {
 public:
  void addCheckBox(const std::u16string& name, const gui::CheckBoxEntry& entry) override;
  void addComboBox(const std::u16string& name, const gui::ComboBoxEntry& entry) override;
  void addTrackBar(const std::u16string& name, const gui::TrackBarEntry& entry) override;
  void removeEntry(const std::u16string& name) override;

  // The entry names, in the dialog's (name) order.
  std::vector<std::u16string> names() const;
  // A copy of the track bar of that name, for looking at its description.
  std::optional<gui::TrackBarEntry> trackBar(const std::u16string& name) const;
  // What the dialog shows for the track bar: its getter's position; empty without the entry.
  std::optional<std::int32_t> readTrackBar(const std::u16string& name);
  // Moves the track bar as the user would: its setter gets the position. False without the
  // entry. Runs under the entries' lock, so removeEntry waits for a handler that runs.
  bool moveTrackBar(const std::u16string& name, std::int32_t position);

 private:
  using Entry = std::variant<gui::CheckBoxEntry, gui::ComboBoxEntry, gui::TrackBarEntry>;

  const gui::TrackBarEntry* findTrackBar(const std::u16string& name) const;

  mutable std::mutex mutex_;
  std::map<std::u16string, Entry> entries_;
};

}  // namespace tavrel::vendelrun
