#include "PreferenceStore.h"

namespace tavrel::prefs {

CPreferenceStore::~CPreferenceStore() {
  // A dialog may still hold entries; their handlers live in the plug-in being unloaded.
  for (auto& [name, entry] : entries_) {
    entry->retire();
  }
}

void CPreferenceStore::addCheckBox(const std::u16string& name, const gui::CheckBoxEntry& entry) {
  add(name, entry);
}

void CPreferenceStore::addComboBox(const std::u16string& name, const gui::ComboBoxEntry& entry) {
  add(name, entry);
}

void CPreferenceStore::addTrackBar(const std::u16string& name, const gui::TrackBarEntry& entry) {
  add(name, entry);
}

void CPreferenceStore::add(const std::u16string& name, EntryControl control) {
  auto entry = std::make_shared<CPreferenceEntry>(name, std::move(control));
  std::shared_ptr<CPreferenceEntry> replaced;
  {
    std::lock_guard lock(mutex_);
    replaced = std::exchange(entries_[name], std::move(entry));
  }
  // Outside the lock: retiring waits for handlers that may themselves add entries.
  if (replaced) {
    replaced->retire();
  }
  emit changed();
}

void CPreferenceStore::removeEntry(const std::u16string& name) {
  std::shared_ptr<CPreferenceEntry> removed;
  {
    std::lock_guard lock(mutex_);
    auto found = entries_.find(name);
    if (found == entries_.end()) {
      return;
    }
    removed = std::move(found->second);
    entries_.erase(found);
  }
  removed->retire();
  emit changed();
}

std::vector<std::shared_ptr<CPreferenceEntry>> CPreferenceStore::entries() const {
  std::lock_guard lock(mutex_);
  std::vector<std::shared_ptr<CPreferenceEntry>> list;
  list.reserve(entries_.size());
  for (const auto& [name, entry] : entries_) {
    list.push_back(entry);
  }
  return list;
}

}  // namespace tavrel::prefs
