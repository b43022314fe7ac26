// data/emu_keys.xml against the key positions the core understands: every key once, under
// the names the firmware's layout uses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "DemoCalculator.h"

namespace tavrel::firmware_test {
namespace {

// Key number by position: row 1-7, column 0-7 (51: no key).
constexpr int kKeyAt[7][8] = {{11, 9, 0, 16, 17, 18, 19, 20},  {12, 13, 1, 21, 22, 23, 24, 25},
                              {51, 14, 2, 26, 27, 28, 29, 30}, {51, 15, 3, 31, 32, 33, 34, 35},
                              {51, 7, 4, 36, 37, 38, 39, 40},  {51, 8, 5, 41, 42, 43, 44, 45},
                              {51, 10, 6, 46, 47, 48, 49, 50}};

std::map<std::string, int> keyNumbersByName() {
  const char* source = std::getenv("TAVREL_SOURCE_DIR");
  std::ifstream in(std::filesystem::path(source != nullptr ? source : ".") / "data" /
                   "emu_keys.xml");
  std::stringstream text;
  text << in.rdbuf();
  const std::string xml = text.str();
  const std::regex entry(R"re(<key code="(\d+)"><id>(\w+)</id></key>)re");
  std::map<std::string, int> keys;
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), entry); it != std::sregex_iterator();
       ++it) {
    const int code = std::stoi((*it)[1]);
    const int row = code >> 16 & 7;
    const int column = code & 7;
    EXPECT_EQ(code & ~0x70007, 0) << (*it)[2];
    EXPECT_TRUE(row >= 1 && row <= 7) << (*it)[2];
    const bool fresh = keys.emplace((*it)[2], row >= 1 ? kKeyAt[row - 1][column] : 51).second;
    EXPECT_TRUE(fresh) << "two keys named " << (*it)[2];
  }
  return keys;
}

TEST(KeySet, EveryCalculatorKeyOnceWithItsName) {
  const std::map<std::string, int> keys = keyNumbersByName();
  ASSERT_EQ(keys.size(), 51u);
  std::set<int> numbers;
  for (const auto& [name, number] : keys)
    numbers.insert(number);
  EXPECT_EQ(numbers.size(), 51u);
  EXPECT_FALSE(numbers.contains(51));
  EXPECT_EQ(keys.at("KEY_ON"), key::kOn);
  EXPECT_EQ(keys.at("KEY_ENTER"), key::kEnter);
  EXPECT_EQ(keys.at("KEY_PLUS"), key::kPlus);
  EXPECT_EQ(keys.at("KEY_MINUS"), key::kMinus);
  EXPECT_EQ(keys.at("KEY_MULTIPLY"), key::kMultiply);
  EXPECT_EQ(keys.at("KEY_DIVIDE"), key::kDivide);
  EXPECT_EQ(keys.at("KEY_SHIFT"), key::kShift);
  EXPECT_EQ(keys.at("KEY_ALPHA"), key::kAlpha);
  EXPECT_EQ(keys.at("KEY_F1"), key::kF1);
  EXPECT_EQ(keys.at("KEY_F6"), key::kF6);
  for (int d = 0; d <= 9; ++d)
    EXPECT_EQ(keys.at("KEY_" + std::to_string(d)), key::digit(d)) << d;
}

}  // namespace
}  // namespace tavrel::firmware_test
