#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tavrel/Registry.h"
#include "tavrel/excpt/Exception.h"

using namespace tavrel;

namespace {

std::u16string u16(const QString& text) {
  return text.toStdU16String();
}

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(content);
}

// A user store and a machine store in a fresh folder. The machine store is filled first
// through a registry that treats it as its user store.
class RegistryTest : public testing::Test {
 protected:
  QString userFile() const { return dir_.filePath(QStringLiteral("user/store.settings")); }
  QString machineFile() const { return dir_.filePath(QStringLiteral("machine/store.settings")); }

  template <class Fill>
  void fillMachine(Fill fill) {
    CRegistry machine(u16(machineFile()), u"");
    fill(machine);
  }
  CRegistry open() const { return CRegistry(u16(userFile()), u16(machineFile())); }

  QTemporaryDir dir_;
};

}  // namespace

TEST_F(RegistryTest, TextFallsBackToTheMachineStoreWhenMissingOrNotText) {
  fillMachine([](CRegistry& machine) {
    ASSERT_TRUE(machine.createKey(u"", u"lib"));
    ASSERT_TRUE(machine.writeText(u"lib", u"dir", u"machine-components"));
    ASSERT_TRUE(machine.writeText(u"", u"Lang", u"de"));
    ASSERT_TRUE(machine.writeText(u"", u"DataPath", u"machine-data"));
  });
  CRegistry registry = open();
  EXPECT_EQ(registry.readText(u"lib", u"dir"), u"machine-components");  // user sub-key missing
  registry.writeNumber32(u"", u"Lang", 7);                              // not a text
  EXPECT_EQ(registry.readText(u"", u"Lang"), u"de");
  ASSERT_TRUE(registry.writeText(u"", u"DataPath", u"user-data"));
  EXPECT_EQ(registry.readText(u"", u"DataPath"), u"user-data");

  std::u16string out = u"default";
  EXPECT_FALSE(registry.readText(u"", u"Absent", out));
  EXPECT_EQ(out, u"default");
}

TEST_F(RegistryTest, NumbersFallBackAndRaise8001WhenUnreadable) {
  fillMachine([](CRegistry& machine) {
    machine.writeNumber32(u"", u"EMUThrottle", 2);
    machine.writeNumber32(u"", u"AlwaysOnTop", 1);
  });
  CRegistry registry = open();
  EXPECT_EQ(registry.readNumber32(u"", u"EMUThrottle"), 2u);
  registry.writeNumber32(u"", u"EMUThrottle", 4);
  EXPECT_EQ(registry.readNumber32(u"", u"EMUThrottle"), 4u);

  EXPECT_THROW(registry.readNumber32(u"", u"Missing"), excpt::SettingReadException);
  ASSERT_TRUE(registry.writeText(u"", u"PersistState", u"1"));
  // Present in the user store but not a number: unreadable, not taken from elsewhere.
  EXPECT_THROW(registry.readNumber32(u"", u"PersistState"), excpt::SettingsException);
  registry.writeNumber64(u"", u"Big", 1ull << 40);
  EXPECT_THROW(registry.readNumber32(u"", u"Big"), excpt::SettingReadException);
  EXPECT_EQ(registry.readNumber64(u"", u"AlwaysOnTop"), 1u);  // 32-bit read as 64-bit
}

TEST_F(RegistryTest, WritesNeedAnExistingUserKeyAndRaise8002) {
  CRegistry registry = open();
  EXPECT_THROW(registry.writeNumber32(u"skins\\Blue", u"Pos", 1), excpt::SettingWriteException);
  EXPECT_FALSE(registry.writeText(u"skins\\Blue", u"Saved", u"x.vst"));
  EXPECT_NE(registry.lastError().find(u"does not exist"), std::u16string::npos);

  ASSERT_TRUE(registry.createKey(u"skins", u"Blue"));
  EXPECT_TRUE(registry.keyExists(u"skins"));
  EXPECT_TRUE(registry.writeText(u"skins\\Blue", u"Saved", u"x.vst"));
  EXPECT_THROW(registry.writeNumber32(u"skins\\Blue", u"bad/name", 1), excpt::SettingsException);
}

