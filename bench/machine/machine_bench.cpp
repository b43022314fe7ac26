// Emulated instructions per second, unthrottled, on each of the bench loops.
#include <benchmark/benchmark.h>

#include "BenchPrograms.h"
#include "Interpreter.h"

namespace {

constexpr uint64_t kStepsPerIteration = 1'000'000;

void runProgram(benchmark::State& state, const tavrel::bench::BenchProgram& program) {
  auto prepared = tavrel::bench::prepare(program);
  for (auto _ : state) {
    const auto result = tavrel::machine::stepMachine(*prepared->machine, kStepsPerIteration);
    benchmark::DoNotOptimize(result.executed);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStepsPerIteration));
  state.counters["emulated_ips"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kStepsPerIteration), benchmark::Counter::kIsRate);
}

const bool registered = [] {
  for (const auto& program : tavrel::bench::benchPrograms()) {
    benchmark::RegisterBenchmark(
        ("interpreter/" + program.name).c_str(),
        [&program](benchmark::State& state) { runProgram(state, program); })
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
