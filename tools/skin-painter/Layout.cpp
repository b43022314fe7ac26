#include "Layout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <stdexcept>

namespace tavrel::painter {
namespace {

constexpr qint64 kMaxLayoutBytes = 1 << 20;
constexpr int kMaxBaseDepth = 4;

[[noreturn]] void fail(const QString& where, const QString& what) {
  throw std::runtime_error((where + ": " + what).toStdString());
}

// Reads members by name and reports the first missing or mistyped one.
class Reader {
 public:
  Reader(QJsonObject object, QString where)
      : object_(std::move(object)), where_(std::move(where)) {}

  QString text(const char* key, const QString& fallback = {}) const {
    const QJsonValue value = object_.value(key);
    if (value.isUndefined()) {
      return fallback;
    }
    if (!value.isString()) {
      fail(where_, QStringLiteral("\"%1\" must be a string").arg(key));
    }
    return value.toString();
  }

  QString requiredText(const char* key) const {
    require(key);
    return text(key);
  }

  double number(const char* key, double min, double max) const {
    require(key);
    const QJsonValue value = object_.value(key);
    if (!value.isDouble() || value.toDouble() < min || value.toDouble() > max) {
      fail(where_,
           QStringLiteral("\"%1\" must be a number from %2 to %3").arg(key).arg(min).arg(max));
    }
    return value.toDouble();
  }

  double number(const char* key, double min, double max, double fallback) const {
    return object_.contains(key) ? number(key, min, max) : fallback;
  }

  QColor colour(const char* key) const {
    const QColor colour = QColor::fromString(requiredText(key));
    if (!colour.isValid()) {
      fail(where_, QStringLiteral("\"%1\" is not a colour").arg(key));
    }
    return colour;
  }

  Reader object(const char* key) const {
    require(key);
    if (!object_.value(key).isObject()) {
      fail(where_, QStringLiteral("\"%1\" must be an object").arg(key));
    }
    return Reader(object_.value(key).toObject(), where_ + "." + key);
  }

  QJsonArray array(const char* key) const {
    if (object_.contains(key) && !object_.value(key).isArray()) {
      fail(where_, QStringLiteral("\"%1\" must be an array").arg(key));
    }
    return object_.value(key).toArray();
  }

  const QJsonObject& raw() const { return object_; }
  const QString& where() const { return where_; }

 private:
  void require(const char* key) const {
    if (!object_.contains(key)) {
      fail(where_, QStringLiteral("\"%1\" is missing").arg(key));
    }
  }

