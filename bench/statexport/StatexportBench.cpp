// A full statistics folio of 8 columns of reals: parsing and checking it, writing it as CSV,
// and both together as a user's save does. A directory reaches its last variable through a
// five-nibble offset, so a folio spans at most 2^20 nibbles: 8 columns of 8,000 reals (16
// nibbles each) is about the largest there can be.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>

#include "FolioBuilder.h"
#include "tavrel/statexport/CsvWriter.h"
#include "tavrel/statexport/StatFolioData.h"

namespace {

using namespace tavrel::statexport;

constexpr int kColumns = 8;
constexpr int kLargestRows = 8000;

class ThrowingReporter final : public IErrorReporter {
 public:
  void reportError(const std::string& message) override { throw std::runtime_error(message); }
};

std::vector<std::uint8_t> makeFolioImage(int rows) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> mantissa(100000, 999999);
  std::uniform_int_distribution<int> exponent(-9, 12);
  std::vector<testing::FolioColumn> columns;
  for (int c = 0; c < kColumns; ++c) {
    std::vector<std::string> values;
    for (int r = 0; r < rows; ++r) {
      std::string value = r % 3 == 0 ? "-" : "";
      value += std::to_string(mantissa(random));
      value += 'E';
      value += std::to_string(exponent(random));
      values.push_back(std::move(value));
    }
    columns.push_back(std::move(values));
  }
  return testing::folioImage("Bench", testing::statFolio(columns));
}

const std::vector<std::uint8_t>& benchImage(int rows) {
  static std::map<int, std::vector<std::uint8_t>> images;
  auto [entry, added] = images.try_emplace(rows);
  if (added) {
    entry->second = makeFolioImage(rows);
  }
  return entry->second;
}

std::string csvPath() {
  return (std::filesystem::temp_directory_path() / "statexport_bench.csv").string();
}

void load(StatFolioData& data, int rows) {
  const std::vector<std::uint8_t>& image = benchImage(rows);
  if (!data.loadFromReceived(image.data(), image.size())) {
    throw std::runtime_error("the benchmark folio did not load");
  }
}

void BM_ParseAndCheck(benchmark::State& state) {
  TitleFolioChooser chooser;
  ThrowingReporter reporter;
  for (auto _ : state) {
    StatFolioData data(chooser, reporter);
    load(data, static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(data.rowCount());
  }
  state.SetItemsProcessed(state.iterations() * kColumns * state.range(0));
}
BENCHMARK(BM_ParseAndCheck)->Arg(1000)->Arg(kLargestRows)->Unit(benchmark::kMillisecond);

void BM_SaveCsv(benchmark::State& state) {
  TitleFolioChooser chooser;
  ThrowingReporter reporter;
  StatFolioData data(chooser, reporter);
  load(data, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(saveCsv(data, csvPath(), reporter));
  }
  std::filesystem::remove(csvPath());
}
BENCHMARK(BM_SaveCsv)->Arg(1000)->Arg(kLargestRows)->Unit(benchmark::kMillisecond);

void BM_ParseAndSaveCsv(benchmark::State& state) {
  TitleFolioChooser chooser;
  ThrowingReporter reporter;
  for (auto _ : state) {
    StatFolioData data(chooser, reporter);
    load(data, static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(saveCsv(data, csvPath(), reporter));
  }
  std::filesystem::remove(csvPath());
}
BENCHMARK(BM_ParseAndSaveCsv)->Arg(1000)->Arg(kLargestRows)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
