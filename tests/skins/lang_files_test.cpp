// The language packs: each parses, names its own language, and gives a text for every id the
// system shows; all packs give the same ids.
#include <gtest/gtest.h>

#include <QDir>
#include <set>

#include "skin_model.h"

namespace tavrel::skintest {
namespace {

std::set<int> requiredIds() {
  std::set<int> ids = {0,    1,    4,    501,  502,  503,  520,  521,  4000, 4001,
                       4002, 6000, 7051, 8000, 8001, 8002, 9900, 9901, 9999};
  for (int id = 4101; id <= 4108; ++id) {
    ids.insert(id);
  }
  for (int id = 5001; id <= 5012; ++id) {
    ids.insert(id);
  }
  return ids;
}

QString langDir() {
  return sourceDir() + "/data/lang";
}

QStringList langFiles() {
  return QDir(langDir()).entryList({"*.xml"}, QDir::Files);
}

TEST(LangFilesTest, AtLeastTwoLanguagesAreShipped) {
  EXPECT_TRUE(langFiles().contains("en.xml"));
  EXPECT_GE(langFiles().size(), 2);
}

TEST(LangFilesTest, EachFileNamesItsLanguageAndDefinesEveryIdOnce) {
  for (const QString& file : langFiles()) {
    SCOPED_TRACE(file.toStdString());
    const LangModel lang = readLang(langDir() + "/" + file);
    ASSERT_TRUE(lang.parseError.isEmpty()) << lang.parseError.toStdString();
    // The shell takes the code from the file name and the root's "lang" for the texts.
    EXPECT_EQ(lang.rootLang, file.chopped(4));
    std::set<int> ids;
    for (const auto& [id, text] : lang.texts) {
      EXPECT_GE(id, 0) << "an id that is not a number";
      EXPECT_TRUE(ids.insert(id).second) << "id " << id << " twice";
      EXPECT_FALSE(text.trimmed().isEmpty()) << "id " << id;
      EXPECT_EQ(text, text.trimmed()) << "id " << id << " has blanks around it";
    }
    for (const int id : requiredIds()) {
      EXPECT_TRUE(ids.contains(id)) << "id " << id << " is missing";
    }
  }
}

TEST(LangFilesTest, AllFilesDefineTheSameIds) {
  std::map<QString, std::set<int>> idsOf;
  for (const QString& file : langFiles()) {
    for (const auto& [id, text] : readLang(langDir() + "/" + file).texts) {
      idsOf[file].insert(id);
    }
  }
  for (const auto& [file, ids] : idsOf) {
    EXPECT_EQ(ids, idsOf["en.xml"]) << file.toStdString();
  }
}

TEST(LangFilesTest, LanguageNamesDiffer) {
  std::set<QString> names;
  for (const QString& file : langFiles()) {
    for (const auto& [id, text] : readLang(langDir() + "/" + file).texts) {
      if (id == 0) {
        EXPECT_TRUE(names.insert(text).second) << text.toStdString();
      }
    }
  }
}

TEST(LangFilesTest, BuildCopiesThePacksBesideTheProgram) {
  for (const QString& file : langFiles()) {
    EXPECT_TRUE(QFile::exists(buildDir() + "/data/lang/" + file)) << file.toStdString();
  }
}

}  // namespace
}  // namespace tavrel::skintest
