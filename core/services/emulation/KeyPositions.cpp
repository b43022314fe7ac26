#include "KeyPositions.h"

#include "Keyboard.h"

namespace tavrel::core {
namespace {

constexpr int kRows = 7;
constexpr int kColumns = 8;
constexpr int kNone = machine::kNullKey;

constexpr int kKeyTable[kRows][kColumns] = {
    {11, 9, 0, 16, 17, 18, 19, 20},     {12, 13, 1, 21, 22, 23, 24, 25},
    {kNone, 14, 2, 26, 27, 28, 29, 30}, {kNone, 15, 3, 31, 32, 33, 34, 35},
    {kNone, 7, 4, 36, 37, 38, 39, 40},  {kNone, 8, 5, 41, 42, 43, 44, 45},
    {kNone, 10, 6, 46, 47, 48, 49, 50},
};

}  // namespace

int keyNumberOfPosition(std::int32_t position) {
  const auto bits = static_cast<std::uint32_t>(position);
  const std::uint32_t row = (bits >> 16) & 7;
  const std::uint32_t column = bits & 7;
  if (row == 0)
    return machine::kNullKey;
  return kKeyTable[row - 1][column];
}

}  // namespace tavrel::core
