#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "PreferenceEntry.h"

namespace tavrel::prefs {

// The entries shown together on one page of the dialog.
struct PreferencePage {
  QString title;
  std::vector<std::shared_ptr<CPreferenceEntry>> entries;
};

// An entry name without its two-digit order: "Throttle" for "90 Throttle". Names without
// such an order are kept whole.
std::u16string displayName(const std::u16string& name);

// Groups entries given in name order by the first digit of their order ("10 AlwaysOnTop"
// and "11 Persist" share a page); an entry without an order gets a page of its own.
std::vector<PreferencePage> groupIntoPages(
    const std::vector<std::shared_ptr<CPreferenceEntry>>& entries);

}  // namespace tavrel::prefs
