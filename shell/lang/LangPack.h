#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "lang/TextTable.h"
#include "tavrel/Registry.h"
#include "tavrel/command/CommandInterface.h"
#include "tavrel/xml/System.h"

namespace tavrel {

// The shell's texts in the current language. Used as TSingleton<CLangPack>; while it lives
// it serves the command "get_string_tbl" (id, language code or empty) -> text.
class CLangPack {
 public:
  static constexpr std::u16string_view kFolder = u"data\\lang\\";
  static constexpr std::u16string_view kEnglishFile = u"data/lang/en.xml";
  static constexpr std::u16string_view kNoErrorText =
      u"Unable to load language pack. Error message unavailable.";
  // The preference page entry for the language box.
  static constexpr std::u16string_view kPreferenceEntry = u"00 Lang";
  static constexpr std::u16string_view kPreferenceControl = u"COMBOBOX";
  static constexpr std::u16string_view kPreferenceLabel = u"Language:";

  // Over the process's settings store, XML service and command service.
  CLangPack();
  // folder: where the "<code>.xml" files are, ending in '\' or '/'; englishFile: the file
  // read when a wanted text is missing everywhere.
  CLangPack(CRegistry& registry, xml::System& xml, CommandInterface& commands,
            std::u16string folder = std::u16string(kFolder),
            std::u16string englishFile = std::u16string(kEnglishFile));
  ~CLangPack();
  CLangPack(const CLangPack&) = delete;
  CLangPack& operator=(const CLangPack&) = delete;

  // At start: the language named by "Lang" ("en", written, when empty).
  void loadStartLanguage();
  // Makes code current (empty: "en", also written to "Lang") and reads its file into the
  // main table, then the skin's texts again over it. A file that cannot be read is replaced
  // by the English one and "en" becomes current; when that fails too the exception passes on.
  void switchLanguage(const std::u16string& code);
  const std::u16string& currentLanguage() const { return current_; }

  // The text of id in language (empty: the current one), else in the current language, else
  // empty.
  std::u16string text(std::uint32_t id, const std::u16string& language = u"") const;
  // As text(id), reading the English file once more when the text is missing and then
  // taking the English text; empty when that has none either.
  std::u16string textWithEnglishFallback(std::uint32_t id);
  // The text of an error code for the boot error box, never empty.
  std::u16string errorText(int code);

  // A handler for the content of a skin's "msg_map": its texts go to both tables, so they
  // survive a change of language. Owned by the parser it is given to.
  xml::IXMLSAXContentHandler* createSkinTextHandler();

  // The language list: display name (text 0 of each file, in its own language) -> code,
  // from every "<code>.xml" of the folder that gives one.
  std::map<std::u16string, std::u16string> languages();
  // What the language box shows: the display names in order and the one to select.
  struct LanguageChoices {
    std::vector<std::u16string> names;
    std::size_t selected = 0;
  };
  // Builds the language list anew (the box's fill handler).
  LanguageChoices languageChoices();
  // The box's change handler: switches to the language of that display name for this run
  // only ("Lang" is left as it is). Unknown names change nothing.
  void chooseLanguage(const std::u16string& displayName);

 private:
  // Reads a language file into the main table; raises what the parser raises.
  void readFile(const std::u16string& file);
  std::u16string fileOf(const std::u16string& code) const;
  std::u16string stringTableCommand(unsigned long id, std::u16string language);
  void registerCommand();
  void unregisterCommand();

  CRegistry& registry_;
  xml::System& xml_;
  CommandInterface& commands_;
  std::u16string folder_;
  std::u16string englishFile_;
  std::u16string current_ = u"en";
  CTextTable main_;
  CTextTable skin_;
  std::map<std::u16string, std::u16string> languages_;
  bool commandRegistered_ = false;
};

}  // namespace tavrel
