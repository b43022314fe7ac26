#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace tavrel::painter {

// How one kind of key cap looks.
struct KeyStyle {
  QColor face;
  QColor text;
};

// One key cell: a calculator key ("name"), a command button ("command"), or a hole (both
// empty).
struct KeySpec {
  QString name;
  QString command;
  // For command buttons; "{x}" and "{y}" become the left and bottom edge of the region.
  QString down;
  QString up;
  QString label;
  // The key's name in texts such as "Pressed key ..." (the label when the layout gives none).
  QString indexLabel;
  QString shifted;
  QString alpha;
  QString style;
  std::vector<int> pcKeys;

  bool isHole() const { return name.isEmpty() && command.isEmpty(); }
};

// A row of equally wide cells. Heights are in layout units (before scaling).
struct KeyRow {
  int columns = 0;
  double labelBand = 0;  // room above the caps for the shifted labels
  double keyHeight = 0;
  double gapBelow = 0;
  std::vector<KeySpec> cells;
};

// A command button placed freely (in layout units), e.g. in the header.
struct Button {
  KeySpec key;
  double x = 0, y = 0, width = 0, height = 0;
};

struct LcdSpec {
  double top = 0;
  double bezel = 0;  // frame around the strip and the pixels
  double strip = 0;  // annunciator strip height above the pixels
  int columns = 0;
  int rows = 0;
  double pixelSize = 0;
  QColor foreground, background, frame;
};

struct FullscreenSpec {
  QString title;
  int pixelSize = 0;
  int strip = 0;
  QColor background;
};

// Everything the painter draws and writes for one skin, read from its layout file.
struct Layout {
  QString name;
  QString dir;
  QString title;
  QString brand;
  QString font;
  double scale = 1;
  bool rounded = true;  // shaped window with a region file, else a rectangular window
  // Where the windowed view first opens, in screen pixels.
  int originX = 0, originY = 0;
  double width = 0;
  double corner = 0;
  QColor bodyTop, bodyBottom, bodyEdge, backdrop, brandColour, shiftColour, alphaColour;
  LcdSpec lcd;
  FullscreenSpec fullscreen;
  double keyboardTop = 0;
  double keyboardSide = 0;
  double keyGap = 0;
  double bottomMargin = 0;
  std::vector<KeyRow> rows;
  std::vector<Button> buttons;
  std::map<QString, KeyStyle> styles;
};

// Reads a layout file. A file may name a "base" layout (relative to itself) whose top-level
// members it overrides. Throws std::runtime_error with a message naming the file and the fault.
Layout readLayout(const QString& path);

}  // namespace tavrel::painter
