// statfolio receive end to end: the XMODEM sender sends a folio file image over a terminal
// pair, and the program writes the same CSV that statfolio csv writes from the file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "FolioBuilder.h"
#include "LinkTestSupport.h"
#include "SampleFolios.h"
#include "TestSupport.h"

namespace tavrel::statexport::link::test {
namespace {

std::string statfolioPath() {
  const char* build = std::getenv("TAVREL_BUILD_DIR");
  return std::string(build ? build : TAVREL_BUILD_DIR_FALLBACK) + "/statfolio";
}

class StatfolioReceive : public ::testing::Test {
 protected:
  struct Run {
    std::optional<int> status;
    std::string errors;
  };

  std::unique_ptr<ChildProcess> start(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{statfolioPath(), "receive"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return std::make_unique<ChildProcess>(argv, "", folder.path("stderr.txt"));
  }
  Run receive(const std::vector<std::string>& arguments) {
    const std::optional<int> status = start(arguments)->wait();
    return {status, readFile(folder.path("stderr.txt"))};
  }

  // The port and output with short waits, so the fallback to checksum mode comes soon.
  static std::vector<std::string> quickArguments(const std::string& port,
                                                 const std::string& output) {
    return {"--port", port, output, "--status-delay-ms", "0", "--header-wait-ms", "40"};
  }

  TempFolder folder;
};

TEST_F(StatfolioReceive, ReceivedFolioBecomesTheGoldenCsv) {
  PtyPair pty;
  const std::string image = folder.path("mixed.folio");
  const std::vector<std::uint8_t> bytes =
      statexport::testing::folioImage("Mix", statexport::test::mixedColumnsFolio());
  writeFile(image, bytes);
  const std::string output = folder.path("mixed.csv");

  const std::unique_ptr<ChildProcess> program = start(quickArguments(pty.nearPath(), output));
  ChildProcess sender({"sx", "-X", "-b", image}, pty.farPath());

  EXPECT_EQ(program->wait(), std::optional<int>(0));
  EXPECT_EQ(sender.wait(), std::optional<int>(0));
  EXPECT_EQ(readFile(output), statexport::test::golden("mixed_columns.csv"));
  const std::string errors = readFile(folder.path("stderr.txt"));
  EXPECT_NE(errors.find("Retry 16...\nReceived Packet# 1...\n"), std::string::npos) << errors;
}

TEST_F(StatfolioReceive, SilentLineFailsAndWritesNothing) {
  PtyPair pty;
  FarEnd far(pty.farPath());
  const Run run = receive(quickArguments(pty.nearPath(), folder.path("none.csv")));
  EXPECT_EQ(run.status, std::optional<int>(1));
  EXPECT_NE(run.errors.find("Retry 16..."), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(folder.path("none.csv")));
}

TEST_F(StatfolioReceive, MissingPortIsReported) {
  const Run run = receive({"--port", "/dev/nonexistent-calculator-line", folder.path("x.csv"),
                           "--status-delay-ms", "0"});
  EXPECT_EQ(run.status, std::optional<int>(1));
  EXPECT_EQ(run.errors, "Calculator Not Connected\n");
}

TEST_F(StatfolioReceive, BadArgumentsShowTheUsage) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{folder.path("x.csv")},
        {"--port", "/dev/null", folder.path("x.csv"), "--status-delay-ms", "soon"},
        {"--port", "/dev/null", folder.path("x.csv"), "--header-wait-ms", "0"},
        {"--port", "/dev/null"}}) {
    const Run run = receive(arguments);
    EXPECT_EQ(run.status, std::optional<int>(2));
    EXPECT_NE(run.errors.find("usage:"), std::string::npos);
  }
}

}  // namespace
}  // namespace tavrel::statexport::link::test
