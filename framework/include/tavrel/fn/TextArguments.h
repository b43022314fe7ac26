#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>

namespace tavrel::fn {

// What a call made with text arguments gave back, in the one form its result type allows.
struct TextCallResult {
  // Which field the call filled; none for void results, so a caller can tell a void handler
  // from one that gave a null pointer, zero or empty text.
  enum class Kind { none, pointer, number, text };
  Kind kind = Kind::none;
  void* pointer = nullptr;  // pointer results
  std::int64_t number = 0;  // integral and bool results
  std::u16string text;      // wide text results
};

namespace detail {

// Decimal integer in plain ASCII digits with an optional sign; nothing else is accepted.
template <class T>
std::optional<T> parseInteger(const std::u16string& text) {
  if (text.empty() || text.size() > 24) {
    return std::nullopt;
  }
  char narrow[25] = {};
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] > 0x7F) {
      return std::nullopt;
    }
    narrow[i] = static_cast<char>(text[i]);
  }
  const char* first = narrow[0] == '+' && narrow[1] != '-' ? narrow + 1 : narrow;
  const char* last = narrow + text.size();
  T value{};
  auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) {
    return std::nullopt;
  }
  return value;
}

// Converts one text argument to the parameter type P; empty when P cannot take it.
template <class P>
std::optional<std::decay_t<P>> fromText(const std::u16string& text) {
  using T = std::decay_t<P>;
  if constexpr (std::is_same_v<T, std::u16string>) {
    return text;
  } else if constexpr (std::is_same_v<T, bool>) {
    auto value = parseInteger<long long>(text);
    return value ? std::optional<bool>(*value != 0) : std::nullopt;
  } else if constexpr (std::is_integral_v<T>) {
    return parseInteger<T>(text);
  } else if constexpr (std::is_pointer_v<T>) {
    // Text never names an object; only "no object" can be passed this way.
    if (text.empty() || text == u"0") {
      return T{nullptr};
    }
    return std::nullopt;
  } else {
    return std::nullopt;
  }
}

template <class R>
void storeResult(R&& value, TextCallResult& result) {
  using T = std::decay_t<R>;
  if constexpr (std::is_pointer_v<T>) {
    result.pointer = const_cast<void*>(static_cast<const void*>(value));
    result.kind = TextCallResult::Kind::pointer;
  } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
    result.number = static_cast<std::int64_t>(value);
    result.kind = TextCallResult::Kind::number;
  } else if constexpr (std::is_same_v<T, std::u16string>) {
    result.text = std::forward<R>(value);
    result.kind = TextCallResult::Kind::text;
  }
}

}  // namespace detail
}  // namespace tavrel::fn
