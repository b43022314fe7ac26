#include "RegionFile.h"

#include <QFile>
#include <QList>
#include <vector>

namespace tavrel::gui {
namespace {

// The numbers after the keyword of a line, or none when the line is not exactly that.
bool numbersOf(const QByteArray& line, const char* keyword, int count, std::vector<int>& numbers) {
  const QList<QByteArray> words = line.split(' ');
  if (words.size() != count + 1 || words[0] != keyword) {
    return false;
  }
  numbers.clear();
  for (int i = 1; i <= count; ++i) {
    bool ok = false;
    const int value = words[i].toInt(&ok);
    if (!ok || value < 0) {
      return false;
    }
    numbers.push_back(value);
  }
  return true;
}

}  // namespace

bool readRegionFile(const QString& path, QSize windowSize, QRegion& region, QString& error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("cannot read the region file %1: %2").arg(path, file.errorString());
    return false;
  }
  if (file.size() > kMaxRegionFileBytes) {
    error = QStringLiteral("the region file %1 is larger than %2 bytes")
                .arg(path)
                .arg(kMaxRegionFileBytes);
    return false;
  }
  QList<QByteArray> lines = file.read(kMaxRegionFileBytes).split('\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) {
    lines.pop_back();
  }
  auto fail = [&](int lineNumber, const char* what) {
    error = QStringLiteral("%1, line %2: %3").arg(path).arg(lineNumber).arg(QLatin1String(what));
    return false;
  };
  if (lines.isEmpty() || lines[0] != "tavrel_region 1") {
    return fail(1, "not a region file (the first line must be \"tavrel_region 1\")");
  }
  std::vector<int> n;
  if (lines.size() < 2 || !numbersOf(lines[1], "size", 2, n)) {
    return fail(2, "expected \"size <width> <height>\"");
  }
  const QRect bounds(0, 0, n[0], n[1]);
  if (bounds.size() != windowSize) {
    return fail(2, "the size differs from the window's size");
  }
  if (lines.size() - 2 > kMaxRegionRects) {
    return fail(static_cast<int>(kMaxRegionRects) + 3, "too many rectangles");
  }
  QRegion shape;
  for (qsizetype i = 2; i < lines.size(); ++i) {
    const int lineNumber = static_cast<int>(i) + 1;
    if (!numbersOf(lines[i], "rect", 4, n)) {
      return fail(lineNumber, "expected \"rect <x> <y> <width> <height>\"");
    }
    const QRect rect(n[0], n[1], n[2], n[3]);
    if (rect.isEmpty() || !bounds.contains(rect)) {
      return fail(lineNumber, "the rectangle is empty or lies outside the window");
    }
    shape += rect;
  }
  if (shape.isEmpty()) {
    return fail(static_cast<int>(lines.size()), "the region is empty");
  }
  region = shape;
  return true;
}

}  // namespace tavrel::gui
