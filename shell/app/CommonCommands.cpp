#include "app/CommonCommands.h"

#include <array>

#include "app/LaunchList.h"
#include "tavrel/HostUi.h"

namespace tavrel {
namespace {

constexpr char16_t kUpdateCheckFile[] = u"ZRUpdateCheck.dll";
constexpr char16_t kCalcManagerFile[] = u"ZRCalcManConfig.dll";
constexpr std::size_t kVersionLength = 1024;

using GetVersionEntry = int(char16_t* buffer, int length);
using CheckForUpdateEntry = int(int product, const char16_t* version, int flags);
using LaunchListEntry = int();
using RunDialogEntry = int(int owner);
using AddLaunchTargetEntry = int(const char16_t* title, const char16_t* description,
                                 const char16_t* target, const char16_t* arguments, int iconIndex,
                                 int makeDefault);

std::u16string folderOf(const std::u16string& path) {
  const std::size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash + 1);
}

// The program file's name up to its first point.
std::u16string programTitle(const std::u16string& path) {
  std::u16string title = path.substr(folderOf(path).size());
  return title.substr(0, title.find(u'.'));
}

}  // namespace

CCommonCommands::CCommonCommands(ShellContext& context, std::u16string programPath)
    : context_(context), programPath_(std::move(programPath)), commands_(context.commands) {
  const std::u16string folder = folderOf(programPath_);
  updateCheck_.places = {folder + kUpdateCheckFile, folder + u"components/" + kUpdateCheckFile,
                         kUpdateCheckFile};
  // This platform has no common program-files folder: the library is looked for by name.
  calcManager_.places = {kCalcManagerFile};
  addLaunchTarget(false);
  commands_.add(u"check_for_update", fn::bind(this, &CCommonCommands::checkForUpdate));
  commands_.add(u"calcManager", fn::bind(this, &CCommonCommands::calcManager));
  commands_.add(u"setDefaultCalc", fn::bind(this, &CCommonCommands::setDefaultCalc));
}

CDynamicLibrary* CCommonCommands::load(Auxiliary& auxiliary) {
  if (!auxiliary.tried) {
    auxiliary.tried = true;
    for (const std::u16string& place : auxiliary.places) {
      if (auxiliary.library.load(place)) {
        break;
      }
    }
  }
  return auxiliary.library.isLoaded() ? &auxiliary.library : nullptr;
}

void CCommonCommands::warn(std::uint32_t textId, std::uint32_t captionId) {
  gui::showMessage(context_.lang.textWithEnglishFallback(textId),
                   context_.lang.textWithEnglishFallback(captionId), gui::MessageIcon::Warning,
                   gui::MessageButtons::Ok, true);
}

void CCommonCommands::addLaunchTarget(bool makeDefault) {
  const LaunchTarget entry{programTitle(programPath_), u"", programPath_, u"", 0};
  CDynamicLibrary* library = load(calcManager_);
  auto* add = library != nullptr
                  ? library->resolveFunction<AddLaunchTargetEntry*>("AddLaunchTargetW")
                  : nullptr;
  if (add == nullptr) {
    writeLaunchTarget(calcManagerStoreFile(context_.registry.userFile()), entry, makeDefault);
    return;
  }
  auto* open = library->resolveFunction<LaunchListEntry*>("OpenLaunchList");
  auto* close = library->resolveFunction<LaunchListEntry*>("CloseLaunchList");
  if (open != nullptr) {
    open();
  }
  add(entry.title.c_str(), entry.description.c_str(), entry.target.c_str(),
      entry.commandArgs.c_str(), entry.iconIndex, makeDefault ? 1 : 0);
  if (close != nullptr) {
    close();
  }
}

void CCommonCommands::checkForUpdate() {
  CDynamicLibrary* library = load(updateCheck_);
  auto* version = library != nullptr
                      ? library->resolveFunction<GetVersionEntry*>("ZRGetModuleVersionStringW")
                      : nullptr;
  auto* check = library != nullptr
                    ? library->resolveFunction<CheckForUpdateEntry*>("ZRCheckForUpdateW")
                    : nullptr;
  if (version == nullptr || check == nullptr) {
    warn(521, 9901);
    return;
  }
  std::array<char16_t, kVersionLength> text{};
  version(text.data(), static_cast<int>(text.size()));
  text.back() = u'\0';
  check(14, text.data(), 0);
}

void CCommonCommands::calcManager() {
  CDynamicLibrary* library = load(calcManager_);
  auto* run = library != nullptr ? library->resolveFunction<RunDialogEntry*>("RunCalcManagerDialog")
                                 : nullptr;
  if (run == nullptr) {
    warn(520, 9900);
    return;
  }
  run(0);
}

void CCommonCommands::setDefaultCalc() {
  if (load(calcManager_) == nullptr) {
    warn(520, 9900);
    return;
  }
  addLaunchTarget(true);
}

}  // namespace tavrel
