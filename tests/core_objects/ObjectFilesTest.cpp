// What a file loads as, before any calculator memory is involved: the kind by the first bytes,
// string images, object files, and the refusals with their codes and texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objects/ObjectFiles.h"

namespace tavrel::core::objects {
namespace {

std::vector<std::uint8_t> bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

// "ZRZR58-" + eighth byte + a string object "hi".
std::vector<std::uint8_t> objectFile(char eighth) {
  std::vector<std::uint8_t> file = bytes(std::string("ZRZR58-") + eighth);
  const std::vector<std::uint8_t> hi = stringImage(bytes("hi")).bytes;
  file.insert(file.end(), hi.begin(), hi.end());
  return file;
}

TEST(ObjectFiles, ThreeCharactersMakeASixteenNibbleStringWithLengthEleven) {
  const ObjectImage image = stringImage(bytes("abc"));
  EXPECT_EQ(image.nibbles, 16u);
  EXPECT_EQ(image.bytes, (std::vector<std::uint8_t>{0x2C, 0x2A, 0xB0, 0x00, 0x00, 'a', 'b', 'c'}));
  EXPECT_TRUE(isStringImage(image.bytes));
  EXPECT_EQ(stringCharacters(image.bytes), "abc");
}

TEST(ObjectFiles, KindComesFromTheFirstBytes) {
  EXPECT_EQ(classifyFile(bytes("ZRZR58-V")), FileKind::Object);
  EXPECT_EQ(classifyFile(bytes("ZRZR58-?")), FileKind::Object);  // eighth byte not examined
  EXPECT_EQ(classifyFile(bytes("ZRZR58-")), FileKind::Text);     // too short for a header
  EXPECT_EQ(classifyFile(bytes("s#tavrel")), FileKind::State);
  EXPECT_EQ(classifyFile(bytes("ZRZR57-V")), FileKind::Text);
}

TEST(ObjectFiles, ObjectFileLoadsItsObjectWhateverTheEighthByte) {
  for (const char eighth : {'V', 'x', '\0'}) {
    const FileLoad load = fileLoad(objectFile(eighth), 0);
    EXPECT_EQ(load.kind, FileKind::Object);
    ASSERT_EQ(load.failure, LoadFailure::None);
    EXPECT_EQ(load.image.nibbles, 14u);
    EXPECT_EQ(stringCharacters(load.image.bytes), "hi");
  }
}

TEST(ObjectFiles, TrailingBytesAfterTheObjectAreNotLoaded) {
  std::vector<std::uint8_t> file = objectFile('V');
  file.insert(file.end(), {0xFF, 0xFF, 0xFF});
  const FileLoad load = fileLoad(file, file.size());
  EXPECT_EQ(load.image.bytes.size(), 7u);
}

TEST(ObjectFiles, EightPlainBytesAreAnEightCharacterString) {
  const FileLoad load = fileLoad(bytes("12345678"), 8);
  EXPECT_EQ(load.kind, FileKind::Text);
  EXPECT_EQ(load.image.nibbles, 26u);
  EXPECT_EQ(stringCharacters(load.image.bytes), "12345678");
}

TEST(ObjectFiles, RefusalsComeBeforeAnythingIsRead) {
  EXPECT_EQ(fileLoad({}, 0).failure, LoadFailure::EmptyFile);
  EXPECT_EQ(fileLoad(bytes("longer text"), std::uint64_t{1} << 32).failure,
            LoadFailure::StringTooLarge);
  EXPECT_EQ(fileLoad(objectFile('V'), std::uint64_t{1} << 32).failure, LoadFailure::ObjectTooLarge);
  // A string larger than the address space cannot fit whatever the calculator holds.
  EXPECT_EQ(fileLoad(bytes("longer text"), kLargestStringBytes + 1).failure,
            LoadFailure::NotEnoughMemory);
  // A header and no object, or a prolog whose body runs past the file.
  EXPECT_EQ(fileLoad(bytes("ZRZR58-V"), 8).failure, LoadFailure::NotValidObject);
  std::vector<std::uint8_t> cut = objectFile('V');
  cut.pop_back();
  EXPECT_EQ(fileLoad(cut, cut.size()).failure, LoadFailure::NotValidObject);
}

TEST(ObjectFiles, ClipboardTextIsEightBitUpToItsTerminator) {
  EXPECT_EQ(toEightBit(u"a\u00e9\u20ac\U0001F600b"), "a\xe9??b");
  EXPECT_EQ(toEightBit(std::u16string(u"ab\0cd", 5)), "ab");
  EXPECT_EQ(fromEightBit("a\xe9"), u"a\u00e9");
}

}  // namespace
}  // namespace tavrel::core::objects
