#include "app/ShellPreferences.h"

#include "app/ShellCommands.h"
#include "tavrel/excpt/Exception.h"
#include "tavrel/gui/Preferences.h"

namespace tavrel {
namespace {

constexpr char16_t kLoadPreferences[] = u"loadPrefsSystem";
constexpr char16_t kFont[] = u"Arial";

// Null, without a word on the error stream, when no service answers.
gui::IPreferences* preferences(const CommandInterface& commands) {
  if (commands.getRegistry.empty() || commands.getRegistry()->get(kLoadPreferences) == nullptr) {
    return nullptr;
  }
  return objectOf<gui::IPreferences>(commands, kLoadPreferences);
}

gui::CheckBoxEntry checkBox(const char16_t* label, CShellPreferences::Flag flag) {
  return gui::CheckBoxEntry{label, kFont, std::move(flag.value), std::move(flag.changed)};
}

}  // namespace

CShellPreferences::CShellPreferences(CommandInterface& commands, CLangPack& lang, Flag alwaysOnTop,
                                     Flag persist)
    : commands_(commands) {
  gui::IPreferences* page = preferences(commands_);
  if (page == nullptr) {
    return;
  }
  gui::ComboBoxEntry language;
  language.label = CLangPack::kPreferenceLabel;
  language.font = kFont;
  language.fill = [&lang](std::vector<std::u16string>& items, std::u16string& selected) {
    CLangPack::LanguageChoices choices = lang.languageChoices();
    items = std::move(choices.names);
    selected = choices.selected < items.size() ? items[choices.selected] : std::u16string();
  };
  language.chosen = [&lang](const std::u16string& chosen) {
    // The handler runs inside the dialog's event: a failure is reported, not thrown there.
    try {
      lang.chooseLanguage(chosen);
    } catch (const excpt::IException& failure) {
      failure.report();
    }
  };
  page->addComboBox(std::u16string(CLangPack::kPreferenceEntry), language);
  page->addCheckBox(kAlwaysOnTopEntry, checkBox(u"Always on top", std::move(alwaysOnTop)));
  page->addCheckBox(kPersistEntry, checkBox(u"Save state on exit", std::move(persist)));
  added_ = true;
}

CShellPreferences::~CShellPreferences() {
  if (!added_) {
    return;
  }
  if (gui::IPreferences* page = preferences(commands_)) {
    page->removeEntry(std::u16string(CLangPack::kPreferenceEntry));
    page->removeEntry(kAlwaysOnTopEntry);
    page->removeEntry(kPersistEntry);
  }
}

}  // namespace tavrel
