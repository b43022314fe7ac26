#include <cstdio>
#include <optional>

#include "Commands.h"
#include "StderrReporter.h"
#include "tavrel/statexport/CsvWriter.h"
#include "tavrel/statexport/FileContents.h"
#include "tavrel/statexport/FolioImage.h"
#include "tavrel/statexport/StatFolioData.h"

namespace tavrel::statfolio {
namespace {

using namespace statexport;

// A bare object is at most what one call of the data export can be handed.
constexpr std::uintmax_t kMaxBareObjectSize = 0x7FFFFFFF;

struct CsvOptions {
  std::string input;
  std::string output;
  bool bare = false;
  std::optional<std::string> name;
  std::optional<std::string> pick;
};

std::optional<CsvOptions> parseOptions(const Arguments& arguments) {
  CsvOptions options;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == "--bare" && !options.bare) {
      options.bare = true;
    } else if (argument == "--name" && hasValue && !options.name) {
      options.name = arguments[++i];
    } else if (argument == "--pick" && hasValue && !options.pick) {
      options.pick = arguments[++i];
    } else if (argument.rfind("--", 0) == 0) {
      return std::nullopt;
    } else {
      positional.push_back(argument);
    }
  }
  // A name only titles a bare object; a file image carries its own.
  if (positional.size() != 2 || (options.name && !options.bare)) {
    return std::nullopt;
  }
  options.input = positional[0];
  options.output = positional[1];
  return options;
}

bool loadBareObject(StatFolioData& data, const CsvOptions& options, IErrorReporter& reporter) {
  const FileContents contents = readFileContents(options.input, 0, kMaxBareObjectSize);
  switch (contents.status) {
    case FileReadStatus::kCannotOpen:
      reporter.reportError(folioLoadErrorText(kFolioCannotOpen));
      return false;
    case FileReadStatus::kBadSize:
      reporter.reportError(folioLoadErrorText(kFolioBadSize));
      return false;
    case FileReadStatus::kOk:
      break;
  }
  return data.loadFromData(contents.bytes.data(), contents.bytes.size(),
                           options.name.value_or(std::string()));
}

void explainMissedPick(const TitleFolioChooser& chooser, const std::string& wanted) {
  std::fprintf(stderr, "No folio is titled \"%s\"; the folios are:", wanted.c_str());
  for (const std::string& title : chooser.offeredTitles()) {
    std::fprintf(stderr, " \"%s\"", title.c_str());
  }
  std::fputs("\n", stderr);
}

}  // namespace

int runCsvCommand(const Arguments& arguments) {
  const std::optional<CsvOptions> options = parseOptions(arguments);
  if (!options) {
    return kExitUsage;
  }
  StderrReporter reporter;
  TitleFolioChooser chooser(options->pick);
  StatFolioData data(chooser, reporter);
  const bool loaded =
      options->bare ? loadBareObject(data, *options, reporter) : data.loadFromFile(options->input);
  // Data from some other folio than the one asked for would be worse than none.
  if (chooser.missedWantedTitle()) {
    explainMissedPick(chooser, *options->pick);
    return kExitFailure;
  }
  if (!loaded) {
    return kExitFailure;
  }
  return saveCsv(data, options->output, reporter) == CsvSaveResult::kSaved ? kExitOk : kExitFailure;
}

}  // namespace tavrel::statfolio
