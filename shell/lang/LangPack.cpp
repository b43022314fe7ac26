#include "lang/LangPack.h"

#include <QDir>
#include <iostream>

#include "lang/LangFileImporter.h"
#include "lang/ShellSettings.h"
#include "loader/ProcessInterfaces.h"
#include "loader/XmlSubsystem.h"
#include "tavrel/Singleton.h"
#include "tavrel/Text.h"

namespace tavrel {
namespace {

constexpr std::u16string_view kCommandName = u"get_string_tbl";
// Language files beyond this many in the folder are not offered.
constexpr int kMaxLanguageFiles = 256;

}  // namespace

CLangPack::CLangPack()
    : CLangPack(TSingleton<CRegistry>::instance(), xmlSystem(), processCommandInterface()) {}

CLangPack::CLangPack(CRegistry& registry, xml::System& xml, CommandInterface& commands,
                     std::u16string folder, std::u16string englishFile)
    : registry_(registry),
      xml_(xml),
      commands_(commands),
      folder_(std::move(folder)),
      englishFile_(std::move(englishFile)) {
  registerCommand();
}

CLangPack::~CLangPack() {
  unregisterCommand();
}

void CLangPack::registerCommand() {
  if (!commands_.createCommand || !commands_.getRegistry) {
    std::cerr << "The command service is not loaded: " << toUtf8(kCommandName)
              << " is not available.\n";
    return;
  }
  fn::Function<fn::ret<std::u16string>, unsigned long, std::u16string> handler =
      fn::bind(this, &CLangPack::stringTableCommand);
  ICommandBase* command = commands_.createCommand(std::u16string(kCommandName), handler.detach(),
                                                  nullptr, fn::ParameterList{});
  ICommandRegistry* registry = commands_.getRegistry();
  commandRegistered_ = command != nullptr && registry != nullptr && registry->add(command);
}

void CLangPack::unregisterCommand() {
  // The command service may already be gone; it then released the command itself.
  if (commandRegistered_ && commands_.getRegistry) {
    if (ICommandRegistry* registry = commands_.getRegistry()) {
      registry->remove(std::u16string(kCommandName));
    }
  }
  commandRegistered_ = false;
}

std::u16string CLangPack::stringTableCommand(unsigned long id, std::u16string language) {
  return text(static_cast<std::uint32_t>(id), language);
}

std::u16string CLangPack::fileOf(const std::u16string& code) const {
  return folder_ + code + u".xml";
}

void CLangPack::readFile(const std::u16string& file) {
  if (!xml_.parse) {
    throw xml::XMLParseException(u"Cannot read " + file + u": the XML service is not loaded.");
  }
  xml_.parse(new CLangFileImporter({&main_}), file);
}

void CLangPack::loadStartLanguage() {
  switchLanguage(CShellSettings(registry_).language());
}

void CLangPack::switchLanguage(const std::u16string& code) {
  current_ = code;
  if (current_.empty()) {
    current_ = u"en";
    CShellSettings(registry_).setLanguage(current_);
  }
  try {
    readFile(fileOf(current_));
  } catch (const excpt::IException&) {
    if (current_ == u"en") {
      throw;
    }
    std::cerr << "Language " << toUtf8(current_) << " cannot be read; English is used.\n";
    current_ = u"en";
    readFile(fileOf(current_));
  }
  main_.addAll(skin_);
}

std::u16string CLangPack::text(std::uint32_t id, const std::u16string& language) const {
  const std::u16string* found = main_.find(id, language.empty() ? current_ : language, current_);
  return found != nullptr ? *found : std::u16string();
}

std::u16string CLangPack::textWithEnglishFallback(std::uint32_t id) {
  std::u16string found = text(id);
  if (!found.empty()) {
    return found;
  }
  try {
    readFile(englishFile_);
  } catch (const excpt::IException& failure) {
    std::cerr << "The English texts cannot be read (code " << failure.code() << ").\n";
    return {};
  }
  return text(id, u"en");
}

std::u16string CLangPack::errorText(int code) {
  std::u16string found;
  if (code >= 0) {
    found = textWithEnglishFallback(static_cast<std::uint32_t>(code));
  }
  return found.empty() ? std::u16string(kNoErrorText) : found;
}

xml::IXMLSAXContentHandler* CLangPack::createSkinTextHandler() {
  return new CLangFileImporter({&main_, &skin_});
}

std::map<std::u16string, std::u16string> CLangPack::languages() {
  QString folder = QString::fromStdU16String(folder_);
  folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
  const QStringList files =
      QDir(folder).entryList({QStringLiteral("*.xml")}, QDir::Files | QDir::Readable, QDir::Name);
  languages_.clear();
  for (const QString& file : files.mid(0, kMaxLanguageFiles)) {
    const std::u16string code = file.chopped(4).toStdU16String();
    try {
      readFile(fileOf(code));
    } catch (const excpt::IException& failure) {
      std::cerr << "Language file " << file.toStdString() << " is left out (code " << failure.code()
                << ").\n";
      continue;
    }
    if (const std::u16string* name = main_.find(0, code, code); name != nullptr && !name->empty()) {
      languages_[*name] = code;
    }
  }
  return languages_;
}

CLangPack::LanguageChoices CLangPack::languageChoices() {
  LanguageChoices choices;
  for (const auto& [name, code] : languages()) {
    if (code == current_) {
      choices.selected = choices.names.size();
    }
    choices.names.push_back(name);
  }
  return choices;
}

void CLangPack::chooseLanguage(const std::u16string& displayName) {
  const auto chosen = languages_.find(displayName);
  if (chosen != languages_.end()) {
    switchLanguage(chosen->second);
  }
}

}  // namespace tavrel
