// refreshLcd on a machine without ROM, its 64 main lines in RAM filled with a pattern.
#include <benchmark/benchmark.h>

#include "Display.h"
#include "Memory.h"
#include "NativeCalls.h"
#include "Processor.h"

namespace {

using namespace tavrel::machine;

void refreshFrame(benchmark::State& state) {
  auto m = createMachine("/nonexistent/rom", nullptr);
  callNative(*m, 0x40, 0);  // RAM at 80000
  for (uint32_t a = 0x90000; a < 0x90000 + 64 * 40; a += 8)
    writeNibbles(*m, a, a * 2654435761u, 8);
  m->vm.displayStart = 0x90000;
  m->vm.lineOffset = 2;
  m->vm.lineCount = 0;
  m->vm.bitOffset = static_cast<uint32_t>(state.range(0));
  for (auto _ : state) {
    refreshLcd(*m);
    benchmark::DoNotOptimize(m->lcd.bytes.data());
  }
}
BENCHMARK(refreshFrame)->Arg(0)->Arg(4);

}  // namespace

BENCHMARK_MAIN();
