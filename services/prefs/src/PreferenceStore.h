#pragma once

#include <QObject>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "PreferenceEntry.h"
#include "tavrel/gui/Preferences.h"

namespace tavrel::prefs {

// The process's preference entries, by name. Any thread may add and remove them; an open
// dialog hears of every change through changed() and shows the entries again.
class CPreferenceStore final : public QObject, public gui::IPreferences {
  Q_OBJECT

 public:
  ~CPreferenceStore() override;

  void addCheckBox(const std::u16string& name, const gui::CheckBoxEntry& entry) override;
  void addComboBox(const std::u16string& name, const gui::ComboBoxEntry& entry) override;
  void addTrackBar(const std::u16string& name, const gui::TrackBarEntry& entry) override;
  void removeEntry(const std::u16string& name) override;

  // The entries now, in name order.
  std::vector<std::shared_ptr<CPreferenceEntry>> entries() const;

 signals:
  void changed();

 private:
  void add(const std::u16string& name, EntryControl control);

  mutable std::mutex mutex_;
  std::map<std::u16string, std::shared_ptr<CPreferenceEntry>> entries_;
};

}  // namespace tavrel::prefs
