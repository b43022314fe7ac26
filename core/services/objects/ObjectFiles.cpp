#include "objects/ObjectFiles.h"

#include <algorithm>
#include <cstring>

#include "ObjectWalker.h"
#include "StateImage.h"

namespace tavrel::core::objects {

FileKind classifyFile(std::span<const std::uint8_t> head) {
  if (head.size() < kObjectHeaderBytes)
    return FileKind::Text;
  if (std::memcmp(head.data(), kObjectFileMagic, kObjectMagicCompared) == 0)
    return FileKind::Object;
  if (std::memcmp(head.data(), machine::kStateMagic, kObjectHeaderBytes) == 0)
    return FileKind::State;
  return FileKind::Text;
}

ObjectImage stringImage(std::span<const std::uint8_t> characters) {
  const std::size_t n = std::min(characters.size(), kLargestStringBytes);
  // The length field counts itself and two nibbles a character.
  const std::uint32_t length = static_cast<std::uint32_t>(2 * n + 5);
  ObjectImage image;
  image.bytes = {
      static_cast<std::uint8_t>(kStringProlog & 0xFF),
      static_cast<std::uint8_t>((kStringProlog >> 8) & 0xFF),
      static_cast<std::uint8_t>(((length << 4) & 0xF0) | ((kStringProlog >> 16) & 0x0F)),
      static_cast<std::uint8_t>((length >> 4) & 0xFF),
      static_cast<std::uint8_t>((length >> 12) & 0xFF),
  };
  image.bytes.reserve(n + kStringHeaderBytes);
  image.bytes.insert(image.bytes.end(), characters.begin(), characters.begin() + n);
  image.nibbles = static_cast<std::uint32_t>(2 * n + 10);
  return image;
}

namespace {

FileLoad refused(FileKind kind, LoadFailure failure) {
  FileLoad load;
  load.kind = kind;
  load.failure = failure;
  return load;
}

std::uint32_t walkedSize(std::span<const std::uint8_t> image, std::uint32_t limit) {
  const machine::NibbleRegion region{0, image};
  return machine::objectSize({&region, 1}, 0, limit);
}

// A pipe reports no size: what was read is all there is.
std::uint64_t readSize(std::span<const std::uint8_t> bytes, std::uint64_t fileSize) {
  return std::max<std::uint64_t>(fileSize, bytes.size());
}

}  // namespace

FileLoad textFileLoad(std::span<const std::uint8_t> bytes, std::uint64_t fileSize) {
  const std::uint64_t size = readSize(bytes, fileSize);
  if (size == 0)
    return refused(FileKind::Text, LoadFailure::EmptyFile);
  if (size >= kFileSizeRefused)
    return refused(FileKind::Text, LoadFailure::StringTooLarge);
  // Such a string could not fit even in an empty address space.
  if (size > kLargestStringBytes)
    return refused(FileKind::Text, LoadFailure::NotEnoughMemory);
  FileLoad load;
  load.image = stringImage(bytes);
  return load;
}

FileLoad objectFileLoad(std::span<const std::uint8_t> bytes, std::uint64_t fileSize) {
  if (readSize(bytes, fileSize) >= kFileSizeRefused)
    return refused(FileKind::Object, LoadFailure::ObjectTooLarge);
  if (bytes.size() < kObjectHeaderBytes)
    return refused(FileKind::Object, LoadFailure::NotValidObject);
  const std::span<const std::uint8_t> body =
      bytes.subspan(kObjectHeaderBytes)
          .first(std::min(bytes.size() - kObjectHeaderBytes, kLargestImageBytes));
  const std::uint32_t nibbles = walkedSize(body, static_cast<std::uint32_t>(2 * body.size()));
  if (nibbles <= kSmallestInvalidSize)
    return refused(FileKind::Object, LoadFailure::NotValidObject);
  FileLoad load;
  load.kind = FileKind::Object;
  load.image.nibbles = nibbles;
  load.image.bytes.assign(body.begin(), body.begin() + (nibbles + 1) / 2);
  // The nibble past an odd-sized object belongs to whatever followed it in the file.
  if (nibbles % 2 != 0)
    load.image.bytes.back() &= 0x0F;
  // An object whose walk needed nibbles past its own end (a length field longer than the
  // length it gives) would be a different object once stored alone.
  if (walkedSize(load.image.bytes, nibbles) != nibbles)
    return refused(FileKind::Object, LoadFailure::NotValidObject);
  return load;
}

FileLoad fileLoad(std::span<const std::uint8_t> bytes, std::uint64_t fileSize) {
  switch (classifyFile(bytes.first(std::min(bytes.size(), kObjectHeaderBytes)))) {
    case FileKind::State:
      return refused(FileKind::State, LoadFailure::None);
    case FileKind::Object:
      return objectFileLoad(bytes, fileSize);
    case FileKind::Text:
      break;
  }
  return textFileLoad(bytes, fileSize);
}

std::vector<std::uint8_t> objectFileBytes(std::span<const std::uint8_t> image) {
  // Sized once, then filled: growing the vector trips a false array-bounds warning of GCC 12.
  std::vector<std::uint8_t> bytes(kObjectHeaderBytes + image.size());
  std::copy(kObjectFileMagic, kObjectFileMagic + kObjectHeaderBytes, bytes.begin());
  std::copy(image.begin(), image.end(), bytes.begin() + kObjectHeaderBytes);
  return bytes;
}

bool isStringImage(std::span<const std::uint8_t> image) {
  return image.size() >= 2 && image[0] == (kStringProlog & 0xFF) &&
         image[1] == ((kStringProlog >> 8) & 0xFF);
}

std::string stringCharacters(std::span<const std::uint8_t> image) {
  if (image.size() <= kStringHeaderBytes)
    return {};
  const auto characters = image.subspan(kStringHeaderBytes);
  const auto end = std::find(characters.begin(), characters.end(), std::uint8_t{0});
  return std::string(characters.begin(), end);
}

std::string toEightBit(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size() && text[i] != 0; ++i) {
    const char16_t c = text[i];
    // A surrogate pair is one character.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF)
      ++i;
    bytes.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  }
  return bytes;
}

std::u16string fromEightBit(std::string_view text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (const char c : text) {
    if (c == 0)
      break;
    wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  }
  return wide;
}

}  // namespace tavrel::core::objects
