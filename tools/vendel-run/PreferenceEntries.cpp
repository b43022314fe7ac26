#include "PreferenceEntries.h"

namespace tavrel::vendelrun {

void PreferenceEntries::addCheckBox(const std::u16string& name, const gui::CheckBoxEntry& entry) {
  std::lock_guard guard(mutex_);
  entries_.insert_or_assign(name, entry);
}

void PreferenceEntries::addComboBox(const std::u16string& name, const gui::ComboBoxEntry& entry) {
  std::lock_guard guard(mutex_);
  entries_.insert_or_assign(name, entry);
}

void PreferenceEntries::addTrackBar(const std::u16string& name, const gui::TrackBarEntry& entry) {
  std::lock_guard guard(mutex_);
  entries_.insert_or_assign(name, entry);
}

void PreferenceEntries::removeEntry(const std::u16string& name) {
  std::lock_guard guard(mutex_);
  entries_.erase(name);
}

std::vector<std::u16string> PreferenceEntries::names() const {
  std::lock_guard guard(mutex_);
  std::vector<std::u16string> names;
  for (const auto& [name, entry] : entries_)
    names.push_back(name);
  return names;
}

const gui::TrackBarEntry* PreferenceEntries::findTrackBar(const std::u16string& name) const {
  const auto found = entries_.find(name);
  return found != entries_.end() ? std::get_if<gui::TrackBarEntry>(&found->second) : nullptr;
}

std::optional<gui::TrackBarEntry> PreferenceEntries::trackBar(const std::u16string& name) const {
  std::lock_guard guard(mutex_);
  const gui::TrackBarEntry* bar = findTrackBar(name);
  return bar != nullptr ? std::optional(*bar) : std::nullopt;
}

std::optional<std::int32_t> PreferenceEntries::readTrackBar(const std::u16string& name) {
  std::lock_guard guard(mutex_);
  const gui::TrackBarEntry* bar = findTrackBar(name);
  if (bar == nullptr || !bar->value)
    return std::nullopt;
  return bar->value();
}

bool PreferenceEntries::moveTrackBar(const std::u16string& name, std::int32_t position) {
  std::lock_guard guard(mutex_);
  const gui::TrackBarEntry* bar = findTrackBar(name);
  if (bar == nullptr || !bar->changed)
    return false;
  bar->changed(position);
  return true;
}

}  // namespace tavrel::vendelrun
