// The object transfer on the demo firmware's stack, with the machine on the test's thread:
// insertion and its memory checks, level 1 to clipboard and files, and the dialogs.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "CalculatorRamView.h"
#include "DemoCalculator.h"
#include "Memory.h"
#include "objects/CalculatorStack.h"
#include "objects/ObjectCommands.h"
#include "objects/ObjectTransfer.h"
#include "settings/CoreAccess.h"
#include "tavrel/ScriptedHostUi.h"
#include "tavrel/Text.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel::core::objects {
namespace {

using firmware_test::DemoCalculator;
namespace key = firmware_test::key;

class DemoAccess final : public ICoreAccess {
 public:
  explicit DemoAccess(machine::Machine& m) : machine_(m) {}
  machine::Machine* machine() override { return &machine_; }
  void pause() override { ++pauses; }
  void resume() override { ++resumes; }
  std::mutex& emulationLock() override { return lock_; }
  std::int64_t clockOffset() override { return 0; }
  void setClockOffset(std::int64_t) override {}
  std::u16string skinName() override { return u"Demo"; }

  int pauses = 0;
  int resumes = 0;

 private:
  machine::Machine& machine_;
  std::mutex lock_;
};

class StackTransfer : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "core_objects.XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    setCoreAccess(&access_);
    ui_.setEcho(false);
    previousUi_ = gui::setHostUi(&ui_);
  }
  void TearDown() override {
    gui::setHostUi(previousUi_);
    setCoreAccess(nullptr);
    std::filesystem::remove_all(folder_);
  }

  machine::Machine& m() { return calc_.machine(); }
  std::uint32_t read5(std::uint32_t a) { return machine::read5(m(), a); }
  void write5(std::uint32_t a, std::uint32_t v) { machine::writeNibbles(m(), a, v, 5); }
  std::vector<std::uint8_t> ram() {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(m().port0);
    return {bytes, bytes + machine::kPort0Bytes};
  }
  std::u16string path(const std::string& name) { return fromUtf8((folder_ / name).string()); }
  void writeFile(const std::string& name, const std::string& content) {
    std::ofstream(folder_ / name, std::ios::binary) << content;
  }
  std::vector<std::uint8_t> fileBytes(const std::string& name) {
    std::ifstream in(folder_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void pressOn() {
    calc_.keyDown(key::kOn);
    calc_.keyUp(key::kOn);
  }
  template <class Exception>
  std::u16string failureOf(void (*command)()) {
    try {
      command();
    } catch (const Exception& e) {
      return e.handler().message;
    }
    return u"(no failure)";
  }

  DemoCalculator calc_;
  DemoAccess access_{calc_.machine()};
  gui::CScriptedHostUi ui_;
  gui::IHostUi* previousUi_ = nullptr;
  std::filesystem::path folder_;
};

TEST_F(StackTransfer, TextFileBecomesAStringAtLevelOneAndComesBackAsText) {
  writeFile("abc.txt", "abc");
  const std::uint32_t top = read5(kTemporaryTop);
  const std::uint32_t stack = read5(kStackPointer);
  loadFileCommand(path("abc.txt"));

  const std::uint32_t object = firmware_test::levelObject(m(), 1);
  EXPECT_EQ(object, top + 1);
  EXPECT_EQ(firmware_test::prologAt(m(), object), kStringProlog);
  EXPECT_EQ(read5(object + 5), 11u);
  EXPECT_EQ(read5(object + 16), 22u);  // the size after the object counts the 0 nibble and itself
  EXPECT_EQ(read5(kTemporaryTop), top + 22);
  EXPECT_EQ(read5(kFreeStart), read5(kTemporaryTop));
  EXPECT_EQ(read5(kStackPointer), stack - 5);
  EXPECT_EQ(read5(kFreeUnits), (stack - 5 - (top + 22)) / 5);
  EXPECT_EQ(readLevel1(m()).nibbles, 16u);

  pressOn();
  EXPECT_EQ(calc_.row(6), "1:" + std::string(25, ' ') + "\"ABC\"") << calc_.lcdArt();
  storeStringCommand();
  EXPECT_EQ(gui::hostUi().clipboardText(), u"abc");
}

TEST_F(StackTransfer, MemoryCheckIsExactAndARefusalWritesNothing) {
  const ObjectImage image = stringImage({reinterpret_cast<const std::uint8_t*>("abcd"), 4});
  const std::uint32_t stack = read5(kStackPointer);
  write5(kTemporaryTop, stack - (image.nibbles + 10));
  write5(kFreeStart, stack - (image.nibbles + 10));
  const std::vector<std::uint8_t> before = ram();
  try {
    insertObject(m(), image);
    ADD_FAILURE() << "inserted without room";
  } catch (const excpt::ObjectLoadException5001& e) {
    EXPECT_EQ(e.handler().message, u"Not enough free memory to load object.");
  }
  EXPECT_TRUE(ram() == before);

  write5(kTemporaryTop, stack - (image.nibbles + 11));
  write5(kFreeStart, stack - (image.nibbles + 11));
  insertObject(m(), image);
  EXPECT_EQ(read5(kFreeUnits), 0u);
  EXPECT_EQ(read5(kStackPointer), stack - 5);
}

TEST_F(StackTransfer, HugeFilesAreRefusedByTheirSize) {
  const std::vector<std::uint8_t> before = ram();
  const auto refusal = [&](const std::string& name, std::uintmax_t size) {
    writeFile(name, name.find("vobj") != std::string::npos ? "ZRZR58-V" : "text");
    std::filesystem::resize_file(folder_ / name, size);  // sparse: nothing to read
    try {
      loadFileCommand(path(name));
    } catch (const excpt::IException& e) {
      return e.code();
    }
    return 0;
  };
  EXPECT_EQ(refusal("four.txt", std::uintmax_t{1} << 32), 5003);
  EXPECT_EQ(refusal("four.vobj", std::uintmax_t{1} << 32), 5004);
  EXPECT_EQ(refusal("mega.txt", 1 << 20), 5001);
  EXPECT_EQ(refusal("mega.vobj", 1 << 20), 5005);  // zeros make no object
  EXPECT_TRUE(ram() == before);
}

TEST_F(StackTransfer, NoStackOrNoObjectIsAStoreFailure) {
  EXPECT_EQ(failureOf<excpt::ObjectStoreException5007>(&storeStringCommand),
            u"No object exists or calculator not in a valid mode to store objects.");
  write5(kStackPointer, 0);
  EXPECT_EQ(failureOf<excpt::ObjectStoreException5007>(&storeObjectCommand),
            u"No object exists or calculator not in a valid mode to store objects.");
}

TEST_F(StackTransfer, RealAtLevelOneIsNotAString) {
  calc_.type("5 ");
  EXPECT_EQ(failureOf<excpt::ObjectStoreException5009>(&storeStringCommand),
            u"Object at the top of NQS stack is not a string.");
  for (const gui::HostUiCall& call : ui_.calls())
    EXPECT_NE(call.kind, gui::HostUiCall::Kind::WriteClipboard);
}

TEST_F(StackTransfer, StoredObjectLoadsBackAsTheSameObject) {
  calc_.type("42 ");
  ui_.queuePath(path("answer"));
  storeObjectCommand();
  const std::vector<std::uint8_t> file = fileBytes("answer.vobj");
  ASSERT_EQ(file.size(), 8u + 11u);  // a real is 21 nibbles
  EXPECT_EQ(std::string(file.begin(), file.begin() + 8), "ZRZR58-V");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);

  calc_.press(key::kF1);  // DROP
  ui_.queuePath(path("answer.vobj"));
  loadObjectCommand();
  EXPECT_EQ(firmware_test::levelReal(m(), 1), firmware_test::realOf("42"));
  const std::vector<gui::HostUiCall> calls = ui_.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].dialog.filter, u"ZR Calvane Object Files (*.vobj;*.bin)");
  EXPECT_TRUE(calls[0].dialog.flags & gui::kOverwritePrompt);
  EXPECT_TRUE(calls[1].dialog.flags & gui::kFileMustExist);
}

