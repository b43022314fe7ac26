#include "KeyScript.h"

#include <charconv>
#include <fstream>
#include <regex>
#include <sstream>

namespace tavrel::vendelrun {
namespace {

constexpr std::uintmax_t kMaxKeySetBytes = 1 << 20;

const std::map<std::string, std::string>& characterKeys() {
  static const std::map<std::string, std::string> keys = {
      {"+", "KEY_PLUS"},   {"-", "KEY_MINUS"}, {"*", "KEY_MULTIPLY"},
      {"/", "KEY_DIVIDE"}, {".", "KEY_POINT"},
  };
  return keys;
}

std::optional<std::uint32_t> parseNumber(const std::string& text) {
  int base = 10;
  std::string_view digits = text;
  if (digits.starts_with("0x") || digits.starts_with("0X")) {
    base = 16;
    digits.remove_prefix(2);
  }
  std::uint32_t value = 0;
  const auto [end, failure] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || failure != std::errc() || end != digits.data() + digits.size())
    return std::nullopt;
  return value;
}

std::optional<std::int32_t> keyByName(const std::string& token,
                                      const std::map<std::string, std::int32_t>& keys) {
  std::string name = token;
  if (const auto character = characterKeys().find(token); character != characterKeys().end())
    name = character->second;
  else if (!name.starts_with("KEY_"))
    name = "KEY_" + name;
  const auto key = keys.find(name);
  if (key == keys.end())
    return std::nullopt;
  return key->second;
}

}  // namespace

std::map<std::string, std::int32_t> readKeySet(const std::filesystem::path& file,
                                               std::string& error) {
  std::error_code failure;
  const std::uintmax_t size = std::filesystem::file_size(file, failure);
  if (failure || size > kMaxKeySetBytes) {
    error = file.string() + ": cannot be read as a key set (missing or over 1 MiB)";
    return {};
  }
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  const std::string content = text.str();
  static const std::regex keyEntry("<key\\s+code=\"(\\d+)\"\\s*>\\s*<id>([A-Za-z0-9_]+)</id>");
  std::map<std::string, std::int32_t> keys;
  for (std::sregex_iterator it(content.begin(), content.end(), keyEntry), end; it != end; ++it) {
    if (const auto code = parseNumber((*it)[1].str()))
      keys[(*it)[2].str()] = static_cast<std::int32_t>(*code);
  }
  if (keys.empty())
    error = file.string() + ": no keys found";
  return keys;
}

std::optional<std::vector<KeyStep>> parseKeyScript(const std::string& script,
                                                   const std::map<std::string, std::int32_t>& keys,
                                                   std::string& error) {
  std::vector<KeyStep> steps;
  std::istringstream tokens(script);
  std::string token;
  while (tokens >> token) {
    if (token.starts_with("wait:")) {
      const auto ms = parseNumber(token.substr(5));
      if (!ms) {
        error = "key script: \"" + token + "\" needs a whole number of milliseconds";
        return std::nullopt;
      }
      steps.push_back({KeyStep::Kind::Wait, 0, *ms});
    } else if (token.starts_with("@")) {
      const auto position = parseNumber(token.substr(1));
      if (!position) {
        error = "key script: \"" + token + "\" is not a key position";
        return std::nullopt;
      }
      steps.push_back({KeyStep::Kind::Press, static_cast<std::int32_t>(*position), 0});
    } else if (const auto position = keyByName(token, keys)) {
      steps.push_back({KeyStep::Kind::Press, *position, 0});
    } else {
      error = "key script: no key named \"" + token + "\"";
      return std::nullopt;
    }
  }
  return steps;
}

}  // namespace tavrel::vendelrun
