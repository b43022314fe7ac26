#pragma once

#include <functional>

#include "lang/LangPack.h"
#include "tavrel/command/CommandInterface.h"

namespace tavrel {

// The shell's entries on the preferences page ("loadPrefsSystem"): "00 Lang", the language
// box, and the check boxes "10 AlwaysOnTop" and "11 Persist". Added for the object's life;
// without a preferences service there are none.
class CShellPreferences {
 public:
  struct Flag {
    std::function<bool()> value;
    std::function<void(bool)> changed;
  };

  CShellPreferences(CommandInterface& commands, CLangPack& lang, Flag alwaysOnTop, Flag persist);
  ~CShellPreferences();
  CShellPreferences(const CShellPreferences&) = delete;
  CShellPreferences& operator=(const CShellPreferences&) = delete;

  static constexpr char16_t kAlwaysOnTopEntry[] = u"10 AlwaysOnTop";
  static constexpr char16_t kPersistEntry[] = u"11 Persist";

 private:
  CommandInterface& commands_;
  bool added_ = false;
};

}  // namespace tavrel
