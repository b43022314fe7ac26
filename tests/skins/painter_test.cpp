// skin-painter as the build runs it: the same input gives the same bytes, and bad input gets a
// message and leaves the output folder as it was.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "skin_model.h"

namespace tavrel::skintest {
namespace {

struct PainterRun {
  int exitCode = -1;
  QString errors;
};

PainterRun paint(const QString& layout, const QString& templateFile, const QString& out) {
  QProcess painter;
  painter.start(buildDir() + "/skin-painter", {layout, templateFile, out});
  if (!painter.waitForFinished(120000)) {
    return {};
  }
  return {painter.exitStatus() == QProcess::NormalExit ? painter.exitCode() : -1,
          QString::fromLocal8Bit(painter.readAllStandardError())};
}

QString layoutOf(const QString& skin) {
  return sourceDir() + "/data/skins/" + skin + "/layout.json";
}
QString skinTemplate() {
  return sourceDir() + "/data/skins/skin.xml.in";
}

// Every file of a folder with its bytes.
std::map<QString, QByteArray> contents(const QString& folder) {
  std::map<QString, QByteArray> files;
  for (const QString& name : QDir(folder).entryList(QDir::Files)) {
    QFile file(folder + "/" + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    files[name] = file.readAll();
  }
  return files;
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

class PainterTest : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return temp.filePath(name); }
  QTemporaryDir temp;
};

TEST_F(PainterTest, SameLayoutGivesTheSameBytes) {
  for (const char* skin : {"demo", "large"}) {
    SCOPED_TRACE(skin);
    ASSERT_EQ(paint(layoutOf(skin), skinTemplate(), path("first")).exitCode, 0);
    ASSERT_EQ(paint(layoutOf(skin), skinTemplate(), path("second")).exitCode, 0);
    const auto first = contents(path("first"));
    EXPECT_GE(first.size(), 4u);
    EXPECT_EQ(first, contents(path("second")));
    EXPECT_EQ(first, contents(builtSkinDir(skin)));
    QDir(path("first")).removeRecursively();
    QDir(path("second")).removeRecursively();
  }
}

TEST_F(PainterTest, PngCarriesNoTimeOrText) {
  ASSERT_EQ(paint(layoutOf("demo"), skinTemplate(), path("out")).exitCode, 0);
  QFile png(path("out/face.png"));
  ASSERT_TRUE(png.open(QIODevice::ReadOnly));
  const QByteArray bytes = png.readAll();
  for (const char* chunk : {"tIME", "tEXt", "zTXt", "iTXt"}) {
    EXPECT_FALSE(bytes.contains(chunk)) << chunk;
  }
}

TEST_F(PainterTest, BadLayoutIsNamedAndChangesNothing) {
  ASSERT_EQ(paint(layoutOf("demo"), skinTemplate(), path("out")).exitCode, 0);
  const auto before = contents(path("out"));

  QFile demo(layoutOf("demo"));
  ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
  const QByteArray good = demo.readAll();
  const std::vector<std::pair<QByteArray, QString>> faults = {
      {QByteArray(good).replace("\"style\": \"shift\"", "\"style\": \"sparkly\""), "sparkly"},
      {QByteArray(good).replace("\"top\": 214", "\"top\": 100"), "inside the display"},
      {QByteArray(good).replace("\"pixel_size\": 2", "\"pixel_size\": \"2\""), "pixel_size"},
      {QByteArray(good).replace("\"pc\": [27]", "\"pc\": [300]"), "virtual-key"},
      {good.left(good.size() / 2), "JSON"},
  };
  for (const auto& [layout, message] : faults) {
    SCOPED_TRACE(message.toStdString());
    writeFile(path("bad.json"), layout);
    const PainterRun run = paint(path("bad.json"), skinTemplate(), path("out"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains(message)) << run.errors.toStdString();
    EXPECT_EQ(contents(path("out")), before);
  }
}

TEST_F(PainterTest, BaseLayoutsMayNotLoop) {
  writeFile(path("a.json"), R"({"base": "b.json"})");
  writeFile(path("b.json"), R"({"base": "a.json"})");
  const PainterRun run = paint(path("a.json"), skinTemplate(), path("out"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.errors.contains("nested")) << run.errors.toStdString();
  EXPECT_FALSE(QDir(path("out")).exists());
}

TEST_F(PainterTest, TemplateNeedsEveryGeneratedPartAndNoUnknownPlaceholder) {
  QFile original(skinTemplate());
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  const QByteArray text = original.readAll();
  const std::vector<std::pair<QByteArray, QString>> faults = {
      {QByteArray(text).replace("@EMU_KEYS@", ""), "@EMU_KEYS@"},
      {QByteArray(text).replace("@DIR@", "@FOLDER@"), "@FOLDER@"},
  };
  for (const auto& [templateText, message] : faults) {
    writeFile(path("skin.xml.in"), templateText);
    const PainterRun run = paint(layoutOf("demo"), path("skin.xml.in"), path("out"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains(message)) << run.errors.toStdString();
    EXPECT_FALSE(QDir(path("out")).exists());
  }
}

}  // namespace
}  // namespace tavrel::skintest
