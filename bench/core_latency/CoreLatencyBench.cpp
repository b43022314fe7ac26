// Key latency: from posting the ON key's message (which raises an interrupt and wakes the
// processor) to the interpreter taking that interrupt, with the calculator asleep in SHUTDN
// beforehand. And the CPU that the core uses while the calculator sleeps.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "Machine.h"
#include "emulation/EmulationControl.h"
#include "os/MessageQueue.h"
#include "plugin/CoreCommands.h"
#include "tavrel/DynamicLibrary.h"
#include "tavrel/Text.h"
#include "tavrel/command/PluginEntry.h"

TAVREL_PLUGIN_EXPORT void import(tavrel::excpt::CExceptionHub* hub,
                                 tavrel::CommandInterface* commands);
TAVREL_PLUGIN_EXPORT int closeLibrary();

namespace {

using namespace tavrel;
using Clock = std::chrono::steady_clock;

constexpr std::int32_t kOnKeyPosition = 0x70003;

// The core, booted on the demo ROM, for the length of one benchmark.
class BootedCore {
 public:
  BootedCore() {
    commandService_.load(fromUtf8(TAVREL_COMMAND_PLUGIN));
    if (auto* entry = commandService_.resolveFunction<ImportEntry*>(kImportExport))
      entry(&hub_, &commands_);
    import(&hub_, &commands_);
    core::bootNexoRom(fromUtf8(TAVREL_DEMO_ROM), u"Bench");
  }
  ~BootedCore() {
    closeLibrary();
    if (auto* entry = commandService_.resolveFunction<CloseLibraryEntry*>(kCloseLibraryExport))
      entry();
  }
  machine::Machine& machine() { return *core::currentMachine(); }

  // Spins until the condition holds or a generous limit passes.
  template <class Condition>
  static bool spinUntil(Condition condition) {
    const auto limit = Clock::now() + std::chrono::seconds(10);
    while (!condition()) {
      if (Clock::now() > limit)
        return false;
      std::this_thread::yield();
    }
    return true;
  }

 private:
  excpt::CExceptionHub hub_;
  CommandInterface commands_;
  CDynamicLibrary commandService_;
};

void postKey(std::uint32_t type) {
  os::tagMessage message{type, kOnKeyPosition, nullptr};
  os::postMessage(nullptr, &message);
}

void KeyToInterrupt(benchmark::State& state) {
  BootedCore core;
  machine::VendelMachine& vm = core.machine().vm;
  std::atomic_ref<std::uint32_t> asleep(vm.shutDown);
  std::atomic_ref<std::uint32_t> serving(vm.inInterrupt);
  std::atomic_ref<std::uint32_t> pending(vm.interruptPending);
  std::vector<double> micros;
  for (auto _ : state) {
    if (!BootedCore::spinUntil([&] { return asleep.load() == 1 && serving.load() == 0; })) {
      state.SkipWithError("the calculator did not go to sleep");
      break;
    }
    const auto posted = Clock::now();
    postKey(0);
    // Taken: the request is consumed and the processor is awake (the demo firmware's handler
    // only returns, so inInterrupt is set too briefly to be seen reliably).
    if (!BootedCore::spinUntil([&] { return asleep.load() == 0 && pending.load() == 0; })) {
      state.SkipWithError("the interrupt was not taken");
      break;
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - posted).count();
    state.SetIterationTime(elapsed);
    micros.push_back(elapsed * 1e6);
    postKey(1);
  }
  if (micros.empty())
    return;
  std::sort(micros.begin(), micros.end());
  state.counters["median_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
}
BENCHMARK(KeyToInterrupt)->UseManualTime()->Iterations(300)->Unit(benchmark::kMicrosecond);

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void CpuWhileAsleep(benchmark::State& state) {
  BootedCore core;
  std::atomic_ref<std::uint32_t> asleep(core.machine().vm.shutDown);
  if (!BootedCore::spinUntil([&] { return asleep.load() == 1; })) {
    state.SkipWithError("the calculator did not go to sleep");
    return;
  }
  for (auto _ : state) {
    const double cpuBefore = cpuSeconds();
    const auto wallBefore = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(4));
    const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
    state.counters["cpu_percent_of_a_core"] = 100.0 * (cpuSeconds() - cpuBefore) / wall;
  }
}
BENCHMARK(CpuWhileAsleep)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
