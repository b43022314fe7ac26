#include "LcdPicture.h"

#include <array>
#include <fstream>
#include <vector>

namespace tavrel::vendelrun {
namespace {

constexpr int kLineBytes = 20;
constexpr int kAnnunciatorByte = 16;
constexpr std::uint8_t kAnnunciatorBit = 0x08;

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i)
    crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::uint32_t adler32(const std::vector<std::uint8_t>& data) {
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void putBig32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putChunk(std::vector<std::uint8_t>& out, const char* type,
              const std::vector<std::uint8_t>& data) {
  putBig32(out, static_cast<std::uint32_t>(data.size()));
  std::vector<std::uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  putBig32(out, crc32(body.data(), body.size()));
}

// Rows of a 1-bit image (filter byte 0, most significant bit first, 1 = white).
std::vector<std::uint8_t> scanlines(LcdBlock block) {
  constexpr int kRowBytes = (kLcdWidth + 7) / 8;
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < kLcdHeight; ++y) {
    raw.push_back(0);
    for (int byte = 0; byte < kRowBytes; ++byte) {
      std::uint8_t packed = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const int x = byte * 8 + bit;
        const bool white = x >= kLcdWidth || !lcdPixel(block, x, y);
        packed |= static_cast<std::uint8_t>(white ? 0x80 >> bit : 0);
      }
      raw.push_back(packed);
    }
  }
  return raw;
}

// A zlib stream of stored (uncompressed) blocks.
std::vector<std::uint8_t> storedZlib(const std::vector<std::uint8_t>& raw) {
  std::vector<std::uint8_t> out = {0x78, 0x01};
  std::size_t offset = 0;
  do {
    const std::size_t size = std::min<std::size_t>(raw.size() - offset, 65535);
    const bool last = offset + size == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(size));
    out.push_back(static_cast<std::uint8_t>(size >> 8));
    out.push_back(static_cast<std::uint8_t>(~size));
    out.push_back(static_cast<std::uint8_t>(~size >> 8));
    out.insert(out.end(), raw.begin() + offset, raw.begin() + offset + size);
    offset += size;
  } while (offset < raw.size());
  putBig32(out, adler32(raw));
  return out;
}

}  // namespace

bool lcdPixel(LcdBlock block, int x, int y) {
  return (block[kLineBytes * y + x / 8] >> (x % 8)) & 1;
}

bool annunciatorOn(LcdBlock block, int index) {
  return (block[kLineBytes * index + kAnnunciatorByte] & kAnnunciatorBit) != 0;
}

std::string lcdTextArt(LcdBlock block) {
  std::string art;
  for (int y = 0; y < kLcdHeight; ++y) {
    for (int x = 0; x < kLcdWidth; ++x)
      art.push_back(lcdPixel(block, x, y) ? '#' : '.');
    art.push_back('\n');
  }
  art += "annunciators:";
  for (int i = 0; i < 6; ++i)
    art += annunciatorOn(block, i) ? " 1" : " 0";
  art.push_back('\n');
  return art;
}

bool writeLcdPng(LcdBlock block, const std::filesystem::path& file, std::string& error) {
  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  putBig32(header, kLcdWidth);
  putBig32(header, kLcdHeight);
  header.insert(header.end(), {1, 0, 0, 0, 0});  // 1 bit, greyscale
  putChunk(png, "IHDR", header);
  putChunk(png, "IDAT", storedZlib(scanlines(block)));
  putChunk(png, "IEND", {});
  const std::filesystem::path temporary = file.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!out) {
      error = temporary.string() + ": cannot be written";
      return false;
    }
  }
  std::error_code failure;
  std::filesystem::rename(temporary, file, failure);
  if (failure) {
    std::filesystem::remove(temporary, failure);
    error = file.string() + ": cannot be replaced";
    return false;
  }
  return true;
}

}  // namespace tavrel::vendelrun
