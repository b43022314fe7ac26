#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace tavrel {

// Texts by id and language code; adding a text for an (id, language) that has one replaces
// it.
class CTextTable {
 public:
  void add(std::uint32_t id, const std::u16string& language, const std::u16string& text);
  // The text in language; otherwise, when language is not current, the text in current;
  // otherwise null.
  const std::u16string* find(std::uint32_t id, const std::u16string& language,
                             const std::u16string& current) const;
  // Adds every text of other to this table.
  void addAll(const CTextTable& other);
  bool empty() const { return texts_.empty(); }

 private:
  std::map<std::uint32_t, std::map<std::u16string, std::u16string>> texts_;
};

}  // namespace tavrel
