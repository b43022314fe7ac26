// The core plug-in driven the way the shell drives it: the command service and nexocore
// loaded from a components folder, imported under the per-process lock, and closed again.
// The session stands in for the shell's "shutdnoff" and for the preferences service.
#pragma once

#include <atomic>
#include <filesystem>
#include <string>

#include "PreferenceEntries.h"
#include "tavrel/DynamicLibrary.h"
#include "tavrel/command/PluginEntry.h"
#include "tavrel/nexo/NexoInterface.h"

namespace tavrel::vendelrun {

class CoreSession {
 public:
  CoreSession() = default;
  ~CoreSession();
  CoreSession(const CoreSession&) = delete;
  CoreSession& operator=(const CoreSession&) = delete;

  // Loads and imports both plug-ins; false with error() saying why.
  bool open(const std::filesystem::path& componentsFolder);
  // The steps of open: both plug-ins loaded and the command service imported; then the
  // core imported.
  bool load(const std::filesystem::path& componentsFolder);
  bool importCore();
  // The core's getNexoInterface; null before load.
  nexo::_NEXOInterface* coreInterface() const;
  // closeLibrary of the core and unloads it. Safe to repeat.
  void closeCore();
  // closeCore, then closeLibrary of the command service and its unloading. Safe to repeat.
  void close();

  const std::string& error() const { return error_; }
  // The core's record as getNexoInterface gives it; null before open.
  nexo::_NEXOInterface* record() const { return record_; }
  CommandInterface& commands() { return commands_; }
  // Runs a command line through the dispatcher with flag 0.
  void* execute(const std::u16string& line);
  // Posts a key message (0 down, 1 up) through the record's postMessage slot.
  int postKey(std::uint32_t type, std::int32_t position);
  // How often the core ran "shutdnoff", which this session registers in the shell's place.
  unsigned shutdnoffCount() const { return shutdnoff_.load(); }
  // What "loadPrefsSystem" gives: the entries the plug-ins added.
  PreferenceEntries& preferences() { return preferences_; }

 private:
  bool loadLibrary(CDynamicLibrary& library, const std::filesystem::path& file);
  bool importPlugin(CDynamicLibrary& library);
  void closePlugin(CDynamicLibrary& library);

  excpt::CExceptionHub hub_;
  CommandInterface commands_;
  CDynamicLibrary commandService_;
  CDynamicLibrary core_;
  nexo::_NEXOInterface* record_ = nullptr;
  std::atomic<unsigned> shutdnoff_{0};
  PreferenceEntries preferences_;
  std::string error_;
};

}  // namespace tavrel::vendelrun
