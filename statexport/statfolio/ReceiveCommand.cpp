#include <charconv>
#include <cstdio>
#include <optional>

#include "Commands.h"
#include "StderrReporter.h"
#include "tavrel/statexport/CsvWriter.h"
#include "tavrel/statexport/StatFolioData.h"
#include "tavrel/statexport/link/ReceiveJob.h"
#include "tavrel/statexport/link/SerialTransport.h"

namespace tavrel::statfolio {
namespace {

using namespace statexport;

// Longer pauses would only make the command look hung.
constexpr long kMaxWaitMs = 60000;

struct ReceiveOptions {
  std::string port;
  std::string output;
  link::ReceiveTiming timing;
};

std::optional<std::chrono::milliseconds> parseMs(const std::string& text) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > kMaxWaitMs) {
    return std::nullopt;
  }
  return std::chrono::milliseconds(value);
}

std::optional<ReceiveOptions> parseOptions(const Arguments& arguments) {
  ReceiveOptions options;
  std::vector<std::string> positional;
  bool statusDelaySet = false;
  bool headerWaitSet = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == "--port" && hasValue && options.port.empty()) {
      options.port = arguments[++i];
    } else if (argument == "--status-delay-ms" && hasValue && !statusDelaySet) {
      const auto ms = parseMs(arguments[++i]);
      if (!ms) {
        return std::nullopt;
      }
      options.timing.statusPause = *ms;
      statusDelaySet = true;
    } else if (argument == "--header-wait-ms" && hasValue && !headerWaitSet) {
      const auto ms = parseMs(arguments[++i]);
      if (!ms || ms->count() == 0) {
        return std::nullopt;
      }
      options.timing.headerWait = *ms;
      headerWaitSet = true;
    } else if (argument.rfind("--", 0) == 0) {
      return std::nullopt;
    } else {
      positional.push_back(argument);
    }
  }
  if (options.port.empty() || positional.size() != 1) {
    return std::nullopt;
  }
  options.output = positional[0];
  return options;
}

// Remembers whether the load explained its failure, so that a silent one still gets a line.
class NotingReporter final : public IErrorReporter {
 public:
  void reportError(const std::string& message) override {
    reported = true;
    stderrReporter.reportError(message);
  }
  StderrReporter stderrReporter;
  bool reported = false;
};

}  // namespace

int runReceiveCommand(const Arguments& arguments) {
  const std::optional<ReceiveOptions> options = parseOptions(arguments);
  if (!options) {
    return kExitUsage;
  }
  link::SerialTransport transport(options->port);
  link::ReceiveJob job(
      transport, options->timing,
      {[](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }, nullptr});
  job.runHere();
  if (job.outcome() != link::ReceiveOutcome::kReceived) {
    return kExitFailure;
  }
  const std::vector<std::uint8_t> image = job.takeData();

  NotingReporter reporter;
  TitleFolioChooser chooser;
  StatFolioData data(chooser, reporter);
  if (!data.loadFromReceived(image.data(), image.size())) {
    if (!reporter.reported) {
      std::fputs("The received data holds no folio.\n", stderr);
    }
    return kExitFailure;
  }
  return saveCsv(data, options->output, reporter.stderrReporter) == CsvSaveResult::kSaved
             ? kExitOk
             : kExitFailure;
}

}  // namespace tavrel::statfolio
