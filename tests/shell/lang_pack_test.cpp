#include <gtest/gtest.h>

#include <QDir>

#include "lang/LangPack.h"
#include "loader_fixture.h"

namespace tavrel::langtest {
namespace {

constexpr const char* kEnglish =
    "<tavrel_lang lang=\"en\"><msg id=\"0\">English</msg><msg id=\"4000\">Skin error</msg>"
    "<msg id=\"7\">seven</msg><msg id=\"8\" lang=\"de\">acht aus en.xml</msg></tavrel_lang>";
constexpr const char* kGerman =
    "<tavrel_lang lang=\"de\"><msg id=\"0\">Deutsch</msg><msg id=\"7\">sieben</msg>"
    "<msg>no id</msg><msg id=\"-1\">negative</msg></tavrel_lang>";

class LangPackTest : public loadertest::LoaderTest {
 protected:
  void SetUp() override {
    LoaderTest::SetUp();
    loadServices();
    QDir(folder.path()).mkdir("lang");
    writeFile(u"lang/en.xml", kEnglish);
    writeFile(u"lang/de.xml", kGerman);
    langFolder = path(u"lang") + u"\\";
  }
  void TearDown() override {
    pack.reset();
    LoaderTest::TearDown();
  }
  CLangPack& makePack() {
    pack = std::make_unique<CLangPack>(*registry, xml, commands, langFolder, path(u"lang/en.xml"));
    return *pack;
  }
  std::u16string run(const std::u16string& line) {
    auto* result = static_cast<std::u16string*>(commands.getDispatcher()->executeLine(line, 1));
    return result != nullptr ? *result : u"<no result>";
  }