TEST_F(RegistryTest, MachineStoreIsNeverWritten) {
  fillMachine([](CRegistry& machine) { ASSERT_TRUE(machine.writeText(u"", u"Lang", u"fr")); });
  const QByteArray before = readAll(machineFile());
  {
    CRegistry registry = open();
    ASSERT_TRUE(registry.writeText(u"", u"Lang", u"en"));
    EXPECT_TRUE(registry.deleteValue(u"", u"Lang"));
    EXPECT_EQ(registry.readText(u"", u"Lang"), u"fr");
  }
  EXPECT_EQ(readAll(machineFile()), before);
}

TEST_F(RegistryTest, ListsAndWideTextRoundTrip) {
  const std::vector<std::u16string> plugins = {u"Commands#command.dll", u"", u"two  spaces",
                                               u"\u00e9t\u00e9 = 100%", u"line\nbreak"};
  {
    CRegistry registry = open();
    ASSERT_TRUE(registry.createKey(u"", u"lib"));
    ASSERT_TRUE(registry.writeTextList(u"lib", u"values", plugins));
    ASSERT_TRUE(registry.writeTextList(u"lib", u"none", {}));
    ASSERT_TRUE(registry.writeText(u"lib", u"dir", u""));
  }
  CRegistry reopened = open();
  std::vector<std::u16string> read;
  ASSERT_TRUE(reopened.readTextList(u"lib", u"values", read));
  EXPECT_EQ(read, plugins);
  ASSERT_TRUE(reopened.readTextList(u"lib", u"none", read));
  EXPECT_TRUE(read.empty());
  std::u16string dir = u"unchanged";
  EXPECT_TRUE(reopened.readText(u"lib", u"dir", dir));
  EXPECT_EQ(dir, u"");
}

TEST_F(RegistryTest, PositionsWithNegativeHalvesRoundTrip) {
  {
    CRegistry registry = open();
    ASSERT_TRUE(registry.createKey(u"skins", u"Blue"));
    registry.writePosition(u"skins\\Blue", u"Pos", {-5, -20});
    registry.writeNumber64(u"", u"Max", ~0ull);
  }
  CRegistry reopened = open();
  EXPECT_EQ(reopened.readNumber64(u"skins\\Blue", u"Pos"), 0xFFFFFFFBFFFFFFECull);
  EXPECT_EQ(reopened.readPosition(u"skins\\Blue", u"Pos"), (WindowPosition{-5, -20}));
  EXPECT_EQ(reopened.readNumber64(u"", u"Max"), ~0ull);
  EXPECT_EQ(unpackPosition(packPosition({INT32_MIN, INT32_MAX})),
            (WindowPosition{INT32_MIN, INT32_MAX}));
  EXPECT_EQ(packPosition({1, 2}), 0x0000000100000002ull);
}

TEST_F(RegistryTest, KeysAreCreatedEnumeratedAndDeleted) {
  fillMachine([](CRegistry& machine) { ASSERT_TRUE(machine.createKey(u"skins", u"Machine")); });
  CRegistry registry = open();
  ASSERT_TRUE(registry.createKey(u"skins", u"Blue"));
  ASSERT_TRUE(registry.createKey(u"skins", u"Red"));
  ASSERT_TRUE(registry.createKey(u"skins\\Red", u"Inner"));
  registry.writePosition(u"skins\\Red", u"Pos", {3, 4});
  EXPECT_EQ(registry.subKeys(u"skins"), (std::vector<std::u16string>{u"Blue", u"Machine", u"Red"}));

  ASSERT_TRUE(registry.deleteKey(u"skins", u"Red"));
  EXPECT_FALSE(registry.keyExists(u"skins\\Red"));
  EXPECT_FALSE(registry.keyExists(u"skins\\Red\\Inner"));
  EXPECT_THROW(registry.readNumber64(u"skins\\Red", u"Pos"), excpt::SettingReadException);
  EXPECT_FALSE(registry.deleteKey(u"skins", u"Red"));
  // An empty key survives a reopen.
  CRegistry reopened = open();
  EXPECT_TRUE(reopened.keyExists(u"skins\\Blue"));
}

