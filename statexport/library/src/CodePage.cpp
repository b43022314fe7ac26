#include "CodePage.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <cstdint>
#include <type_traits>

namespace tavrel::statexport {

namespace {

// One iconv conversion for the length of a call; the locale is read each time, as a host may
// change it between calls.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) {
      iconv_close(cd_);
    }
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts one whole unit; false when the target cannot represent it.
  bool convert(const char* in, std::size_t inSize, std::string& out) {
    char buffer[16];
    char* input = const_cast<char*>(in);
    char* output = buffer;
    std::size_t outLeft = sizeof buffer;
    const bool converted =
        iconv(cd_, &input, &inSize, &output, &outLeft) != static_cast<size_t>(-1) &&
        iconv(cd_, nullptr, nullptr, &output, &outLeft) != static_cast<size_t>(-1);
    if (!converted) {
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      return false;
    }
    out.append(buffer, output);
    return true;
  }

 private:
  iconv_t cd_;
};

const char* localeCharset() {
  return nl_langinfo(CODESET);
}

bool isHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

template <typename Char>
bool isAscii(std::basic_string_view<Char> text) {
  for (const Char c : text) {
    if (static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Char>>(c)) >= 0x80) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string toCodePage(std::u16string_view text) {
  // Every character set a locale can have holds ASCII as it is.
  if (isAscii(text)) {
    return std::string(text.begin(), text.end());
  }
  std::string out;
  Converter converter(localeCharset(), "UTF-32LE");
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (isHighSurrogate(text[i]) || isLowSurrogate(text[i])) {
      out += kDefaultCharacter;
      continue;
    }
    const char unit[4] = {static_cast<char>(code & 0xFF), static_cast<char>((code >> 8) & 0xFF),
                          static_cast<char>((code >> 16) & 0xFF), 0};
    if (!converter.ok() || !converter.convert(unit, sizeof unit, out)) {
      out += code < 0x80 ? static_cast<char>(code) : kDefaultCharacter;
    }
  }
  return out;
}

std::u16string fromCodePage(std::string_view text) {
  if (isAscii(text)) {
    return std::u16string(text.begin(), text.end());
  }
  std::u16string out;
  Converter converter("UTF-16LE", localeCharset());
  std::size_t i = 0;
  while (i < text.size()) {
    // Multi-byte character sets need up to four bytes for one character.
    std::string decoded;
    std::size_t used = 0;
    for (std::size_t size = 1; size <= 4 && i + size <= text.size(); ++size) {
      if (converter.ok() && converter.convert(text.data() + i, size, decoded)) {
        used = size;
        break;
      }
    }
    if (used == 0) {
      const auto byte = static_cast<unsigned char>(text[i]);
      out += byte < 0x80 ? static_cast<char16_t>(byte) : u'\uFFFD';
      ++i;
      continue;
    }
    for (std::size_t k = 0; k + 1 < decoded.size(); k += 2) {
      out += static_cast<char16_t>(static_cast<std::uint8_t>(decoded[k]) |
                                   (static_cast<std::uint8_t>(decoded[k + 1]) << 8));
    }
    i += used;
  }
  return out;
}

}  // namespace tavrel::statexport
