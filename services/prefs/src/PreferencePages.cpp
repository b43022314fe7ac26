#include "PreferencePages.h"

namespace tavrel::prefs {
namespace {

bool isDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

bool hasOrder(const std::u16string& name) {
  return name.size() > 3 && isDigit(name[0]) && isDigit(name[1]) && name[2] == u' ';
}

// Entries of one page share this.
std::u16string groupKey(const std::u16string& name) {
  return hasOrder(name) ? name.substr(0, 1) : name;
}

// The pages the program's own entries fall on; other groups are named after their first
// entry.
QString pageTitle(const std::u16string& key, const CPreferenceEntry& first) {
  if (key == u"0") {
    return QStringLiteral("General");
  }
  if (key == u"1") {
    return QStringLiteral("Window");
  }
  if (key == u"9") {
    return QStringLiteral("Speed");
  }
  return QString::fromStdU16String(displayName(first.name()));
}

}  // namespace

std::u16string displayName(const std::u16string& name) {
  return hasOrder(name) ? name.substr(3) : name;
}

std::vector<PreferencePage> groupIntoPages(
    const std::vector<std::shared_ptr<CPreferenceEntry>>& entries) {
  std::vector<PreferencePage> pages;
  std::u16string currentKey;
  for (const auto& entry : entries) {
    std::u16string key = groupKey(entry->name());
    if (pages.empty() || key != currentKey) {
      pages.push_back(PreferencePage{pageTitle(key, *entry), {}});
      currentKey = std::move(key);
    }
    pages.back().entries.push_back(entry);
  }
  return pages;
}

}  // namespace tavrel::prefs
