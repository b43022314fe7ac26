// The built program on a private X server: the time from starting it to the first frame of
// the calculator's display, and the processor time it takes while the calculator idles.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "e2e_process.h"
#include "e2e_screen.h"
#include "e2e_xserver.h"

namespace {

using namespace tavrel::e2e;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// Without a window manager or a stored position the demo skin opens at its file's origin
// (80, 40); its display lies at (34, 62) in the window, 131 x 64 pixels of 2, drawn in
// (29, 42, 27) on (169, 184, 154).
constexpr int kLcdLeft = 80 + 34;
constexpr int kLcdTop = 40 + 62;
constexpr int kLcdWidth = 2 * 131;
constexpr int kLcdHeight = 2 * 64;
constexpr unsigned long kLcdOn = 0x1D2A1B;
constexpr unsigned long kLcdOff = 0xA9B89A;

// One X server and one settings folder for a benchmark's runs.
class Desktop {
 public:
  Desktop() {
    std::string pattern = (fs::temp_directory_path() / "tavrel-startup-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      return;
    }
    folder_ = pattern;
    server_ = std::make_unique<CXServer>((folder_ / "xvfb.log").string());
    ::setenv("XDG_CONFIG_HOME", (folder_ / "user").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", (folder_ / "machine").c_str(), 1);
    ::unsetenv("QT_QPA_PLATFORM");
    if (server_->ready()) {
      screen_ = std::make_unique<CScreen>();
    }
  }
  ~Desktop() {
    screen_.reset();
    server_.reset();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  bool ready() const { return screen_ && screen_->connected(); }

  std::unique_ptr<CChildProcess> start() {
    return std::make_unique<CChildProcess>(std::vector<std::string>{TAVREL_PROGRAM},
                                           (folder_ / "tavrel.log").string());
  }

  // The display shows both of its colours: the calculator has drawn a frame.
  bool lcdDrawn() {
    const std::vector<unsigned long> shown =
        screen_->pixels(screen_->root(), kLcdLeft, kLcdTop, kLcdWidth, kLcdHeight);
    const auto masked = [](unsigned long pixel) { return pixel & 0xFFFFFFu; };
    bool on = false;
    bool off = false;
    for (unsigned long pixel : shown) {
      on = on || masked(pixel) == kLcdOn;
      off = off || masked(pixel) == kLcdOff;
    }
    return on && off;
  }

  bool waitFor(bool drawn, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (lcdDrawn() != drawn) {
      if (Clock::now() > deadline) {
        return false;
      }
      std::this_thread::sleep_for(1ms);
    }
    return true;
  }

 private:
  fs::path folder_;
  std::unique_ptr<CXServer> server_;
  std::unique_ptr<CScreen> screen_;
};

void StartToFirstLcdFrame(benchmark::State& state) {
  Desktop desktop;
  if (!desktop.ready()) {
    state.SkipWithError("Xvfb did not start");
    return;
  }
  for (auto _ : state) {
    const auto started = Clock::now();
    std::unique_ptr<CChildProcess> program = desktop.start();
    if (!desktop.waitFor(true, 60s)) {
      state.SkipWithError("the display was never drawn");
      return;
    }
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - started).count());
    program.reset();
    if (!desktop.waitFor(false, 60s)) {
      state.SkipWithError("the window stayed after the program ended");
      return;
    }
  }
}
BENCHMARK(StartToFirstLcdFrame)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// User plus system time of a process so far, in seconds (/proc/PID/stat fields 14 and 15).
double processorSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const std::size_t afterName = text.rfind(')');
  if (afterName == std::string::npos) {
    return -1;
  }
  std::istringstream fields(text.substr(afterName + 2));
  std::string field;
  unsigned long long user = 0;
  unsigned long long system = 0;
  for (int index = 3; fields >> field; ++index) {
    if (index == 14) {
      user = std::stoull(field);
    } else if (index == 15) {
      system = std::stoull(field);
      break;
    }
  }
  return static_cast<double>(user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

void IdleProcessorUse(benchmark::State& state) {
  Desktop desktop;
  if (!desktop.ready()) {
    state.SkipWithError("Xvfb did not start");
    return;
  }
  double share = 0;
  for (auto _ : state) {
    std::unique_ptr<CChildProcess> program = desktop.start();
    if (!desktop.waitFor(true, 60s)) {
      state.SkipWithError("the display was never drawn");
      return;
    }
    std::this_thread::sleep_for(1s);  // the boot's own work settles
    const double before = processorSeconds(program->pid());
    const auto from = Clock::now();
    std::this_thread::sleep_for(5s);  // the span measured
    const double used = processorSeconds(program->pid()) - before;
    share = used / std::chrono::duration<double>(Clock::now() - from).count();
  }
  state.counters["core_percent"] = 100 * share;
}
BENCHMARK(IdleProcessorUse)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
