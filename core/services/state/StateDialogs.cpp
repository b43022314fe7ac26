#include <filesystem>
#include <optional>

#include "os/CurrentDirectoryKept.h"
#include "settings/CoreSettings.h"
#include "state/StateCommands.h"
#include "tavrel/HostUi.h"
#include "tavrel/Text.h"

namespace tavrel::core {

namespace {

constexpr std::u16string_view kStateFilter = u"ZR Calvane State Files (*.vstate;*.bin)";

gui::FileDialogRequest stateDialog(std::u16string title, std::uint32_t flags) {
  gui::FileDialogRequest request;
  request.title = std::move(title);
  request.filter = kStateFilter;
  request.defaultExtension = u"vstate";
  request.flags = flags;
  return request;
}

bool fileExists(const std::u16string& path) {
  std::error_code failure;
  return !path.empty() && std::filesystem::is_regular_file(toUtf8(path), failure);
}

// A chosen name without any '.' in its file name gets the state extension.
std::u16string withStateExtension(std::u16string path) {
  const std::size_t nameStart = path.find_last_of(u"\\/");
  const std::size_t dot = path.find(u'.', nameStart == std::u16string::npos ? 0 : nameStart + 1);
  if (dot == std::u16string::npos)
    path += u".vstate";
  return path;
}

void saveThroughDialog(std::u16string title) {
  std::optional<std::u16string> saved;
  {
    os::CurrentDirectoryKept directory;
    while (std::optional<std::u16string> chosen =
               gui::hostUi().saveFileName(stateDialog(title, gui::kOverwritePrompt))) {
      const std::u16string path = withStateExtension(*chosen);
      if (nexoSaveState(path)) {
        saved = path;
        break;
      }
    }
  }
  if (saved) {
    rememberState(*saved);
    setWindowTitle(*saved);
  }
}

}  // namespace

void saveStateDialog() {
  saveThroughDialog(u"");
}

void restoreStateDialog() {
  os::CurrentDirectoryKept directory;
  while (std::optional<std::u16string> chosen = gui::hostUi().openFileName(
             stateDialog(u"", gui::kFileMustExist | gui::kPathMustExist))) {
    if (nexoLoadState(*chosen)) {
      rememberState(*chosen);
      setWindowTitle(*chosen);
      return;
    }
    gui::showMessage(u"Could not open file.", u"Open File Error");
  }
}

void save() {
  if (!fileExists(rememberedStatePath()))
    forgetRememberedState();
  if (const std::u16string remembered = rememberedStatePath(); !remembered.empty()) {
    nexoSaveState(remembered);
    return;
  }
  CRegistry& registry = coreRegistry();
  const std::u16string skinKey = currentSkinKey();
  std::u16string path = registry.readText(skinKey, u"Opened");
  if (!path.empty())
    registry.deleteValue(skinKey, u"Opened");
  if (!fileExists(path))
    path.clear();
  if (!path.empty() && nexoSaveState(path)) {
    rememberState(path);
    return;
  }
  saveStateDialog();
}

void restoreThis() {
  std::u16string path = rememberedStatePath();
  if (path.empty()) {
    CRegistry& registry = coreRegistry();
    const std::u16string skinKey = currentSkinKey();
    registry.deleteValue(skinKey, u"Opened");
    path = registry.readText(skinKey, u"Saved");
    if (!path.empty()) {
      registry.writeText(skinKey, u"Opened", path);
      registry.deleteValue(skinKey, u"Saved");
    }
  }
  if (path.empty() || nexoLoadState(path))
    return;
  gui::showMessage(u"Could not load file " + path + u" .", u"Load Error");
  saveThroughDialog(u"New State File");
}

}  // namespace tavrel::core
