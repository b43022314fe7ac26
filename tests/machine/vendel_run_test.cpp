// vendel-run end to end: the built program on real files.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Assembler.h"
#include "interpreter_test_machine.h"

namespace tavrel::machine {
namespace {

class VendelRun : public ::testing::Test {
 protected:
  VendelRun() {
    // The build folder: from CTest's environment, else the one this program was built in.
    const char* build = std::getenv("TAVREL_BUILD_DIR");
    program = (build != nullptr
                   ? std::filesystem::path(build)
                   : std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path()) /
              "vendel-run";
    folder =
        std::filesystem::temp_directory_path() / ("vendel_run_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
  }
  ~VendelRun() override { std::filesystem::remove_all(folder); }

  std::filesystem::path rom(std::string_view source) {
    const vasm::Assembly assembly = vasm::assemble(source);
    EXPECT_TRUE(assembly.errors.empty());
    const std::vector<uint8_t> image = romImageOf(assembly.nibbles);
    const std::filesystem::path path = folder / "test.rom";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    return path;
  }
  // Runs the program; returns its exit status, with standard output and error in out/err.
  int run(const std::string& arguments) {
    const std::string command = program.string() + " " + arguments + " >" +
                                (folder / "out").string() + " 2>" + (folder / "err").string();
    const int status = std::system(command.c_str());
    out = slurp(folder / "out");
    err = slurp(folder / "err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  static std::string slurp(const std::filesystem::path& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
  }

  std::filesystem::path program;
  std::filesystem::path folder;
  std::string out;
  std::string err;
};

TEST_F(VendelRun, BadArgumentsExitTwoWithAMessage) {
  EXPECT_EQ(run(""), 2);
  EXPECT_NE(err.find("--rom"), std::string::npos);
  EXPECT_EQ(run("--rom x --steps ten"), 2);
  EXPECT_NE(err.find("--steps"), std::string::npos);
  EXPECT_EQ(run("--rom x --steps 1 --bogus"), 2);
  EXPECT_EQ(run("--rom x --steps"), 2);
}

TEST_F(VendelRun, UnreadableRomExitsTwo) {
  EXPECT_EQ(run("--rom " + (folder / "absent.rom").string() + " --steps 1"), 2);
  EXPECT_NE(err.find("absent.rom"), std::string::npos);
}

TEST_F(VendelRun, RunsExactlyNStepsAndPrintsRegisters) {
  const auto path = rom("loop: A=A+1 A\nGOTO loop");
  ASSERT_EQ(run("--rom " + path.string() + " --steps 7 --print-regs"), 0) << err;
  EXPECT_NE(out.find("STEPS=7\n"), std::string::npos) << out;
  EXPECT_NE(out.find("A=0000000000000004\n"), std::string::npos) << out;
  EXPECT_NE(out.find("PC=00002\n"), std::string::npos) << out;
  EXPECT_NE(out.find("STOPPED_AT_SHUTDN=0\n"), std::string::npos) << out;
}

TEST_F(VendelRun, ShutdnEndsTheRunEarlyAtThe807) {
  const auto path = rom("P= 3\nP= 4\nSHUTDN\nP= 5");
  ASSERT_EQ(run("--rom " + path.string() + " --steps 1000 --print-regs"), 0) << err;
  EXPECT_NE(out.find("STEPS=2\n"), std::string::npos) << out;
  EXPECT_NE(out.find("PC=00004\n"), std::string::npos) << out;
  EXPECT_NE(out.find("P=4\n"), std::string::npos) << out;
  EXPECT_NE(out.find("STOPPED_AT_SHUTDN=1\n"), std::string::npos) << out;
}

TEST_F(VendelRun, StateOutThenStateInContinuesTheRun) {
  const auto path = rom("loop: A=A+1 A\nGOTO loop");
  const auto state = folder / "s.vstate";
  ASSERT_EQ(run("--rom " + path.string() + " --steps 5 --state-out " + state.string()), 0) << err;
  EXPECT_EQ(std::filesystem::file_size(state), 1318914u);
  ASSERT_EQ(
      run("--rom " + path.string() + " --steps 4 --state-in " + state.string() + " --print-regs"),
      0)
      << err;
  EXPECT_NE(out.find("A=0000000000000005\n"), std::string::npos) << out;
  // The same run in one go gives the same state file byte for byte.
  const auto whole = folder / "whole.vstate";
  const auto split = folder / "split.vstate";
  run("--rom " + path.string() + " --steps 9 --state-out " + whole.string());
  run("--rom " + path.string() + " --steps 4 --state-in " + state.string() + " --state-out " +
      split.string());
  EXPECT_EQ(slurp(whole), slurp(split));
}

TEST_F(VendelRun, DamagedStateInExitsTwo) {
  const auto path = rom("SHUTDN");
  const auto state = folder / "bad.vstate";
  std::ofstream(state) << "s#tavrel and not much else";
  EXPECT_EQ(run("--rom " + path.string() + " --steps 1 --state-in " + state.string()), 2);
  EXPECT_NE(err.find("Invalid state file"), std::string::npos) << err;
}

}  // namespace
}  // namespace tavrel::machine
