// Files dragged onto the skin window on a real X server: one text file is loaded onto the
// calculator's stack as a string, which the menu's "Copy string" gives back.
#include <gtest/gtest.h>

#include <fstream>

#include "e2e_fixture.h"
#include "e2e_selection.h"

namespace tavrel::e2e {
namespace {

using namespace std::chrono_literals;

using DroppedFileTest = ProgramTest;

TEST_F(DroppedFileTest, OneTextFileIsPushedAsAString) {
  ASSERT_NO_FATAL_FAILURE(turnOffSaveOnExit());
  ASSERT_NO_FATAL_FAILURE(startProgram());
  // A blank in the path: the path travels in a command line.
  const fs::path note = folder_ / "dropped note.txt";
  std::ofstream(note) << "e2e dropped text";
  CSelectionClient desktop;
  ASSERT_TRUE(desktop.connected());

  const std::vector<unsigned long> before = stackPixels();
  ASSERT_TRUE(desktop.dropFiles(window_, 150, 300, {note.string()}, 60s)) << "see " << log();
  EXPECT_TRUE(waitUntil([&] { return stackPixels() != before; }));
  ASSERT_NO_FATAL_FAILURE(chooseFromMenu({"f", "c"}));  // File, Copy string
  EXPECT_TRUE(waitUntil([&] { return desktop.clipboardText(5s) == "e2e dropped text"; }))
      << desktop.clipboardText(5s).value_or("(no clipboard)");
  EXPECT_EQ(closeProgram(), std::optional<int>(0)) << "see " << log();
}

}  // namespace
}  // namespace tavrel::e2e
