// The vdis program on ROM images and state files, checked by assembling its output again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

#include "AssembleHelpers.h"
#include "RomImage.h"

namespace tavrel::vasm::test {
namespace {

class VdisProgramTest : public ::testing::Test {
 protected:
  std::filesystem::path dir_ =
      std::filesystem::temp_directory_path() / ("vdis-cli-" + std::to_string(::getpid()));
  std::filesystem::path build_ = std::getenv("TAVREL_BUILD_DIR");

  void SetUp() override { std::filesystem::create_directories(dir_); }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  int vdis(const std::string& arguments) {
    const std::string command = (build_ / "vdis").string() + " " + arguments + " >" +
                                (dir_ / "out.s").string() + " 2>" + (dir_ / "err").string();
    return std::system(command.c_str());
  }
  std::string read(const std::string& name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void writeBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(dir_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
};

constexpr const char* kProgram =
    "        ORG #100\n"
    "start:  C=0 W\n"
    "        LC #12345\n"
    "        ?C=0 A\n"
    "        GOYES start\n"
    "        NATIVE #2D\n"
    "        NIBHEX 806\n"
    "        GOSBVL start\n"
    "        ORG #40020\n"  // bank 1, at the same run address as the code of banks 4 and 5
    "near:   GOTO near\n"
    "        BANK 4\n"
    "        ORG #40020\n"
    "far:    GOTO far\n"
    "        BANK 5\n"
    "        ORG #40020\n"
    "farther: GOTO farther\n";

TEST_F(VdisProgramTest, RomImageRoundTripsThroughAllBanks) {
  const Assembly original = assemble(kProgram);
  ASSERT_TRUE(original.errors.empty()) << joinErrors(original);
  std::vector<uint8_t> image;
  ASSERT_EQ(buildRomImage(original.nibbles, image), "");
  writeBytes("p.rom", image);
  ASSERT_EQ(vdis((dir_ / "p.rom").string()), 0) << read("err");
  const std::string text = read("out.s");
  EXPECT_NE(text.find("BANK 4\n        ORG #40000\n"), std::string::npos) << text;
  EXPECT_NE(text.find("B5L40020:\n        GOTO B5L40020\n"), std::string::npos) << text;
  EXPECT_NE(text.find("NIBHEX 806"), std::string::npos) << text;
  const Assembly again = assemble(text);
  ASSERT_TRUE(again.errors.empty()) << joinErrors(again);
  std::vector<uint8_t> imageAgain;
  ASSERT_EQ(buildRomImage(again.nibbles, imageAgain), "");
  EXPECT_TRUE(image == imageAgain);
}

TEST_F(VdisProgramTest, RangeSelectsPartOfTheImage) {
  const Assembly original = assemble(kProgram);
  std::vector<uint8_t> image;
  ASSERT_EQ(buildRomImage(original.nibbles, image), "");
  writeBytes("p.rom", image);
  ASSERT_EQ(vdis((dir_ / "p.rom").string() + " --from 0x100 --to 107"), 0) << read("err");
  // The range ends inside LC #12345: its first nibble is data, the rest reads as a GOC.
  EXPECT_EQ(read("out.s"),
            "        ORG #00100\n"
            "        C=0 W\n"
            "        NIBHEX 3\n"
            "        GOC #0014A\n");
}

TEST_F(VdisProgramTest, StateFileRegionsUseTheirMappedAddress) {
  // A state file with a 3-character name and port 0 configured at page 80.
  std::vector<uint8_t> file = {'s', '#', 't', 'a', 'v', 'r', 'e', 'l', 3, 0, 0, 0};
  for (char c : std::string("ZR ")) {
    file.push_back(static_cast<uint8_t>(c));
    file.push_back(0);
  }
  file.resize(file.size() + 8, 0);              // clock offset
  file.insert(file.end(), {0xE0, 0x0F, 0, 0});  // record size 4064
  const size_t record = file.size();
  file.resize(record + 4064 + 262144 + 131072 + 4096 + 7 * 131072, 0);
  file[record + 0xEA8] = 3;     // register block and port 0 configured
  file[record + 0xEB4] = 0x80;  // port 0 at page 80
  const Assembly code = assemble("ORG #80000\nloop: A=A+1 A\nGOTO loop\n");
  const size_t port0 = record + 4064;
  for (size_t i = 0; i < code.nibbles.size() - 0x80000; ++i) {
    file[port0 + i / 2] |= static_cast<uint8_t>(code.nibbles[0x80000 + i] << (4 * (i % 2)));
  }
  writeBytes("s.vstate", file);
  ASSERT_EQ(vdis("--state " + (dir_ / "s.vstate").string() + " --region port0 --to 80010"), 0)
      << read("err");
  EXPECT_EQ(read("out.s"),
            "        ORG #80000\n"
            "L80000:\n"
            "        A=A+1 A\n"
            "        GOTO L80000\n"
            "        RTNSXM\n"
            "        RTNSXM\n"
            "        RTNSXM\n"
            "        RTNSXM\n"
            "        RTNSXM\n");
}

TEST_F(VdisProgramTest, BadInputGetsAMessage) {
  writeBytes("short.vstate", {'s', '#', 't', 'a', 'v', 'r', 'e', 'l', 0, 0, 0, 0});
  EXPECT_NE(vdis("--state " + (dir_ / "short.vstate").string() + " --region port0"), 0);
  EXPECT_EQ(read("err"), "vdis: not a whole state file (wrong length or record size)\n");
  writeBytes("bad.rom", {7, 1, 0, 0, 0, 0, 0, 0, 1, 2});
  EXPECT_NE(vdis((dir_ / "bad.rom").string()), 0);
  EXPECT_EQ(read("err"), "vdis: ROM image ends inside bank 0\n");
  EXPECT_NE(vdis("--state x --region nowhere"), 0);
  EXPECT_EQ(read("err"), "vdis: cannot open x\n");
}

}  // namespace
}  // namespace tavrel::vasm::test
