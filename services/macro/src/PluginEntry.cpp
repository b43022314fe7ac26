#include <mutex>
#include <optional>

#include "MacroPlayer.h"
#include "MacroRecorder.h"
#include "ServiceCommands.h"
#include "tavrel/command/PluginEntry.h"

namespace tavrel::macro {
namespace {

constexpr std::string_view kServiceName = "macro";

struct Service {
  std::optional<service::CServiceCommands> commands;
  ICommandDispatcher* dispatcher = nullptr;
  CMacroRecorder recorder;
  CMacroPlayer player;
  std::mutex mutex;
  Macro macro;  // the last one recorded
};

Service& state() {
  static Service instance;
  return instance;
}

// Keeps the recording in progress, if any, as the macro.
void finishRecording(Service& s) {
  Macro recorded;
  if (s.recorder.stop(recorded)) {
    std::lock_guard lock(s.mutex);
    s.macro = std::move(recorded);
  }
}

void recordMacro() {
  // A playing macro's keys are not the user's.
  state().player.stop();
  state().recorder.start();
}

void stopRecordingMacro() {
  finishRecording(state());
}

void playMacro() {
  Service& s = state();
  finishRecording(s);
  Macro macro;
  {
    std::lock_guard lock(s.mutex);
    macro = s.macro;
  }
  s.player.play(std::move(macro), *s.dispatcher);
}

void stopPlayingMacro() {
  state().player.stop();
}

}  // namespace
}  // namespace tavrel::macro

TAVREL_PLUGIN_EXPORT void import(tavrel::excpt::CExceptionHub*,
                                 tavrel::CommandInterface* commands) {
  using namespace tavrel;
  using namespace tavrel::macro;
  Service& s = state();
  if (!service::openServiceCommands(s.commands, commands, kServiceName)) {
    return;
  }
  s.dispatcher = s.commands->dispatcher();
  s.dispatcher->addObserver(&s.recorder);
  s.commands->add(u"record_macro", fn::Function<fn::ret<void>>(&recordMacro));
  s.commands->add(u"stop_recording_macro", fn::Function<fn::ret<void>>(&stopRecordingMacro));
  s.commands->add(u"play_macro", fn::Function<fn::ret<void>>(&playMacro));
  s.commands->add(u"stop_playing_macro", fn::Function<fn::ret<void>>(&stopPlayingMacro));
}

TAVREL_PLUGIN_EXPORT void closeLibrary() {
  using namespace tavrel::macro;
  Service& s = state();
  if (!s.commands) {
    return;
  }
  s.player.stop();
  s.dispatcher->removeObserver(&s.recorder);
  s.commands->removeAll();
  s.commands.reset();
  s.dispatcher = nullptr;
  Macro dropped;
  s.recorder.stop(dropped);
  std::lock_guard lock(s.mutex);
  s.macro.clear();
}