TEST_F(RegistryTest, DamagedUserStoreIsReadAroundAndLeftUnchanged) {
  fillMachine([](CRegistry& machine) { ASSERT_TRUE(machine.writeText(u"", u"Lang", u"fr")); });
  const QByteArray damaged = "sz Lang =en\ndword EMUThrottle twelve\n";
  writeFile(userFile(), damaged);
  {
    CRegistry registry = open();
    EXPECT_FALSE(registry.hasUserStore());
    EXPECT_EQ(registry.readText(u"", u"Lang"), u"fr");
    EXPECT_FALSE(registry.writeText(u"", u"Lang", u"de"));
    EXPECT_NE(registry.lastError().find(u"damaged"), std::u16string::npos);
    EXPECT_THROW(registry.writeNumber32(u"", u"EMUThrottle", 1), excpt::SettingWriteException);
  }
  EXPECT_EQ(readAll(userFile()), damaged);
}

TEST_F(RegistryTest, MalformedLinesAndAbsurdSizesAreRefused) {
  const QByteArray cases[] = {
      "dword Big 4294967296\n",    // beyond 32 bits
      "qword Neg -1\n",            // numbers are unsigned decimal
      "sz Text missing-equals\n",  // text without its marker
      "binary Blob 00ff\n",        // no such type
      "sz =empty-path\n",
      QByteArray("sz Huge =") + QByteArray(40000, 'a') + "\n",
      QByteArray(5 * 1024 * 1024, '#'),  // larger than any store may be
  };
  for (const QByteArray& content : cases) {
    writeFile(userFile(), content);
    CRegistry registry = open();
    EXPECT_FALSE(registry.hasUserStore()) << content.left(40).toStdString();
  }
  writeFile(userFile(), "# comment\r\n\ndword Ok 4294967295\r\n");
  EXPECT_EQ(open().readNumber32(u"", u"Ok"), 0xFFFFFFFFu);

  CRegistry registry = open();
  EXPECT_FALSE(
      registry.writeText(u"", u"Huge", std::u16string(CRegistry::kMaxTextLength + 1, u'a')));
  EXPECT_FALSE(registry.writeTextList(u"", u"Many",
                                      std::vector<std::u16string>(CRegistry::kMaxListItems + 1)));
  std::u16string out;
  EXPECT_FALSE(registry.readText(u"", u"Huge", out));
}

TEST_F(RegistryTest, SavedAtOnceWithoutLeftovers) {
  CRegistry registry = open();
  ASSERT_TRUE(registry.writeText(u"", u"Lang", u"en"));
  // Another reader sees the value without the writer being closed.
  EXPECT_EQ(CRegistry(u16(userFile()), u"").readText(u"", u"Lang"), u"en");
  const QStringList files = QDir(QFileInfo(userFile()).absolutePath()).entryList(QDir::Files);
  EXPECT_EQ(files, QStringList{QStringLiteral("store.settings")});
}

TEST(RegistryLocation, DefaultStoresFollowTheXdgFolders) {
  QTemporaryDir home;
  QTemporaryDir system;
  qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
  qputenv("XDG_CONFIG_DIRS", system.path().toUtf8());
  writeFile(system.filePath(QStringLiteral("Corvanta/ZRT7 Calvane.settings")), "sz Lang =it\n");

  CRegistry registry;
  EXPECT_EQ(registry.keyPath(), u"Software\\Corvanta\\ZRT7 Calvane");
  EXPECT_EQ(registry.readText(u"", u"Lang"), u"it");
  ASSERT_TRUE(registry.writeText(u"", u"Lang", u"en"));
  EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("Corvanta/ZRT7 Calvane.settings"))));
  EXPECT_EQ(registry.readText(u"", u"Lang"), u"en");
}

TEST(RegistryWriteFailure, AWriteThatCannotBeSavedLeavesNoTrace) {
  // No file can be made below /proc, whoever runs the test.
  CRegistry registry(u"/proc/tavrel-none/store.settings", u"");
  EXPECT_THROW(registry.writeNumber32(u"", u"EMUThrottle", 3), excpt::SettingWriteException);
  EXPECT_NE(registry.lastError().find(u"cannot save"), std::u16string::npos);
  EXPECT_THROW(registry.readNumber32(u"", u"EMUThrottle"), excpt::SettingReadException);
  EXPECT_FALSE(registry.writeText(u"", u"Lang", u"en"));
  std::u16string out;
  EXPECT_FALSE(registry.readText(u"", u"Lang", out));
}
