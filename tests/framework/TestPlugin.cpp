// A plug-in built on its own, used by the tests to pass function objects, exceptions and
// locks across a module boundary the way the shell and its plug-ins do.
#include <string>
#include <thread>

#include "tavrel/Memory.h"
#include "tavrel/Singleton.h"
#include "tavrel/excpt/Exception.h"
#include "tavrel/fn/Function.h"

using namespace tavrel;

namespace {

using TextFunction = fn::Function<fn::ret<std::u16string>, std::u16string>;
using Notice = fn::Function<fn::ret<void>, std::u16string>;

std::u16string prefixWithPlugin(std::u16string text) {
  return u"plugin:" + text;
}

// Tells the host through its own function object when the plug-in's singleton goes away.
struct PluginState {
  Notice onDestroy;
  ~PluginState() { onDestroy(u"plugin state destroyed"); }
};

}  // namespace

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

// Calls a function object the host made, as a typed copy of its untyped implementation.
PLUGIN_EXPORT int pluginCallUntyped(const fn::IFunctionBase* function, int a, int b) {
  auto typed = fn::Function<fn::ret<int>, int, int>::copyOf(function);
  return typed(a, b);
}

// Calls a host function object directly.
PLUGIN_EXPORT void pluginCallTyped(const TextFunction& function, std::u16string& result) {
  result = function(u"from plugin");
}

// Hands the host an implementation made and later deleted by the plug-in.
PLUGIN_EXPORT fn::IFunctionBase* pluginMakeFunction() {
  return TextFunction(&prefixWithPlugin).detach();
}

PLUGIN_EXPORT void pluginRaise() {
  throw excpt::SkinNotInstalledException(u"raised in the plug-in");
}

PLUGIN_EXPORT void* pluginProcessLock() {
  return &TSingleton<CMemory>::instance().processLock();
}

// Tries the process lock from a thread of the plug-in's own.
PLUGIN_EXPORT bool pluginTryProcessLockElsewhere() {
  bool taken = false;
  std::thread([&] {
    CMemory& memory = TSingleton<CMemory>::instance();
    taken = memory.try_lock();
    if (taken) {
      memory.unlock();
    }
  }).join();
  return taken;
}

PLUGIN_EXPORT void pluginCreateState(const Notice& onDestroy) {
  TSingleton<PluginState>::instance().onDestroy = onDestroy;
}
