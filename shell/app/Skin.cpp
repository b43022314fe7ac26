#include "app/Skin.h"

#include <filesystem>
#include <iostream>

#include "display/Placement.h"
#include "keys/KeySetFile.h"
#include "skin/SkinFile.h"
#include "skin/SkinPosition.h"
#include "tavrel/HostUi.h"
#include "tavrel/Text.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel {
namespace {

namespace fs = std::filesystem;

constexpr char16_t kInitialSkin[] = u"InitialSkin";
constexpr char16_t kOpened[] = u"Opened";
constexpr char16_t kSaved[] = u"Saved";
constexpr char16_t kErrorTitle[] = u"ZR Calculator Emulator Error";

std::u16string decimal(long long number) {
  return fromUtf8(std::to_string(number));
}

// The file name part of a path written with either separator.
std::u16string fileNamePart(const std::u16string& path) {
  const std::size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

// The skins are found relative to the current folder; the program's folder has them when the
// current one does not.
void enterFolderWithSkins() {
  std::error_code error;
  if (fs::is_directory(fs::path(toUtf8(kSkinsFolder)), error)) {
    return;
  }
  const fs::path program = fs::read_symlink("/proc/self/exe", error).parent_path();
  if (!error && fs::is_directory(program / toUtf8(kSkinsFolder), error)) {
    fs::current_path(program, error);
  }
}

}  // namespace

std::u16string skinSettingsKey(const std::u16string& name) {
  return u"skins\\" + name;
}

CSkin::CSkin(ShellContext& context, const CGuiBinding& gui, CEventHandler& events)
    : context_(context),
      gui_(gui),
      events_(events),
      settings_(context.registry),
      keyCommands_(context.commands, keySet_, keys_.regions, description_.keyNameIndex),
      keyInput_(context.commands, keys_.regions, keys_.pcKeys),
      catalog_(context.xml),
      skinCommands_(SkinCommandServices{context.commands, catalog_, context.xml,
                                        [this](std::int32_t id) {
                                          return context_.lang.textWithEnglishFallback(
                                              static_cast<std::uint32_t>(id));
                                        },
                                        [this] { return name_; }}),
      views_(*this, context.commands),
      procedure_(context.commands, gui, events, *this),
      title_(gui),
      commands_(context.commands) {
  loadKeySet(context_.xml, keySetFilePath(context_.registry), keySet_);
  keyCommands_.setSink(&core_);
  persist_ = settings_.persistState();
  alwaysOnTop_ = settings_.alwaysOnTop();
  commands_.add(u"load_skin", fn::bind(this, &CSkin::loadSkinCommand));
  commands_.add(u"toggle_fullscreen", fn::bind(this, &CSkin::toggleFullscreen));
  commands_.add(u"save_skin_details", fn::bind(this, &CSkin::saveOnExit));
  commands_.add(u"newromstate", fn::bind(this, &CSkin::newRomState));
  commands_.add(u"show_menu", fn::bind(this, &CSkin::showMenu));
  preferences_ = std::make_unique<CShellPreferences>(
      context_.commands, context_.lang,
      CShellPreferences::Flag{[this] { return alwaysOnTop_; },
                              [this](bool on) { setAlwaysOnTop(on); }},
      CShellPreferences::Flag{[this] { return persist_; },
                              [this](bool on) { setPersistState(on); }});
}

CSkin::~CSkin() {
  try {
    saveOnExit();
  } catch (const excpt::IException& failure) {
    failure.report();
  }
  unloadCore();
}

std::u16string CSkin::firstInstalledSkin() {
  const InstalledSkins installed = catalog_.installed();
  if (installed.empty()) {
    throw excpt::NoSkinInstalledException();
  }
  const std::u16string& first = installed.begin()->first;
  if (!context_.registry.writeText(u"", kInitialSkin, first)) {
    std::cerr << "Cannot store the initial skin: " << toUtf8(context_.registry.lastError()) << '\n';
  }
  return first;
}

void CSkin::startInitialSkin() {
  std::u16string name = context_.registry.readText(u"", kInitialSkin);
  if (name.empty()) {
    name = firstInstalledSkin();
  }
  enterFolderWithSkins();
  loadSkin(name);
}

void CSkin::loadSkinCommand(std::u16string name) {
  if (persist_) {
    // The command service refuses arguments "savethis" does not take; the core saves to the
    // state file it remembers.
    runLine(context_.commands, u"savethis");
  }
  runLine(context_.commands, u"stop_playing_macro");
  reload(name);
}

void CSkin::reload(const std::u16string& name) {
  try {
    unload();
    loadSkin(name);
  } catch (const excpt::IException& failure) {
    gui::showMessage(
        u"Cannot Load Skin (Error code: " + decimal(failure.code()) + u"). Reload initial skin.",
        kErrorTitle, gui::MessageIcon::Error, gui::MessageButtons::Ok, true);
    try {
      unload();
      startInitialSkin();
    } catch (const excpt::IException& second) {
      // Without a skin there is no window left to run: the program ends.
      second.report();
      events_.setQuitFlag();
      if (gui::IWindowManager* manager = gui_.windowManager()) {
        manager->quit(0);
      }
    }
  }
}

void CSkin::unloadCore() {
  core_.setRecord(nullptr);
  context_.libraries.unloadLibrary(kCoreLibrary);
}

void CSkin::unload() {
  unloadCore();
  events_.setInputWindow({});
  if (gui::IWindowManager* manager = gui_.windowManager()) {
    for (const char16_t* windowClass : {gui::kFullscreenWindowClass, gui::kFloatingWindowClass}) {
      if (gui::IWindow* window = manager->window(windowClass)) {
        window->close();
      }
    }
  }
  loaded_ = false;
}

SkinImportTarget CSkin::importTarget() {
  SkinImportTarget target{description_, keys_, nullptr, {}, {}};
  if (!context_.commands.getCache.empty()) {
    target.cache = context_.commands.getCache();
  }
  target.bindPainter = [this](const std::u16string& exportName, const KeyRegion& region) {
    return gui_.regionPainter(exportName, region);
  };
  target.sections.messages = [this] { return context_.lang.createSkinTextHandler(); };
  target.sections.info = [this] {
    return objectOf<xml::IXMLSAXContentHandler>(context_.commands, u"loadSkinInfo");
  };
  target.sections.menuBar = [this](bool notPopup) -> xml::IXMLSAXContentHandler* {
    auto* menus = objectOf<gui::IMenuManager>(context_.commands, u"loadMenuManager");
    return menus != nullptr ? menus->menuBarHandler(gui::kFloatingWindowClass, notPopup) : nullptr;
  };
  return target;
}

void CSkin::loadSkin(const std::u16string& name) {
  if (!context_.commands.getCache.empty()) {
    context_.commands.getCache()->clear();
  }
  const std::optional<std::u16string> folderName = catalog_.folderOf(name);
  if (!folderName) {
    gui::showMessage(u"Skin file not found.", u"Load Error", gui::MessageIcon::Error,
                     gui::MessageButtons::Ok, true);
    events_.closeApp();
    throw excpt::SkinNotInstalledException(context_.lang.textWithEnglishFallback(4000) + name);
  }
  CSearchPath skins;
  skins.addFolder(kSkinsFolder);
  const std::u16string folder = skins.find(*folderName) + u'/';
  importSkin(context_.xml, *folderName, importTarget());
  context_.lang.switchLanguage(context_.lang.currentLanguage());

  gui::IWindowManager& manager = gui_.requireWindowManager();
  createWindows(manager);
  runLine(context_.commands, u"generateAboutBox " + encodeArgument(folder));
  bootCore(name);

  if (!context_.registry.writeText(u"", kInitialSkin, name)) {
    std::cerr << "Cannot store the initial skin: " << toUtf8(context_.registry.lastError()) << '\n';
  }
  gui::IWindow* floating = manager.window(gui::kFloatingWindowClass);
  // A skin never moved keeps the place its file gives.
  try {
    const WindowPosition position = context_.registry.readPosition(skinSettingsKey(name), u"Pos");
    floating->moveTo(position.x, position.y);
  } catch (const excpt::SettingReadException&) {
  }
  manager.setTopmost(alwaysOnTop_);
  name_ = name;
  folder_ = folder;
  loaded_ = true;
  restoreState();
  showTitle(manager);
  views_.showWindowed(description_);
  if (settings_.tipAtStartup()) {
    runLine(context_.commands, u"show_tip");
  }
}

void CSkin::createWindows(gui::IWindowManager& manager) {
  auto procedure = [this](gui::IWindow& window, const gui::WindowMessage& message) {
    return procedure_(window, message);
  };
  gui::IWindow* fullscreen =
      manager.createWindow(gui::kFullscreenWindowClass, description_.fullscreen);
  fullscreen->setWindowProcedure(procedure);
  // The fullscreen window covers the display, so its size is the display mode's.
  const gui::WindowRect screen = fullscreen->rect();
  placeFullscreen(description_.fullscreen.lcd, description_.fullscreen.announciator,
                  static_cast<std::uint32_t>(screen.width),
                  static_cast<std::uint32_t>(screen.height));
  fullscreen->addElement(u"SOLIDBG", gui::SolidBackground{description_.fullscreen.backgroundRed,
                                                          description_.fullscreen.backgroundGreen,
                                                          description_.fullscreen.backgroundBlue,
                                                          screen.width, screen.height, 0, 0});
  fullscreen->show();
  std::uint16_t toggleId = 0;
  if (!context_.commands.getCache.empty()) {
    toggleId = context_.commands.getCache()->id(u"toggle_fullscreen");
  }
  fullscreen->addElement(u"BUTTON",
                         gui::ButtonElement{u"Return To Windowed Skin", 150, 20, screen.width - 180,
                                            screen.height - 30, u"Arial", 12, 100, toggleId});

  gui::IWindow* floating = manager.createWindow(gui::kFloatingWindowClass, description_.floating);
  floating->setWindowProcedure(procedure);
  gui_.loadOverlay(gui::kFloatingWindowClass, description_.floating.overlay);
  floating->show();
}

void CSkin::bootCore(const std::u16string& name) {
  if (description_.romPath.empty() || description_.coreLibrary.empty()) {
    throw excpt::SkinIncompleteException();
  }
  settings_.rememberRom(description_.romPath);
  context_.libraries.loadLibrary(kCoreLibrary, description_.coreLibrary);

  const std::u16string key = skinSettingsKey(name);
  context_.registry.createKey(u"", key);
  context_.registry.deleteValue(key, kOpened);
  if (const std::u16string saved = context_.registry.readText(key, kSaved); !saved.empty()) {
    context_.registry.writeText(key, kOpened, saved);
    context_.registry.deleteValue(key, kSaved);
  }
  runLine(context_.commands,
          u"boot_nexo_rom " + encodeArgument(description_.romPath) + u" " + encodeArgument(name));
  fn::Function<fn::ret<nexo::_NEXOInterface*>> getInterface;
  if (context_.libraries.bindExport(kCoreLibrary, u"getNexoInterface", getInterface)) {
    core_.setRecord(getInterface());
  }
}

void CSkin::restoreState() {
  opened_ = context_.registry.readText(skinSettingsKey(name_), kOpened);
  ICommandBase* load = nullptr;
  if (!context_.commands.getRegistry.empty()) {
    load = context_.commands.getRegistry()->get(u"nexo_load_state");
  }
  bool restored = false;
  if (load != nullptr && !context_.commands.getDispatcher.empty()) {
    load->setParameters(fn::ParameterList{opened_});
    restored = context_.commands.getDispatcher()->executeCommand(load, 1);
  }
  if (!restored) {
    opened_.clear();
  }
}

void CSkin::showTitle(gui::IWindowManager& manager) {
  std::u16string title = name_.substr(0, name_.rfind(u' '));
  if (!opened_.empty()) {
    title += u" - " + fileNamePart(opened_);
  }
  if (gui::IWindow* floating = manager.window(gui::kFloatingWindowClass)) {
    floating->setTitle(title);
  }
}

void CSkin::saveOnExit() {
  if (!persist_ || !loaded_) {
    return;
  }
  gui::IWindowManager* manager = gui_.windowManager();
  if (gui::IWindow* floating =
          manager != nullptr ? manager->window(gui::kFloatingWindowClass) : nullptr) {
    const gui::WindowRect rect = floating->rect();
    try {
      writeSkinPosition(context_.registry, name_, WindowPosition{rect.left, rect.top});
    } catch (const excpt::SettingWriteException&) {
      // The state matters more than the window's place.
      std::cerr << "Cannot store the window position: " << toUtf8(context_.registry.lastError())
                << '\n';
    }
  }
  persist_ = false;
  runLine(context_.commands, u"savethis");
}

void CSkin::toggleFullscreen() {
  if (loaded_) {
    views_.toggle(description_);
  }
}

void CSkin::newRomState() {
  if (persist_) {
    saveOnExit();
    persist_ = true;
  }
  std::u16string name = context_.registry.readText(u"", kInitialSkin);
  if (name.empty()) {
    name = firstInstalledSkin();
  }
  const std::u16string key = skinSettingsKey(name);
  context_.registry.deleteValue(key, kOpened);
  context_.registry.deleteValue(key, kSaved);
  runLine(context_.commands, u"stop_playing_macro");
  reload(name);
}

void CSkin::showMenu(int x, int y) {
  drawMenuKey(true);
  runLine(context_.commands, std::u16string(u"launchMenu ") + gui::kFloatingWindowClass + u" " +
                                 decimal(x) + u" " + decimal(y));
}

void CSkin::drawMenuKey(bool pressed) const {
  for (const auto& region : keys_.regions.regionsNamed(u"menu")) {
    const RegionPainter& paint = pressed ? region->drawPressed : region->drawNormal;
    if (!paint.empty()) {
      paint(gui::kFloatingWindowClass);
    }
  }
}

void CSkin::setPersistState(bool on) {
  persist_ = on;
  try {
    settings_.setPersistState(on);
  } catch (const excpt::IException& failure) {
    failure.report();
  }
}

void CSkin::setAlwaysOnTop(bool on) {
  alwaysOnTop_ = on;
  try {
    settings_.setAlwaysOnTop(on);
  } catch (const excpt::IException& failure) {
    failure.report();
  }
  if (auto* viewports =
          objectOf<gui::IViewportManager>(context_.commands, u"loadViewportManager")) {
    viewports->setTopmost(on);
  }
}

void CSkin::setInputWindow(const std::u16string& windowClass) {
  events_.setInputWindow(windowClass);
}

void CSkin::show(const std::u16string& windowClass, int mode) {
  gui_.requireWindowManager().show(windowClass, mode);
}

void CSkin::attach(const std::u16string& windowClass, const gui::LCDSettings& lcd,
                   const gui::AnnounciatorSettings& announciators) {
  gui_.attachNexo(windowClass, core_.record(), lcd, announciators);
}

}  // namespace tavrel
