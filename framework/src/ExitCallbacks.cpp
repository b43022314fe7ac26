#include "tavrel/ExitCallbacks.h"

#include <dlfcn.h>
#include <link.h>

#include <cstdint>
#include <mutex>
#include <vector>

// Itanium C++ ABI: the registration behind static destructors, with an argument per entry.
extern "C" int __cxa_atexit(void (*function)(void*), void* argument, void* module);
extern "C" void* __dso_handle;

namespace tavrel {
namespace {

struct Entry {
  ExitCallback callback;
  void* context;
  std::uintptr_t id;
};

// Never destroyed: the list is still needed while the process exits.
struct Registry {
  std::mutex mutex;
  std::vector<Entry> entries;
  std::uintptr_t nextId = 1;
};

Registry& registry() {
  static Registry* const instance = new Registry;
  return *instance;
}

void* moduleOf(ExitCallback callback) {
  Dl_info info{};
  link_map* module = nullptr;
  if (dladdr1(reinterpret_cast<void*>(callback), &info, reinterpret_cast<void**>(&module),
              RTLD_DL_LINKMAP) == 0) {
    return nullptr;
  }
  return module;
}

// Removes and returns the newest entry that passes the test; false when there is none.
template <class Test>
bool takeNewest(Test test, Entry& taken) {
  Registry& list = registry();
  std::lock_guard lock(list.mutex);
  for (auto it = list.entries.rbegin(); it != list.entries.rend(); ++it) {
    if (test(*it)) {
      taken = *it;
      list.entries.erase(std::next(it).base());
      return true;
    }
  }
  return false;
}

// Each entry has its own place among the process's exit handlers, exactly where a static
// object completed at the same moment would have its destructor.
void runEntryAtExit(void* id) {
  Entry entry{};
  if (takeNewest([id](const Entry& e) { return e.id == reinterpret_cast<std::uintptr_t>(id); },
                 entry)) {
    entry.callback(entry.context);
  }
}

}  // namespace

void registerExitCallback(ExitCallback callback, void* context) {
  Registry& list = registry();
  std::uintptr_t id = 0;
  {
    std::lock_guard lock(list.mutex);
    id = list.nextId++;
    list.entries.push_back(Entry{callback, context, id});
  }
  __cxa_atexit(&runEntryAtExit, reinterpret_cast<void*>(id), &__dso_handle);
}

void runExitCallbacks() {
  Entry entry{};
  // Callbacks run without the lock held: a destructor may create or destroy other singletons.
  while (takeNewest([](const Entry&) { return true; }, entry)) {
    entry.callback(entry.context);
  }
}

void runExitCallbacksOfModule(void* moduleHandle) {
  if (moduleHandle == nullptr) {
    return;
  }
  Entry entry{};
  while (takeNewest([&](const Entry& e) { return moduleOf(e.callback) == moduleHandle; }, entry)) {
    entry.callback(entry.context);
  }
}

}  // namespace tavrel