TEST_F(StackTransfer, OddObjectIsWrittenWithItsLastByteHalfUsed) {
  // A character object: prolog 029BF and two nibbles, 7 in all.
  insertObject(m(), ObjectImage{{0xBF, 0x29, 0x10, 0x04}, 7});
  ui_.queuePath(path("char.bin"));
  storeObjectCommand();
  const std::vector<std::uint8_t> file = fileBytes("char.bin");
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 8, file.end()),
            (std::vector<std::uint8_t>{0xBF, 0x29, 0x10, 0x04}));
}

TEST_F(StackTransfer, UnwritableTargetIsReportedAndLeavesNothing) {
  calc_.type("1 ");
  ui_.queuePath(path("missing/answer.vobj"));
  EXPECT_EQ(failureOf<excpt::ObjectStoreException5010>(&storeObjectCommand),
            u"Could not write to file.");
  EXPECT_TRUE(std::filesystem::is_empty(folder_));
}

TEST_F(StackTransfer, InterpreterIsResumedOnlyWhenItWasRunning) {
  EXPECT_EQ(failureOf<excpt::ObjectLoadException5006>(&loadStringCommand),
            u"Clipboard object not a string.");
  EXPECT_EQ(access_.pauses, 0);
  ui_.setClipboard(u"x");
  loadStringCommand();
  EXPECT_EQ(access_.pauses, 1);
  EXPECT_EQ(access_.resumes, 0);
  m().running.store(1);
  loadStringCommand();
  m().running.store(0);
  EXPECT_EQ(access_.pauses, 2);
  EXPECT_EQ(access_.resumes, 1);
}

TEST(ObjectExtension, OnlyObjectExtensionsAreKept) {
  EXPECT_EQ(withObjectExtension(u"/a/b"), u"/a/b.vobj");
  EXPECT_EQ(withObjectExtension(u"/a/b.bin"), u"/a/b.bin");
  EXPECT_EQ(withObjectExtension(u"/a/b.VOBJ"), u"/a/b.VOBJ");
  EXPECT_EQ(withObjectExtension(u"/a/b.txt"), u"/a/b.txt.vobj");
  EXPECT_EQ(withObjectExtension(u"/a.bin/b"), u"/a.bin/b.vobj");
}

}  // namespace
}  // namespace tavrel::core::objects
