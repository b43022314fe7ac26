// The statfolio program end to end: arguments, exit codes, messages and the files it writes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include "FolioBuilder.h"
#include "SampleFolios.h"
#include "TestSupport.h"

namespace tavrel::statexport {
namespace {

using test::TempDir;

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) {
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return out + "'";
}

class Statfolio : public ::testing::Test {
 protected:
  struct Run {
    int status;
    std::string errors;
  };

  Run run(const std::vector<std::string>& arguments) {
    const char* build = std::getenv("TAVREL_BUILD_DIR");
    std::string command =
        quoted(std::string(build ? build : TAVREL_BUILD_DIR_FALLBACK) + "/statfolio");
    for (const std::string& argument : arguments) {
      command += " " + quoted(argument);
    }
    const std::string errorFile = dir.path("stderr.txt").string();
    command += " 2>" + quoted(errorFile);
    const int raw = std::system(command.c_str());
    Run result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::readText(errorFile)};
    std::filesystem::remove(errorFile);
    return result;
  }
  std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    test::writeBytes(dir.path(name), bytes);
    return dir.path(name).string();
  }
  std::string out(const std::string& name) const { return dir.path(name).string(); }

  TempDir dir;
};

TEST_F(Statfolio, FolioFileBecomesTheGoldenCsv) {
  const std::string input =
      write("mixed.folio", testing::folioImage("Mix", test::mixedColumnsFolio()));
  const Run result = run({"csv", input, out("mixed.csv")});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.errors, "");
  EXPECT_EQ(test::readText(out("mixed.csv")), test::golden("mixed_columns.csv"));
}

TEST_F(Statfolio, BareObjectWithName) {
  const std::string input = write("single.obj", testing::packNibbles(test::singleColumnFolio()));
  EXPECT_EQ(run({"csv", "--bare", input, out("single.csv"), "--name", "Mine"}).status, 0);
  EXPECT_EQ(test::readText(out("single.csv")), test::golden("single_column.csv"));
}

TEST_F(Statfolio, SeveralFoliosTakeThePickedOrTheFirst) {
  const std::string input =
      write("two.folio", testing::folioImage("Two", test::folioDirWithTwoFolios()));
  EXPECT_EQ(run({"csv", input, out("first.csv")}).status, 0);
  EXPECT_EQ(test::readText(out("first.csv")), test::golden("foliodir_beta.csv"));
  EXPECT_EQ(run({"csv", input, out("alpha.csv"), "--pick", "Alpha"}).status, 0);
  EXPECT_EQ(test::readText(out("alpha.csv")), test::golden("foliodir_alpha.csv"));

  const Run missing = run({"csv", input, out("gamma.csv"), "--pick", "Gamma"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.errors.find("No folio is titled \"Gamma\"; the folios are: \"Beta\" \"Alpha\""),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(out("gamma.csv")));
}

TEST_F(Statfolio, FailuresPrintTheMessageAndExitOne) {
  const Run missing = run({"csv", out("nothing.folio"), out("x.csv")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.errors, "Could not open file.\n");

  const std::string notFolio = write("real.folio", testing::folioImage("R", testing::real("2")));
  const Run wrong = run({"csv", notFolio, out("x.csv")});
  EXPECT_EQ(wrong.status, 1);
  EXPECT_EQ(wrong.errors,
            "The data does not appear to contain a Statistics folio.\nPlease try again.\n");

  const std::string empty = write("empty.obj", {});
  EXPECT_EQ(run({"csv", "--bare", empty, out("x.csv")}).errors, "Could not read folio.\n");
  EXPECT_FALSE(std::filesystem::exists(out("x.csv")));

  const std::string good = write("ok.folio", testing::folioImage("S", test::singleColumnFolio()));
  const Run unwritable = run({"csv", good, out("no/such/dir.csv")});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.errors.rfind("Could not save file.\n", 0), 0u);
}

TEST_F(Statfolio, BadArgumentsPrintUsageAndExitTwo) {
  const std::string input = write("s.folio", testing::folioImage("S", test::singleColumnFolio()));
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"export"},
      {"csv"},
      {"csv", input},
      {"csv", input, out("a.csv"), out("b.csv")},
      {"csv", input, out("a.csv"), "--frobnicate"},
      {"csv", input, out("a.csv"), "--pick"},
      {"csv", input, out("a.csv"), "--name", "N"},
      {"csv", input, out("a.csv"), "--bare", "--bare"},
  };
  for (const auto& arguments : bad) {
    const Run result = run(arguments);
    EXPECT_EQ(result.status, 2) << ::testing::PrintToString(arguments);
    EXPECT_EQ(result.errors.rfind("usage:\n", 0), 0u);
    EXPECT_NE(result.errors.find("statfolio csv INPUT OUTPUT.csv"), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(out("a.csv")));
}

}  // namespace
}  // namespace tavrel::statexport
