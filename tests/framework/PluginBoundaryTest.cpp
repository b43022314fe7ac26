#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "tavrel/DynamicLibrary.h"
#include "tavrel/Memory.h"
#include "tavrel/Singleton.h"
#include "tavrel/excpt/Exception.h"
#include "tavrel/fn/Function.h"

using namespace tavrel;

namespace {

using TextFunction = fn::Function<fn::ret<std::u16string>, std::u16string>;
using Notice = fn::Function<fn::ret<void>, std::u16string>;

std::u16string componentsDir() {
  const char* build = std::getenv("TAVREL_BUILD_DIR");
  return QString::fromUtf8(build != nullptr ? build : ".").toStdU16String() + u"/components";
}

// The plug-in named the way data files name libraries.
std::u16string pluginAsDataFilesNameIt() {
  return componentsDir() + u"\\framework_test_plugin.dll";
}

class PluginBoundary : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plugin_.load(pluginAsDataFilesNameIt()))
        << QString::fromStdU16String(plugin_.error()).toStdString();
  }

  template <class F>
  F exported(const char* name) {
    F function = plugin_.resolveFunction<F>(name);
    EXPECT_NE(function, nullptr) << name;
    return function;
  }

  CDynamicLibrary plugin_;
};

int multiply(int a, int b) {
  return a * b;
}

}  // namespace

TEST_F(PluginBoundary, DataFileNamesMapToThePlatformFile) {
  EXPECT_EQ(CDynamicLibrary::platformFileName(u"a\\b\\command.DLL"), u"a/b/command.so");
  EXPECT_EQ(QString::fromStdU16String(plugin_.fileName()),
            QDir(QString::fromStdU16String(componentsDir()))
                .absoluteFilePath(QStringLiteral("framework_test_plugin.so")));
}

TEST_F(PluginBoundary, PluginCallsFunctionsTheHostHandsIt) {
  fn::Function<fn::ret<int>, int, int> product = fn::bind(&multiply);
  auto callUntyped = exported<int (*)(const fn::IFunctionBase*, int, int)>("pluginCallUntyped");
  EXPECT_EQ(callUntyped(product.base(), 6, 7), 42);

  int captured = 0;
  TextFunction host = [&captured](std::u16string text) {
    ++captured;
    return u"host got " + text;
  };
  auto callTyped = exported<void (*)(const TextFunction&, std::u16string&)>("pluginCallTyped");
  std::u16string answer;
  callTyped(host, answer);
  EXPECT_EQ(answer, u"host got from plugin");
  EXPECT_EQ(captured, 1);
}

TEST_F(PluginBoundary, HostCallsCopiesAndReleasesAPluginFunction) {
  auto make = exported<fn::IFunctionBase* (*)()>("pluginMakeFunction");
  TextFunction fromPlugin = TextFunction::adopt(make());
  ASSERT_FALSE(fromPlugin.empty());
  TextFunction copy = fromPlugin;  // cloned by the plug-in
  EXPECT_EQ(fromPlugin(u"one"), u"plugin:one");
  EXPECT_EQ(copy(u"two"), u"plugin:two");
}

TEST_F(PluginBoundary, HostCatchesPluginExceptionsByBaseCode) {
  auto raise = exported<void (*)()>("pluginRaise");
  try {
    raise();
    FAIL() << "nothing raised";
  } catch (const excpt::SkinException& e) {
    EXPECT_EQ(e.code(), 4002);
  }
}

TEST_F(PluginBoundary, ProcessLockIsSharedWithThePlugin) {
  auto pluginLock = exported<void* (*)()>("pluginProcessLock");
  auto tryElsewhere = exported<bool (*)()>("pluginTryProcessLockElsewhere");
  CMemory& memory = TSingleton<CMemory>::instance();
  EXPECT_EQ(pluginLock(), &memory.processLock());
  EXPECT_TRUE(tryElsewhere());
  {
    std::lock_guard held(memory);
    EXPECT_FALSE(tryElsewhere());
  }
  EXPECT_TRUE(tryElsewhere());
}

TEST_F(PluginBoundary, UnloadDestroysThePluginsSingletons) {
  std::u16string notice;
  Notice onDestroy = [&notice](std::u16string text) { notice = text; };
  exported<void (*)(const Notice&)>("pluginCreateState")(onDestroy);
  EXPECT_TRUE(notice.empty());
  EXPECT_TRUE(plugin_.unload());
  EXPECT_EQ(notice, u"plugin state destroyed");
  EXPECT_FALSE(plugin_.isLoaded());
  EXPECT_EQ(plugin_.resolve("pluginRaise"), nullptr);
}

TEST_F(PluginBoundary, AFileThatIsNotALibraryIsRefusedAndChangesNothing) {
  QTemporaryDir dir;
  const QString fake = dir.filePath(QStringLiteral("fake.so"));
  QFile file(fake);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("this is not a library\n");
  file.close();

  const std::u16string loadedBefore = plugin_.fileName();
  EXPECT_FALSE(plugin_.load(dir.filePath(QStringLiteral("fake.dll")).toStdU16String()));
  const QString error = QString::fromStdU16String(plugin_.error());
  EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot load library "))) << error.toStdString();
  EXPECT_TRUE(error.contains(QStringLiteral("fake"))) << error.toStdString();
  EXPECT_TRUE(plugin_.isLoaded());
  EXPECT_EQ(plugin_.fileName(), loadedBefore);
  EXPECT_NE(plugin_.resolve("pluginRaise"), nullptr);

  CDynamicLibrary missing;
  EXPECT_FALSE(missing.load(dir.filePath(QStringLiteral("absent.dll")).toStdU16String()));
  EXPECT_TRUE(QString::fromStdU16String(missing.error()).contains(QStringLiteral("no such file")));
  EXPECT_FALSE(missing.unload());
}
