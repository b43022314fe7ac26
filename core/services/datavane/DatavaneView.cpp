// The application's screen: the channel reading and window line at the top, the graph of the
// current channel with its cursors, the x and y readings at the bottom.
#include <optional>
#include <string>

#include "DatavaneApp.h"
#include "Readings.h"
#include "Screen.h"

namespace tavrel::core::datavane {
namespace {

constexpr int kGraphTop = 7;
constexpr int kGraphBottom = 49;  // cursor level 0
constexpr int kXLine = 52;
constexpr int kYLine = 58;
constexpr int kRightColumn = 72;
constexpr int kWaitingLine = 26;

// The sample shown in a column, when there is one.
std::optional<Sample> sampleAt(const ContextRecord& record, const Context& c, int column) {
  const std::uint32_t k = c.view[3] + static_cast<std::uint32_t>(column) * c.view[2];
  if (k >= c.samplesKept()) {
    return std::nullopt;
  }
  return record.sample(c, k);
}

int levelRaw(const Context& c, int level) {
  return 16 * c.view[1] + level * c.view[0];
}

void drawGraph(Screen& screen, const ContextRecord& record, const Context& c) {
  const int scale = c.view[0] > 0 ? c.view[0] : 1;
  for (int column = 0; column < 128; ++column) {
    if (auto sample = sampleAt(record, c, column)) {
      const int level = (sample->raw[c.currentChannel] - levelRaw(c, 0)) / scale;
      if (level >= 0 && level <= kGraphBottom - kGraphTop) {
        screen.setPixel(column, kGraphBottom - level);
      }
    }
  }
  screen.dottedColumn(c.cursorX, kGraphTop, kGraphBottom);
  screen.dottedRow(kGraphBottom - c.cursorY, 0, 127);
}

std::string xText(const ContextRecord& record, const Context& c) {
  const auto at = sampleAt(record, c, c.cursorX);
  if (!at) {
    return "-";
  }
  if (!(c.flags & kFlagDelta)) {
    return numberText(secondsOf(at->timeMs));
  }
  const auto marker = sampleAt(record, c, c.markerX);
  if (!marker) {
    return "-";
  }
  return numberText(secondsOf(std::int64_t{at->timeMs} - marker->timeMs));
}

std::string yText(const Context& c, std::uint8_t cls) {
  if (c.flags & kFlagDelta) {
    return numberText(rawDifferenceOf((c.cursorY - c.markerY) * c.view[0], cls));
  }
  return numberText(readingOf(levelRaw(c, c.cursorY), cls));
}

}  // namespace

void DatavaneApp::draw(machine::Machine& m, const ContextRecord& record, const Context& c) {
  Screen screen;
  const std::uint8_t cls = sensorClass(c.channels[c.currentChannel].sensor);
  const bool delta = (c.flags & kFlagDelta) != 0;

  int x = screen.text(0, 0, "Ch");
  x = screen.text(x, 0, std::to_string(c.currentChannel + 1));
  x = screen.text(x, 0, ":");
  if (c.samplesKept() > 0) {
    const Sample newest = record.sample(c, c.samplesKept() - 1);
    screen.text(x, 0, numberText(readingOf(newest.raw[c.currentChannel], cls)));
  }
  if (c.flags & kFlagExport) {
    x = screen.text(kRightColumn, 0, "Export:");
    screen.text(x, 0, std::to_string(c.exportIndex));
  } else {
    x = screen.text(kRightColumn, 0, "Win:");
    screen.text(x, 0, std::to_string(c.view[c.viewMode()]));
  }

  if (!(c.state & kStateAcquiring)) {
    screen.text(0, kWaitingLine,
                link_.isOpen() ? "Waiting to start..." : "Waiting for connection...");
  } else {
    drawGraph(screen, record, c);
  }

  x = screen.text(0, kXLine, delta ? "dx:" : "x:");
  screen.text(x, kXLine, xText(record, c));
  x = screen.text(0, kYLine, delta ? "dy:" : "y:");
  screen.text(x, kYLine, yText(c, cls));
  screen.show(m);
}

}  // namespace tavrel::core::datavane
