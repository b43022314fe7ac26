#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

namespace tavrel::fn {

// The bound arguments of a command: an ordered list of wide strings.
class ParameterList {
 public:
  using value_type = std::u16string;
  using const_iterator = std::vector<std::u16string>::const_iterator;

  ParameterList() = default;
  ParameterList(std::initializer_list<std::u16string> items) : items_(items) {}
  explicit ParameterList(std::vector<std::u16string> items) : items_(std::move(items)) {}

  void add(std::u16string item) { items_.push_back(std::move(item)); }
  void clear() { items_.clear(); }

  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  const std::u16string& operator[](std::size_t index) const { return items_[index]; }
  const std::u16string& at(std::size_t index) const { return items_.at(index); }
  const_iterator begin() const { return items_.begin(); }
  const_iterator end() const { return items_.end(); }
  const std::vector<std::u16string>& items() const { return items_; }

  friend bool operator==(const ParameterList&, const ParameterList&) = default;

 private:
  std::vector<std::u16string> items_;
};

}  // namespace tavrel::fn
