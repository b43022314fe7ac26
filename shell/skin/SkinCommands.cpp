#include "skin/SkinCommands.h"

#include <algorithm>
#include <filesystem>

#include "skin/PathText.h"
#include "skin/SkinFile.h"
#include "skin/SkinFolders.h"
#include "tavrel/HostUi.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel {
namespace {

namespace fs = std::filesystem;

constexpr const char16_t* kCommandNames[] = {u"skin_list", u"del_skin_list", u"install_skin",
                                             u"delete_skin"};

template <class Handler>
void addCommand(CommandInterface& commands, const char16_t* name, Handler handler) {
  ICommandBase* command =
      commands.createCommand(name, handler.detach(), nullptr, fn::ParameterList{});
  if (command != nullptr) {
    commands.getRegistry()->add(command);
  }
}

// The folder current at the start of a command, made current again when it ends.
class CurrentFolderKeeper {
 public:
  CurrentFolderKeeper() : folder_(fs::current_path(error_)) {}
  ~CurrentFolderKeeper() {
    if (!error_) {
      fs::current_path(folder_, error_);
    }
  }
  const fs::path& folder() const { return folder_; }

 private:
  std::error_code error_;
  fs::path folder_;
};

}  // namespace

std::u16string encodeArgument(std::u16string text) {
  std::replace(text.begin(), text.end(), u' ', u'#');
  return text;
}

CSkinCommands::CSkinCommands(SkinCommandServices services) : services_(std::move(services)) {
  CommandInterface& commands = services_.commands;
  if (commands.createCommand.empty() || commands.getRegistry.empty()) {
    return;
  }
  addCommand(commands, kCommandNames[0], fn::bind(this, &CSkinCommands::skinList));
  addCommand(commands, kCommandNames[1], fn::bind(this, &CSkinCommands::deletableSkinList));
  addCommand(commands, kCommandNames[2], fn::bind(this, &CSkinCommands::installSkin));
  addCommand(commands, kCommandNames[3], fn::bind(this, &CSkinCommands::deleteSkin));
}

CSkinCommands::~CSkinCommands() {
  if (services_.commands.getRegistry.empty()) {
    return;
  }
  if (ICommandRegistry* registry = services_.commands.getRegistry()) {
    for (const char16_t* name : kCommandNames) {
      registry->remove(name);
    }
  }
}

gui::IMenuManager& CSkinCommands::menuManager() const {
  const CommandInterface& commands = services_.commands;
  void* manager = commands.getDispatcher.empty()
                      ? nullptr
                      : commands.getDispatcher()->executeLine(u"loadMenuManager", 1);
  if (manager == nullptr) {
    // Without the GUI service there is no menu to fill.
    throw excpt::SkinException();
  }
  return *static_cast<gui::IMenuManager*>(manager);
}

void CSkinCommands::skinList(std::u16string menu) {
  fillMenu(menu, u"load_skin ", false);
}

void CSkinCommands::deletableSkinList(std::u16string menu) {
  fillMenu(menu, u"delete_skin ", true);
}

void CSkinCommands::fillMenu(const std::u16string& menu, const std::u16string& command,
                             bool deletableOnly) {
  gui::IMenuManager& manager = menuManager();
  manager.clearMenu(menu);
  const InstalledSkins skins = services_.catalog.installed();
  if (skins.empty()) {
    throw excpt::NoSkinInstalledException();
  }
  const std::u16string current = services_.currentSkin ? services_.currentSkin() : u"";
  for (const auto& [name, folder] : skins) {
    if (deletableOnly && (name.find(u"1024x768") != std::u16string::npos || name == current)) {
      continue;
    }
    manager.addItem(menu, name, command + encodeArgument(name));
  }
}

void CSkinCommands::installSkin() {
  CurrentFolderKeeper keeper;
  gui::FileDialogRequest request;
  request.title = u"Locate Skin Script";
  request.filter = u"ZR Calvane Skin Script (skin.xml)";
  request.flags = gui::kFileMustExist | gui::kPathMustExist;
  const std::optional<std::u16string> chosen = gui::hostUi().openFileName(request);
  if (!chosen) {
    return;
  }
  SkinName skin;
  try {
    skin = readSkinName(services_.xml, *chosen);
  } catch (const xml::XMLParseException&) {
    // An unreadable file names no skin.
  }
  if (skin.name.empty() || !isSkinFolderName(skin.dir)) {
    tell(4106, u"", 0);
    return;
  }
  if (services_.catalog.folderOf(skin.name)) {
    tell(4104, skin.name, 4105);
    return;
  }
  std::error_code pathError;
  const fs::path file = fs::absolute(toPath(*chosen), pathError);
  std::u16string folder = skin.dir;
  if (std::optional<std::u16string> installed = installedFolderOf(keeper.folder(), file)) {
    // Already in place: its folder is the one that holds it, whatever "dir" says.
    folder = *installed;
  } else if (std::optional<std::u16string> failure =
                 copySkinFiles(keeper.folder(), file.parent_path(), skin.dir)) {
    gui::showMessage(u"Cannot install the skin: " + *failure, services_.text(4108));
    return;
  }
  std::error_code ignored;
  fs::current_path(keeper.folder(), ignored);
  tell(4107, u"", 0);
  services_.catalog.add(skin.name, folder);
}

void CSkinCommands::deleteSkin(std::u16string name) {
  CurrentFolderKeeper keeper;
  const std::optional<std::u16string> folder = services_.catalog.folderOf(name);
  if (!folder) {
    throw excpt::SkinNotInstalledException(services_.text(4000) + name);
  }
  const gui::MessageAnswer answer =
      gui::showMessage(services_.text(4102) + name + services_.text(4103), services_.text(4101),
                       gui::MessageIcon::Question, gui::MessageButtons::OkCancel);
  if (answer != gui::MessageAnswer::Ok) {
    return;
  }
  if (std::optional<std::u16string> failure = deleteSkinFolder(keeper.folder(), *folder)) {
    gui::showMessage(u"Cannot delete the skin: " + *failure, services_.text(4101));
  }
  services_.catalog.forget();
  services_.catalog.installed();
}

void CSkinCommands::tell(std::int32_t textId, const std::u16string& detail,
                         std::int32_t detailEndId) const {
  std::u16string message = services_.text(textId);
  if (detailEndId != 0) {
    message += detail + services_.text(detailEndId);
  }
  gui::showMessage(message, services_.text(4108), gui::MessageIcon::Information);
}

}  // namespace tavrel