  std::u16string langFolder;
  std::unique_ptr<CLangPack> pack;
};

TEST_F(LangPackTest, TextMissingInTheAskedLanguageComesFromTheCurrentOne) {
  CLangPack& lang = makePack();
  lang.switchLanguage(u"en");
  EXPECT_EQ(lang.text(4000, u"de"), u"Skin error");
  EXPECT_EQ(lang.text(7, u"de"), u"seven");  // de.xml is not read yet
  lang.switchLanguage(u"de");
  EXPECT_EQ(lang.text(7), u"sieben");
  EXPECT_EQ(lang.text(7, u"en"), u"seven");
  EXPECT_EQ(lang.text(8), u"acht aus en.xml");  // read with en.xml, language of its own
  EXPECT_EQ(lang.text(4000), u"");              // current language lacks it
  EXPECT_EQ(lang.text(12345, u"en"), u"");
}

TEST_F(LangPackTest, ServesGetStringTblWhileItLives) {
  CLangPack& lang = makePack();
  lang.switchLanguage(u"en");
  lang.switchLanguage(u"de");
  EXPECT_EQ(run(u"get_string_tbl 7 "), u"sieben");
  EXPECT_EQ(run(u"get_string_tbl 7 en"), u"seven");
  EXPECT_EQ(run(u"get_string_tbl 99 en"), u"");
  pack.reset();
  EXPECT_EQ(commands.getRegistry()->get(u"get_string_tbl"), nullptr);
}

TEST_F(LangPackTest, UnreadableLanguageFileFallsBackToEnglish) {
  CLangPack& lang = makePack();
  lang.switchLanguage(u"fr");
  EXPECT_EQ(lang.currentLanguage(), u"en");
  EXPECT_EQ(lang.text(7), u"seven");
  writeFile(u"lang/xx.xml", "<tavrel_lang lang=\"xx\"><msg id=\"7\">broken");
  lang.switchLanguage(u"xx");
  EXPECT_EQ(lang.currentLanguage(), u"en");
  EXPECT_EQ(lang.text(7, u"xx"), u"seven");  // nothing of the broken file was taken
}

TEST_F(LangPackTest, UnreadableEnglishFilePassesTheExceptionOn) {
  QFile::remove(QString::fromStdU16String(path(u"lang/en.xml")));
  CLangPack& lang = makePack();
  EXPECT_THROW(lang.switchLanguage(u"fr"), xml::XMLParseException);
  EXPECT_EQ(lang.errorText(4000), CLangPack::kNoErrorText);
}

TEST_F(LangPackTest, EmptyCodeBecomesEnglishAndIsStored) {
  ASSERT_TRUE(registry->writeText(u"", u"Lang", u"de"));
  CLangPack& lang = makePack();
  lang.switchLanguage(u"");
  EXPECT_EQ(lang.currentLanguage(), u"en");
  EXPECT_EQ(registry->readText(u"", u"Lang"), u"en");
}

TEST_F(LangPackTest, StartLanguageComesFromTheSettingsOrIsEnglish) {
  CLangPack& lang = makePack();
  lang.loadStartLanguage();
  EXPECT_EQ(lang.currentLanguage(), u"en");
  EXPECT_EQ(registry->readText(u"", u"Lang"), u"en");
  ASSERT_TRUE(registry->writeText(u"", u"Lang", u"de"));
  lang.loadStartLanguage();
  EXPECT_EQ(lang.currentLanguage(), u"de");
  EXPECT_EQ(lang.text(0), u"Deutsch");
}

TEST_F(LangPackTest, FileWithoutLangGivesItsTextsNoLanguageUnlessAMessageHasOne) {
  writeFile(u"lang/nl.xml",
            "<tavrel_lang><msg id=\"7\">zeven</msg><msg id=\"9\" lang=\"nl\">negen</msg>"
            "</tavrel_lang>");
  CLangPack& lang = makePack();
  lang.switchLanguage(u"nl");
  EXPECT_EQ(lang.currentLanguage(), u"nl");
  EXPECT_EQ(lang.text(7), u"");
  EXPECT_EQ(lang.text(9), u"negen");
}

TEST_F(LangPackTest, ErrorTextFallsBackToTheEnglishFileThenToAFixedText) {
  CLangPack& lang = makePack();
  lang.switchLanguage(u"de");
  EXPECT_EQ(lang.errorText(4000), u"Skin error");
  EXPECT_EQ(lang.errorText(4999), CLangPack::kNoErrorText);
  EXPECT_EQ(lang.textWithEnglishFallback(4999), u"");
}

TEST_F(LangPackTest, SkinTextsGoToBothTablesAndSurviveAChangeOfLanguage) {
  CLangPack& lang = makePack();
  lang.switchLanguage(u"en");
  writeFile(u"skin.xml",
            "<tavrel_skin><msg_map><msg id=\"7\" lang=\"de\">Sieben der Haut</msg>"
            "<msg id=\"500\" lang=\"en\">Skin only</msg></msg_map></tavrel_skin>");
  struct SkinRoot final : xml::IXMLSAXContentHandler {
    CLangPack* lang;
    void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                      const xml::IXMLAttributeList&) override {
      if (name == u"msg_map") {
        context.setChildHandler(lang->createSkinTextHandler());
      }
    }
    void endElement(const std::u16string&, const std::u16string&) override {}
  };
  auto* root = new SkinRoot;
  root->lang = &lang;
  xml.parse(root, path(u"skin.xml"));
  EXPECT_EQ(lang.text(500), u"Skin only");
  lang.switchLanguage(u"de");  // de.xml has its own 7; the skin's replaces it again
  EXPECT_EQ(lang.text(7), u"Sieben der Haut");
  EXPECT_EQ(lang.text(500, u"en"), u"Skin only");
}

TEST_F(LangPackTest, LanguageBoxListsReadableLanguagesAndSwitchesForThisRunOnly) {
  writeFile(u"lang/xx.xml", "<tavrel_lang lang=\"xx\"><msg id=\"0\">Broken");
  writeFile(u"lang/nl.xml", "<tavrel_lang><msg id=\"0\">Nederlands</msg></tavrel_lang>");
  writeFile(u"lang/notes.txt", "not a language");
  ASSERT_TRUE(registry->writeText(u"", u"Lang", u"en"));
  CLangPack& lang = makePack();
  lang.loadStartLanguage();
  const CLangPack::LanguageChoices choices = lang.languageChoices();
  EXPECT_EQ(choices.names, (std::vector<std::u16string>{u"Deutsch", u"English"}));
  EXPECT_EQ(choices.selected, 1u);
  EXPECT_EQ(lang.currentLanguage(), u"en");
  lang.chooseLanguage(u"Deutsch");
  EXPECT_EQ(lang.currentLanguage(), u"de");
  EXPECT_EQ(registry->readText(u"", u"Lang"), u"en");
  EXPECT_EQ(lang.languageChoices().selected, 0u);
  lang.chooseLanguage(u"Klingon");
  EXPECT_EQ(lang.currentLanguage(), u"de");
}

TEST_F(LangPackTest, LaterTextForTheSameIdAndLanguageReplacesTheEarlier) {
  writeFile(u"lang/en.xml",
            "<tavrel_lang lang=\"en\"><msg id=\"7\">first</msg><msg id=\"7\">second</msg>"
            "</tavrel_lang>");
  CLangPack& lang = makePack();
  lang.switchLanguage(u"en");
  EXPECT_EQ(lang.text(7), u"second");
}

}  // namespace
}  // namespace tavrel::langtest
