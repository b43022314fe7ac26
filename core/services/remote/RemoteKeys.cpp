#include "RemoteKeys.h"

#include <array>

#include "Keyboard.h"

namespace tavrel::core::remote {
namespace {

// Characters other than letters, with their key numbers.
struct CharacterKey {
  char character;
  int key;
};
constexpr std::array<CharacterKey, 24> kMarks{{
    {'<', 13}, {'/', 14}, {'>', 15}, {'\'', 20}, {'\\', 31}, {'7', 32}, {'8', 33}, {'9', 34},
    {'*', 35}, {'[', 36}, {'4', 37}, {'5', 38},  {'6', 39},  {'-', 40}, {']', 41}, {'1', 42},
    {'2', 43}, {'3', 44}, {'+', 45}, {'`', 46},  {'0', 47},  {'.', 48}, {' ', 49}, {'=', 50},
}};

constexpr int kHighCodeOffset = 90;

// a-i, j-l, m-p, q-z skip the keys 9, 13-15 and 20, which have no letter.
int keyOfLetter(char letter) {
  const int n = letter - 'a';
  if (n <= 8)
    return n;
  if (n <= 11)
    return n + 1;
  if (n <= 15)
    return n + 4;
  return n + 5;
}

}  // namespace

int keyOfCharacter(std::uint8_t byte) {
  if (byte >= 0x80)
    return machine::keyFromRemoteCode(byte - kHighCodeOffset);
  if (byte >= 'a' && byte <= 'z')
    return keyOfLetter(static_cast<char>(byte));
  for (const CharacterKey& mark : kMarks) {
    if (mark.character == static_cast<char>(byte))
      return mark.key;
  }
  return machine::kNullKey;
}

}  // namespace tavrel::core::remote