  QJsonObject object_;
  QString where_;
};

QJsonObject readObject(const QString& path, int depth) {
  if (depth > kMaxBaseDepth) {
    fail(path, "too many nested \"base\" layouts");
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    fail(path, "cannot be read");
  }
  if (file.size() > kMaxLayoutBytes) {
    fail(path, "is larger than 1 MiB");
  }
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(file.read(kMaxLayoutBytes), &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) {
    fail(path, "is not a JSON object: " + error.errorString());
  }
  QJsonObject object = document.object();
  if (!object.contains("base")) {
    return object;
  }
  const QString basePath = QFileInfo(path).dir().filePath(object.value("base").toString());
  QJsonObject merged = readObject(basePath, depth + 1);
  for (auto it = object.begin(); it != object.end(); ++it) {
    merged.insert(it.key(), it.value());
  }
  merged.remove("base");
  return merged;
}

KeySpec readKey(const Reader& key) {
  KeySpec spec;
  spec.name = key.text("name");
  spec.command = key.text("command");
  if (!spec.name.isEmpty() && !spec.command.isEmpty()) {
    fail(key.where(), "a key has either \"name\" or \"command\", not both");
  }
  if (spec.isHole()) {
    return spec;
  }
  if (!spec.command.isEmpty()) {
    spec.down = key.requiredText("down");
    spec.up = key.requiredText("up");
  }
  spec.label = key.requiredText("label");
  spec.indexLabel = key.text("index_label", spec.label);
  spec.shifted = key.text("shifted");
  spec.alpha = key.text("alpha");
  spec.style = key.text("style", "plain");
  const QJsonArray pcKeys = key.array("pc");
  for (int i = 0; i < pcKeys.size(); ++i) {
    const int code = pcKeys.at(i).toInt(-1);
    if (code < 1 || code > 255) {
      fail(key.where(), "\"pc\" holds virtual-key codes from 1 to 255");
    }
    spec.pcKeys.push_back(code);
  }
  return spec;
}

KeyRow readRow(const Reader& row) {
  KeyRow spec;
  spec.labelBand = row.number("label_band", 0, 200, 0);
  spec.keyHeight = row.number("key_height", 4, 400);
  spec.gapBelow = row.number("gap_below", 0, 200, 0);
  const QJsonArray keys = row.array("keys");
  for (int i = 0; i < keys.size(); ++i) {
    const QString where = row.where() + QStringLiteral(".keys[%1]").arg(i);
    spec.cells.push_back(keys.at(i).isNull() ? KeySpec{}
                                             : readKey(Reader(keys.at(i).toObject(), where)));
  }
  spec.columns = static_cast<int>(spec.cells.size());
  if (spec.columns == 0) {
    fail(row.where(), "a row needs at least one key");
  }
  return spec;
}

}  // namespace

Layout readLayout(const QString& path) {
  const Reader root(readObject(path, 0), path);
  Layout layout;
  layout.name = root.requiredText("name");
  layout.dir = root.requiredText("dir");
  layout.title = root.requiredText("title");
  layout.brand = root.text("brand");
  layout.font = root.text("font", "DejaVu Sans");
  layout.scale = root.number("scale", 0.5, 4, 1);
  const QString shape = root.text("shape", "rounded");
  if (shape != "rounded" && shape != "rectangle") {
    fail(path, "\"shape\" is \"rounded\" or \"rectangle\"");
  }
  layout.rounded = shape == "rounded";

  const Reader origin = root.object("origin");
  layout.originX = static_cast<int>(origin.number("x", -10000, 10000));
  layout.originY = static_cast<int>(origin.number("y", -10000, 10000));

  const Reader body = root.object("body");
  layout.width = body.number("width", 100, 2000);
  layout.corner = body.number("corner", 0, 200);
  layout.bodyTop = body.colour("top");
  layout.bodyBottom = body.colour("bottom");
  layout.bodyEdge = body.colour("edge");
  layout.backdrop = body.colour("backdrop");
  layout.brandColour = body.colour("brand");
  layout.shiftColour = body.colour("shift");
  layout.alphaColour = body.colour("alpha");

  const Reader lcd = root.object("lcd");
  layout.lcd.top = lcd.number("top", 0, 2000);
  layout.lcd.bezel = lcd.number("bezel", 0, 100);
  layout.lcd.strip = lcd.number("strip", 4, 100);
  layout.lcd.columns = static_cast<int>(lcd.number("columns", 1, 1000));
  layout.lcd.rows = static_cast<int>(lcd.number("rows", 1, 1000));
  layout.lcd.pixelSize = lcd.number("pixel_size", 1, 20);
  layout.lcd.foreground = lcd.colour("foreground");
  layout.lcd.background = lcd.colour("background");
  layout.lcd.frame = lcd.colour("frame");

  const Reader full = root.object("fullscreen");
  layout.fullscreen.title = full.requiredText("title");
  layout.fullscreen.pixelSize = static_cast<int>(full.number("pixel_size", 1, 20));
  layout.fullscreen.strip = static_cast<int>(full.number("strip", 4, 200));
  layout.fullscreen.background = full.colour("background");

  const Reader keyboard = root.object("keyboard");
  layout.keyboardTop = keyboard.number("top", 0, 4000);
  layout.keyboardSide = keyboard.number("side", 0, 500);
  layout.keyGap = keyboard.number("gap", 2, 100);
  layout.bottomMargin = keyboard.number("bottom", 0, 500);
  const QJsonArray rows = keyboard.array("rows");
  for (int i = 0; i < rows.size(); ++i) {
    layout.rows.push_back(readRow(
        Reader(rows.at(i).toObject(), keyboard.where() + QStringLiteral(".rows[%1]").arg(i))));
  }

  const QJsonArray buttons = root.array("buttons");
  for (int i = 0; i < buttons.size(); ++i) {
    const Reader button(buttons.at(i).toObject(), path + QStringLiteral(".buttons[%1]").arg(i));
    Button spec{readKey(button), button.number("x", 0, 4000), button.number("y", 0, 4000),
                button.number("width", 4, 1000), button.number("height", 4, 1000)};
    if (spec.key.command.isEmpty()) {
      fail(button.where(), "a button needs a \"command\"");
    }
    layout.buttons.push_back(std::move(spec));
  }

  const Reader styles = root.object("styles");
  for (auto it = styles.raw().begin(); it != styles.raw().end(); ++it) {
    const Reader style(it.value().toObject(), styles.where() + "." + it.key());
    layout.styles[it.key()] = KeyStyle{style.colour("face"), style.colour("text")};
  }
  const auto checkStyle = [&](const KeySpec& key) {
    if (!key.isHole() && !layout.styles.contains(key.style)) {
      fail(path, "key style \"" + key.style + "\" is not defined in \"styles\"");
    }
  };
  for (const KeyRow& row : layout.rows) {
    for (const KeySpec& key : row.cells) {
      checkStyle(key);
    }
  }
  for (const Button& button : layout.buttons) {
    checkStyle(button.key);
  }
  return layout;
}

}  // namespace tavrel::painter
