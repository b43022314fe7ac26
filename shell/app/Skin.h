#pragma once

#include <memory>
#include <string>

#include "app/EventHandler.h"
#include "app/NexoCore.h"
#include "app/ShellContext.h"
#include "app/ShellPreferences.h"
#include "app/SkinTitle.h"
#include "app/WindowProcedure.h"
#include "display/ViewSwitch.h"
#include "keys/KeyCommands.h"
#include "keys/KeyInput.h"
#include "keys/KeyMapImporter.h"
#include "lang/ShellSettings.h"
#include "skin/SkinCatalog.h"
#include "skin/SkinCommands.h"
#include "skin/SkinDescription.h"
#include "skin/SkinImporter.h"

namespace tavrel {

// The loaded skin: its description and key map, its two windows, the core it boots, and the
// skin's commands ("load_skin", "toggle_fullscreen", "save_skin_details", "newromstate",
// "show_menu", the key commands and the skin list commands) and preference entries.
// Its destruction saves on exit and unloads the core.
class CSkin final : private IViewHost {
 public:
  static constexpr char16_t kCoreLibrary[] = u"NEXO";

  CSkin(ShellContext& context, const CGuiBinding& gui, CEventHandler& events);
  ~CSkin();
  CSkin(const CSkin&) = delete;
  CSkin& operator=(const CSkin&) = delete;

  // The skin named by "InitialSkin" (the first installed one, written there, when empty).
  void startInitialSkin();
  // The boot sequence: windows, core, state restore, windowed view.
  void loadSkin(const std::u16string& name);
  // "load_skin": saves when asked to, stops a macro, reloads with that skin; when that fails,
  // tells the user and goes back to the initial skin.
  void loadSkinCommand(std::u16string name);
  // "save_skin_details": once per run, when "Save state on exit" is on and a skin is loaded.
  void saveOnExit();
  void toggleFullscreen();
  // "newromstate": the initial skin again, booted from its ROM without a state.
  void newRomState();
  // "show_menu": the menu key drawn pressed and the skin's menu opened at that point.
  void showMenu(int x, int y);
  // The "menu" key's regions drawn pressed or normal in the windowed skin.
  void drawMenuKey(bool pressed) const;

  bool isLoaded() const { return loaded_; }
  const std::u16string& name() const { return name_; }
  const std::u16string& folder() const { return folder_; }
  // The state file restored at the last boot; empty when none was.
  const std::u16string& openedState() const { return opened_; }
  const SkinDescription& description() const { return description_; }
  bool isFullscreen() const { return views_.isFullscreen(); }
  const gui::LCDSettings& currentDisplay() const { return views_.currentDisplay(description_); }
  const CHitMap& hitMap() const { return keys_.hitMap; }
  CKeyInput& keyInput() { return keyInput_; }
  nexo::_NEXOInterface* core() const { return core_.record(); }
  // What both skin windows run their messages through.
  CWindowProcedure& windowProcedure() { return procedure_; }
  bool persistState() const { return persist_; }
  bool alwaysOnTop() const { return alwaysOnTop_; }

 private:
  std::u16string firstInstalledSkin();
  void reload(const std::u16string& name);
  void unload();
  void unloadCore();
  void createWindows(gui::IWindowManager& manager);
  void bootCore(const std::u16string& name);
  void restoreState();
  void showTitle(gui::IWindowManager& manager);
  SkinImportTarget importTarget();
  void setPersistState(bool on);
  void setAlwaysOnTop(bool on);

  // IViewHost
  void setInputWindow(const std::u16string& windowClass) override;
  void show(const std::u16string& windowClass, int mode) override;
  void attach(const std::u16string& windowClass, const gui::LCDSettings& lcd,
              const gui::AnnounciatorSettings& announciators) override;

  ShellContext context_;
  const CGuiBinding& gui_;
  CEventHandler& events_;
  CShellSettings settings_;
  SkinDescription description_;
  KeyMap keys_;
  CEmulatorKeySet keySet_;
  CNexoCore core_;
  CKeyCommands keyCommands_;
  CKeyInput keyInput_;
  CSkinCatalog catalog_;
  CSkinCommands skinCommands_;
  CViewSwitch views_;
  CWindowProcedure procedure_;
  CSkinTitle title_;
  std::u16string name_;
  std::u16string folder_;
  std::u16string opened_;
  bool loaded_ = false;
  bool persist_ = true;
  bool alwaysOnTop_ = false;
  CShellCommandSet commands_;
  std::unique_ptr<CShellPreferences> preferences_;
};

// The settings key of a skin, "skins\<name>".
std::u16string skinSettingsKey(const std::u16string& name);

}  // namespace tavrel
