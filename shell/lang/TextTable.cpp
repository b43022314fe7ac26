#include "lang/TextTable.h"

namespace tavrel {

void CTextTable::add(std::uint32_t id, const std::u16string& language, const std::u16string& text) {
  texts_[id][language] = text;
}

const std::u16string* CTextTable::find(std::uint32_t id, const std::u16string& language,
                                       const std::u16string& current) const {
  const auto byId = texts_.find(id);
  if (byId == texts_.end()) {
    return nullptr;
  }
  const auto& byLanguage = byId->second;
  if (const auto text = byLanguage.find(language); text != byLanguage.end()) {
    return &text->second;
  }
  if (language != current) {
    if (const auto text = byLanguage.find(current); text != byLanguage.end()) {
      return &text->second;
    }
  }
  return nullptr;
}

void CTextTable::addAll(const CTextTable& other) {
  for (const auto& [id, byLanguage] : other.texts_) {
    for (const auto& [language, text] : byLanguage) {
      add(id, language, text);
    }
  }
}

}  // namespace tavrel
