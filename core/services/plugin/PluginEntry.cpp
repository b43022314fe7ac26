// The core plug-in's entry points: import sets the core up in a fixed order, closeLibrary
// undoes it, getNexoInterface hands out the interface record.
#include <memory>

#include "CommandTable.h"
#include "CoreCommandLink.h"
#include "CoreSystem.h"
#include "InterfaceRecord.h"
#include "emulation/EmulationControl.h"
#include "emulation/EmulationState.h"
#include "os/Events.h"
#include "os/MessageQueue.h"
#include "settings/CoreSettings.h"
#include "state/StateCommands.h"
#include "tavrel/Registry.h"
#include "tavrel/Singleton.h"
#include "tavrel/command/PluginEntry.h"
#include "timing/TimerFactory.h"

namespace tavrel::core {
namespace {

// The core's handles to its named events, held from import to closeLibrary.
struct NamedEvents {
  std::shared_ptr<os::Event> posted;  // "nexoevent": set after every message post
  std::shared_ptr<os::Event> timer;   // "nexotimer": the timer service's start handshake
  std::shared_ptr<os::Event> load;    // "nexoload": kept open, never used
};

NamedEvents& namedEvents() {
  static NamedEvents events;
  return events;
}

void postRefresh() {
  os::tagMessage refresh{os::kRefreshMessage, 0, nullptr};
  os::postMessage(nullptr, &refresh);
}

void startTimerService() {
  std::unique_ptr<timing::TimerService> timers = timing::createTimerService();
  {
    CThreadLock::Scope guard(timers->lock());
    timers->tickPost = &postRefresh;
  }
  setEmulationState(std::make_unique<EmulationState>(std::move(timers)));
  namedEvents().timer->set();
}

}  // namespace
}  // namespace tavrel::core

using namespace tavrel;

TAVREL_PLUGIN_EXPORT nexo::_NEXOInterface* getNexoInterface() {
  return &core::interfaceRecord();
}

TAVREL_PLUGIN_EXPORT void import(excpt::CExceptionHub* hub, CommandInterface* commands) {
  using namespace tavrel::core;
  TSingleton<CSystem>::instance().setHub(hub);
  if (commands != nullptr)
    commandLink().bind(*commands);
  bindCoreSettings(&TSingleton<CRegistry>::instance(), commandLink().settingsKeyPath());
  NamedEvents& events = namedEvents();
  events.posted = os::openNamedEvent(u"nexoevent");
  events.timer = os::openNamedEvent(u"nexotimer");
  events.load = os::openNamedEvent(u"nexoload");
  events.timer->reset();
  registerCoreCommands();
  getNexoInterface();
  fillInterfaceRecord();
  startTimerService();
  events.timer->wait();
  events.timer->reset();
}

TAVREL_PLUGIN_EXPORT int closeLibrary() {
  using namespace tavrel::core;
  if (timing::TimerService* timers = timerService())
    timers->close();
  stopMachine();
  unregisterCoreCommands();
  emptyInterfaceRecord();
  takeEmulationState().reset();
  // The module may stay mapped after it is unloaded (the shell reloads it for another skin):
  // the next core starts without this one's state file.
  forgetRememberedState();
  namedEvents() = NamedEvents{};
  commandLink().unbind();
  bindCoreSettings(nullptr, u"");
  TSingleton<CSystem>::instance().setHub(nullptr);
  return 0;
}
