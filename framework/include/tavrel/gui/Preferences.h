#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tavrel::gui {

// A check box: the current value and what to do when the user changes it.
struct CheckBoxEntry {
  std::u16string label;
  std::u16string font;
  std::function<bool()> value;
  std::function<void(bool)> changed;
};

// A combo box: the items and the one selected now, and what to do when the user picks one.
struct ComboBoxEntry {
  std::u16string label;
  std::u16string font;
  std::function<void(std::vector<std::u16string>& items, std::u16string& selected)> fill;
  std::function<void(const std::u16string& chosen)> chosen;
};

// A track bar from minimum to maximum with a text for each position.
struct TrackBarEntry {
  std::u16string caption;
  std::u16string font;
  std::int32_t minimum = 0;
  std::int32_t maximum = 0;
  std::function<std::u16string(std::int32_t position)> label;
  // Reads the setting; the page shows this position.
  std::function<std::int32_t()> value;
  std::function<void(std::int32_t position)> changed;
};

// The preferences dialog ("loadPrefsSystem" returns it; the service owns it). Entries are
// named "<two-digit order> <name>", e.g. "10 AlwaysOnTop", and shown in name order. Adding a
// name that exists replaces that entry. Callable from any thread; the handlers run on the GUI
// thread.
class IPreferences {
 public:
  virtual void addCheckBox(const std::u16string& name, const CheckBoxEntry& entry) = 0;
  virtual void addComboBox(const std::u16string& name, const ComboBoxEntry& entry) = 0;
  virtual void addTrackBar(const std::u16string& name, const TrackBarEntry& entry) = 0;
  // Forgets the entry (its handlers are dropped before this returns).
  virtual void removeEntry(const std::u16string& name) = 0;

 protected:
  ~IPreferences() = default;
};

}  // namespace tavrel::gui
