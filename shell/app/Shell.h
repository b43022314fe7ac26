#pragma once

#include <memory>
#include <string>

#include "app/EventHandler.h"
#include "app/GuiBinding.h"
#include "app/ShellContext.h"
#include "app/Skin.h"

namespace tavrel {

// The shell over its loaded service plug-ins: the language, the skin, the common commands
// and the message loop. Its parts go in the reverse order of their making, the skin first
// (which saves on exit and unloads the core).
class CShell {
 public:
  // programPath: the program file's full path, for the launch list.
  CShell(CRegistry& registry, CommandInterface& commands, CLibraryManager& libraries,
         xml::System& xml, std::u16string programPath);
  CShell(const CShell&) = delete;
  CShell& operator=(const CShell&) = delete;

  // Language, initial skin, launch list and common commands, message loop. A framework
  // exception ends it with the two boot error boxes. Returns 0.
  int run();

  CEventHandler& events() { return events_; }
  // Null until run() has made it.
  CSkin* skin() { return skin_.get(); }
  CLangPack& lang() { return lang_; }
  ShellContext& context() { return context_; }
  const CGuiBinding& gui() const { return gui_; }

 private:
  void reportBootFailure(const excpt::IException& failure);

  CLangPack lang_;
  ShellContext context_;
  CGuiBinding gui_;
  CEventHandler events_;
  std::u16string programPath_;
  std::unique_ptr<CSkin> skin_;
};

}  // namespace tavrel
