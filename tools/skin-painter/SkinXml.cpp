#include "SkinXml.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>
#include <map>
#include <stdexcept>

namespace tavrel::painter {
namespace {

// Writes one fragment of elements, indented to sit at the given depth of the template.
class Fragment {
 public:
  explicit Fragment(int depth) : depth_(depth), writer_(&text_) {
    writer_.setAutoFormatting(true);
    writer_.setAutoFormattingIndent(2);
  }

  QXmlStreamWriter& xml() { return writer_; }

  void empty(const QString& name, std::initializer_list<std::pair<QString, QString>> attributes) {
    writer_.writeEmptyElement(name);
    for (const auto& [key, value] : attributes) {
      writer_.writeAttribute(key, value);
    }
  }

  void point(const QString& name, QPoint point) {
    empty(name, {{"x", QString::number(point.x())}, {"y", QString::number(point.y())}});
  }

  void size(QSize size) {
    empty("dimensions",
          {{"width", QString::number(size.width())}, {"height", QString::number(size.height())}});
  }

  void colour(const QString& name, const QColor& colour) {
    empty(name, {{"red", QString::number(colour.red())},
                 {"green", QString::number(colour.green())},
                 {"blue", QString::number(colour.blue())}});
  }

  QString text() {
    QString indented;
    const QString indent(2 * depth_, ' ');
    for (const QString& line : text_.split('\n', Qt::SkipEmptyParts)) {
      indented += (indented.isEmpty() ? QString() : "\n" + indent) + line;
    }
    return indented;
  }

 private:
  int depth_;
  QString text_;
  QXmlStreamWriter writer_;
};

void writeLcd(Fragment& out, const Layout& layout, QPoint offset, int pixelSize) {
  out.xml().writeStartElement("lcd");
  out.colour("foreground_colour", layout.lcd.foreground);
  out.colour("background_colour", layout.lcd.background);
  out.point("offset", offset);
  out.size(QSize(layout.lcd.columns, layout.lcd.rows));
  out.empty("pixel_size", {{"value", QString::number(pixelSize)}});
  out.xml().writeEndElement();
}

void writeAnnunciators(Fragment& out, QPoint offset, const IconStrip& icons, const char* image) {
  out.xml().writeStartElement("announciator");
  out.point("offset", offset);
  out.size(icons.stripSize);
  out.empty("image", {{"name", image}});
  for (int i = 0; i < 6; ++i) {
    out.xml().writeStartElement("icon");
    out.xml().writeAttribute("index", QString::number(i));
    out.point("image_offset", QPoint(i * icons.iconSize.width(), 0));
    out.point("icon_offset", icons.iconOffsets[i]);
    out.size(icons.iconSize);
    out.xml().writeEndElement();
  }
  out.xml().writeEndElement();
}

QString floatingViewport(const Layout& layout, const FaceGeometry& face) {
  Fragment out(1);
  out.xml().writeStartElement("floating_viewport");
  out.size(face.window);
  out.point("origin", QPoint(layout.originX, layout.originY));
  out.empty("title", {{"value", layout.title}});
  out.empty("image", {{"name", kFaceImage}});
  if (layout.rounded) {
    out.empty("region", {{"name", kRegionFile}});
  }
  writeLcd(out, layout, face.lcdOrigin, face.pixelSize);
  writeAnnunciators(out, face.strip.topLeft(), face.windowIcons, kWindowIcons);
  out.xml().writeEndElement();
  return out.text();
}

// The shell centres the fullscreen display itself, so its offsets are left at 0.
QString fullscreenViewport(const Layout& layout, const FaceGeometry& face) {
  Fragment out(1);
  out.xml().writeStartElement("fullscreen_viewport");
  out.colour("background_colour", layout.fullscreen.background);
  out.empty("title", {{"value", layout.fullscreen.title}});
  writeLcd(out, layout, QPoint(), layout.fullscreen.pixelSize);
  writeAnnunciators(out, QPoint(), face.fullscreenIcons, kFullscreenIcons);
  out.xml().writeEndElement();
  return out.text();
}

QString commandLine(const QString& pattern, const QRect& region) {
  QString line = pattern;
  line.replace("{x}", QString::number(region.left()));
  line.replace("{y}", QString::number(region.bottom() + 1));
  return line;
}

QString emuKeys(const FaceGeometry& face) {
  Fragment out(1);
  out.xml().writeStartElement("emu_keys");
  for (const PlacedKey& key : face.keys) {
    const KeySpec& spec = *key.spec;
    if (spec.command.isEmpty()) {
      out.xml().writeStartElement("emu_key_code");
      out.xml().writeAttribute("name", spec.name);
    } else {
      out.xml().writeStartElement("command");
      out.xml().writeAttribute("name", spec.command);
      out.xml().writeAttribute("down", commandLine(spec.down, key.cap));
      out.xml().writeAttribute("up", commandLine(spec.up, key.cap));
    }
    out.xml().writeStartElement("pixel_region");
    out.point("origin", key.cap.topLeft());
    out.size(key.cap.size());
    out.empty("function", {{"name", kPressPainter}});
    out.xml().writeEndElement();
    for (const int code : spec.pcKeys) {
      out.xml().writeTextElement("win_os_key_msg", QString::number(code));
    }
    out.xml().writeEndElement();
  }
  out.xml().writeEndElement();
  return out.text();
}

QString keyNameIndex(const FaceGeometry& face) {
  Fragment out(1);
  out.xml().writeStartElement("key_name_index");
  for (const PlacedKey& key : face.keys) {
    if (!key.spec->name.isEmpty()) {
      out.empty("key", {{"id", key.spec->name}, {"label", key.spec->indexLabel}});
    }
  }
  out.xml().writeEndElement();
  return out.text();
}

QString escaped(const QString& text) {
  return text.toHtmlEscaped();
}

}  // namespace

QByteArray skinXml(const QString& templateText, const Layout& layout, const FaceGeometry& face) {
  std::map<QString, QString> values = {
      {"NAME", escaped(layout.name)},
      {"DIR", escaped(layout.dir)},
      {"TITLE", escaped(layout.title)},
  };
  // The generated parts must each appear once; the names may appear anywhere.
  const std::map<QString, QString> parts = {
      {"FLOATING_VIEWPORT", floatingViewport(layout, face)},
      {"FULLSCREEN_VIEWPORT", fullscreenViewport(layout, face)},
      {"EMU_KEYS", emuKeys(face)},
      {"KEY_NAME_INDEX", keyNameIndex(face)},
  };
  for (const auto& [key, value] : parts) {
    if (templateText.count("@" + key + "@") != 1) {
      throw std::runtime_error("skin template: @" + key.toStdString() + "@ must appear once");
    }
    values[key] = value;
  }
  // One pass over the template, so generated text is never searched for placeholders.
  QString text;
  qsizetype done = 0;
  auto matches = QRegularExpression("@([A-Z_]+)@").globalMatch(templateText);
  while (matches.hasNext()) {
    const QRegularExpressionMatch match = matches.next();
    const auto value = values.find(match.captured(1));
    if (value == values.end()) {
      throw std::runtime_error("skin template: unknown placeholder " +
                               match.captured().toStdString());
    }
    text += templateText.mid(done, match.capturedStart() - done) + value->second;
    done = match.capturedEnd();
  }
  text += templateText.mid(done);
  return text.toUtf8();
}

}  // namespace tavrel::painter
