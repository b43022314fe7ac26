// "nexo_save_state" and "nexo_load_state" on the demo machine, through the real files in a
// temporary folder (the machine is idle, so pausing costs nothing here).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <mutex>

#include "Processor.h"
#include "settings/CoreAccess.h"
#include "settings/CoreSettings.h"
#include "settings/ExporterBinding.h"
#include "state/StateCommands.h"
#include "tavrel/Registry.h"
#include "tavrel/ScriptedHostUi.h"
#include "tavrel/Text.h"

namespace {

using namespace tavrel;

class IdleCore final : public core::ICoreAccess {
 public:
  explicit IdleCore(machine::Machine& m) : machine_(m) {}
  machine::Machine* machine() override { return &machine_; }
  void pause() override {}
  void resume() override {}
  std::mutex& emulationLock() override { return lock_; }
  std::int64_t clockOffset() override { return offset_; }
  void setClockOffset(std::int64_t offset) override { offset_ = offset; }
  std::u16string skinName() override { return u"Bench"; }

 private:
  machine::Machine& machine_;
  std::mutex lock_;
  std::int64_t offset_ = 0;
};

struct Setup {
  Setup() {
    std::string pattern = (std::filesystem::temp_directory_path() / "state_bench.XXXXXX").string();
    folder = ::mkdtemp(pattern.data());
    registry = std::make_unique<CRegistry>(fromUtf8((folder / "user.settings").string()), u"");
    core::bindCoreSettings(registry.get(), u"");
    m = machine::createMachine(core::programDirectory() / ".." / "data" / "ROM" / "demo.rom",
                               nullptr);
    core = std::make_unique<IdleCore>(*m);
    core::setCoreAccess(core.get());
    ui.setEcho(false);
    gui::setHostUi(&ui);
    state = fromUtf8((folder / "bench.vstate").string());
  }
  ~Setup() {
    gui::setHostUi(nullptr);
    core::setCoreAccess(nullptr);
    core::bindCoreSettings(nullptr, u"");
    std::filesystem::remove_all(folder);
  }

  std::filesystem::path folder;
  std::unique_ptr<CRegistry> registry;
  std::unique_ptr<machine::Machine> m;
  std::unique_ptr<IdleCore> core;
  gui::CScriptedHostUi ui;
  std::u16string state;
};

void BM_SaveState(benchmark::State& state) {
  Setup setup;
  for (auto _ : state) {
    if (!core::nexoSaveState(setup.state))
      state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 1318914);
}
BENCHMARK(BM_SaveState)->Unit(benchmark::kMillisecond);

void BM_LoadState(benchmark::State& state) {
  Setup setup;
  if (!core::nexoSaveState(setup.state))
    state.SkipWithError("save failed");
  for (auto _ : state) {
    if (!core::nexoLoadState(setup.state))
      state.SkipWithError("load failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 1318914);
}
BENCHMARK(BM_LoadState)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
