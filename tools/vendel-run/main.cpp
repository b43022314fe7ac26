// vendel-run: runs a ROM headless. Deterministic mode executes exactly N instructions on this
// thread with no timers, display, serial or keys, so that runs can be compared byte for byte.
// Real-time mode runs the ROM on the core plug-in for a while, with scripted keys.
#include <cstdio>
#include <string>
#include <vector>

#include "Interpreter.h"
#include "Processor.h"
#include "RegisterDump.h"
#include "RomFile.h"
#include "RunOptions.h"
#ifdef TAVREL_VENDEL_REALTIME
#include "RealtimeRun.h"
#endif
#include "StateImage.h"

namespace {

constexpr int kBadInput = 2;
constexpr int kWriteFailed = 1;
constexpr char16_t kRomTypeName[] = u"ZR T6";

int fail(int status, const std::string& message) {
  std::fprintf(stderr, "vendel-run: %s\n", message.c_str());
  return status;
}

int runDeterministic(const tavrel::vendelrun::RunOptions& options) {
  using namespace tavrel::machine;
  RomLoad rom;
  auto m = createMachine(options.rom, nullptr, rom);
  if (!rom.opened)
    return fail(kBadInput, rom.message);
  if (rom.truncated) {
    std::fprintf(stderr, "vendel-run: the ROM file is longer than %zu bytes; the rest is ignored\n",
                 kRomMaxBytes);
  }
  if (options.stateIn) {
    StateHeader header;
    std::string error;
    if (!readStateFile(*options.stateIn, *m, nullptr, header, error)) {
      return fail(kBadInput, options.stateIn->string() + ": " + error);
    }
  }
  const StepResult run = stepMachine(*m, options.steps);
  if (options.stateOut) {
    std::string error;
    if (!writeStateFile(*options.stateOut, *m, kRomTypeName, 0, error)) {
      return fail(kWriteFailed, options.stateOut->string() + ": " + error);
    }
  }
  if (options.printRegisters)
    std::fputs(tavrel::vendelrun::dumpRegisters(*m, run).c_str(), stdout);
  return 0;
}

#ifdef TAVREL_VENDEL_REALTIME
int runRealtimeMode(const tavrel::vendelrun::RunOptions& options) {
  return tavrel::vendelrun::runRealtime(options);
}
#else
int runRealtimeMode(const tavrel::vendelrun::RunOptions&) {
  return fail(kBadInput, "this build has no real-time mode (it needs the framework)");
}
#endif

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const auto parsed = tavrel::vendelrun::parseArguments(arguments);
  if (!parsed.options) {
    std::fprintf(stderr, "vendel-run: %s\n%s", parsed.error.c_str(), tavrel::vendelrun::kUsage);
    return kBadInput;
  }
  if (parsed.options->mode == tavrel::vendelrun::RunMode::Realtime)
    return runRealtimeMode(*parsed.options);
  return runDeterministic(*parsed.options);
}
