// What files and object images mean to the object transfer, without touching a machine: the
// object-file header, string objects, and the conversion of a file's bytes into the image
// that gets loaded. Standard library and the machine's object walker only, so that a fuzzer
// can drive it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tavrel::core::objects {

// "ZRZR58-V"; loading compares only the first kObjectMagicCompared bytes.
inline constexpr char kObjectFileMagic[] = "ZRZR58-V";
inline constexpr std::size_t kObjectHeaderBytes = 8;
inline constexpr std::size_t kObjectMagicCompared = 7;

// No object larger than the whole 2^20-nibble address space can ever be loaded, so no file is
// read further than this many image bytes.
inline constexpr std::size_t kLargestImageBytes = 0x80000;
// A string object is its characters plus 5 bytes of prolog and length.
inline constexpr std::size_t kStringHeaderBytes = 5;
inline constexpr std::size_t kLargestStringBytes = kLargestImageBytes - kStringHeaderBytes;
// Files at least this large are refused outright.
inline constexpr std::uint64_t kFileSizeRefused = std::uint64_t{1} << 32;
// The most bytes a load reads from any file.
inline constexpr std::size_t kFileReadLimit = kObjectHeaderBytes + kLargestImageBytes;

inline constexpr std::uint32_t kStringProlog = 0x02A2C;
// An object of this many nibbles or fewer is not a valid object.
inline constexpr std::uint32_t kSmallestInvalidSize = 5;

enum class FileKind { Text, Object, State };

// Why a load is refused, before calculator memory is looked at.
enum class LoadFailure {
  None,
  NotEnoughMemory,
  EmptyFile,
  StringTooLarge,
  ObjectTooLarge,
  NotValidObject,
};

// The kind of a file by its first bytes (up to 8 of them).
FileKind classifyFile(std::span<const std::uint8_t> head);

// An object image: two nibbles a byte, the lower-addressed nibble in the low half.
struct ObjectImage {
  std::vector<std::uint8_t> bytes;
  std::uint32_t nibbles = 0;
};

// The string object holding these characters (at most kLargestStringBytes of them).
ObjectImage stringImage(std::span<const std::uint8_t> characters);

struct FileLoad {
  FileKind kind = FileKind::Text;
  LoadFailure failure = LoadFailure::None;
  ObjectImage image;  // empty for a state file or a failure
};

// What a text file or an object file (header included) loads as. `bytes` are its first bytes
// as read, at most kFileReadLimit of them; `fileSize` is its whole size, which may be larger
// than what was read (0 when unknown).
FileLoad textFileLoad(std::span<const std::uint8_t> bytes, std::uint64_t fileSize);
FileLoad objectFileLoad(std::span<const std::uint8_t> bytes, std::uint64_t fileSize);
// What a file loads as, by its first bytes.
FileLoad fileLoad(std::span<const std::uint8_t> bytes, std::uint64_t fileSize);

// The bytes of an object file holding the image.
std::vector<std::uint8_t> objectFileBytes(std::span<const std::uint8_t> image);

// Whether an image starts with the string prolog.
bool isStringImage(std::span<const std::uint8_t> image);
// The characters of a string image (bytes 5 and on), cut at the first 0 byte as 8-bit text
// is.
std::string stringCharacters(std::span<const std::uint8_t> image);

// 8-bit text to and from the wide text of the clipboard: characters up to U+00FF keep their
// value, others become '?'; the text ends at its first U+0000.
std::string toEightBit(std::u16string_view text);
std::u16string fromEightBit(std::string_view text);

}  // namespace tavrel::core::objects
