#include "CoreSession.h"

#include <mutex>

#include "tavrel/Memory.h"
#include "tavrel/Singleton.h"
#include "tavrel/Text.h"

namespace tavrel::vendelrun {
namespace {

using GetNexoInterfaceEntry = nexo::_NEXOInterface*();

constexpr char16_t kShutdnoff[] = u"shutdnoff";
constexpr char16_t kLoadPrefsSystem[] = u"loadPrefsSystem";

}  // namespace

CoreSession::~CoreSession() {
  close();
}

bool CoreSession::loadLibrary(CDynamicLibrary& library, const std::filesystem::path& file) {
  if (!library.load(fromUtf8(file.string()))) {
    error_ = toUtf8(library.error());
    return false;
  }
  return true;
}

bool CoreSession::importPlugin(CDynamicLibrary& library) {
  auto* entry = library.resolveFunction<ImportEntry*>(kImportExport);
  if (entry == nullptr) {
    error_ = toUtf8(library.fileName()) + " has no import";
    return false;
  }
  std::lock_guard guard(TSingleton<CMemory>::instance());
  entry(&hub_, &commands_);
  return true;
}

void CoreSession::closePlugin(CDynamicLibrary& library) {
  if (!library.isLoaded())
    return;
  if (auto* entry = library.resolveFunction<int (*)()>(kCloseLibraryExport)) {
    std::lock_guard guard(TSingleton<CMemory>::instance());
    entry();
  }
  library.unload();
}

bool CoreSession::load(const std::filesystem::path& componentsFolder) {
  if (!loadLibrary(commandService_, componentsFolder / "command.so") ||
      !importPlugin(commandService_))
    return false;
  // The shell's command that the core runs on leaving SHUTDN.
  fn::Function<fn::ret<void>> shutdnoff([this] { ++shutdnoff_; });
  if (ICommandBase* command =
          commands_.createCommand(kShutdnoff, shutdnoff.detach(), nullptr, fn::ParameterList{}))
    commands_.getRegistry()->add(command);
  // The preferences service, to which the core adds its throttle page.
  fn::Function<fn::ret<gui::IPreferences*>> preferences(
      [this]() -> gui::IPreferences* { return &preferences_; });
  if (ICommandBase* command = commands_.createCommand(kLoadPrefsSystem, preferences.detach(),
                                                      nullptr, fn::ParameterList{}))
    commands_.getRegistry()->add(command);
  return loadLibrary(core_, componentsFolder / "nexocore.so");
}

nexo::_NEXOInterface* CoreSession::coreInterface() const {
  auto* getInterface = core_.resolveFunction<GetNexoInterfaceEntry*>("getNexoInterface");
  return getInterface != nullptr ? getInterface() : nullptr;
}

bool CoreSession::importCore() {
  if (coreInterface() == nullptr) {
    error_ = "nexocore has no getNexoInterface";
    return false;
  }
  if (!importPlugin(core_))
    return false;
  record_ = coreInterface();
  return true;
}

bool CoreSession::open(const std::filesystem::path& componentsFolder) {
  return load(componentsFolder) && importCore();
}

void CoreSession::closeCore() {
  closePlugin(core_);
  record_ = nullptr;
}

void CoreSession::close() {
  closeCore();
  if (commandService_.isLoaded() && commands_.getRegistry) {
    commands_.getRegistry()->remove(kShutdnoff);
    commands_.getRegistry()->remove(kLoadPrefsSystem);
  }
  closePlugin(commandService_);
}

void* CoreSession::execute(const std::u16string& line) {
  return commands_.getDispatcher ? commands_.getDispatcher()->executeLine(line, 0) : nullptr;
}

int CoreSession::postKey(std::uint32_t type, std::int32_t position) {
  nexo::tagMessage message{type, position, nullptr};
  return record_->postMessage(nullptr, &message);
}

}  // namespace tavrel::vendelrun
