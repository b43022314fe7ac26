#include "AboutBox.h"

#include <QStringList>

namespace tavrel::info {
namespace {

QString q(const std::u16string& text) {
  return QString::fromStdU16String(text).trimmed();
}

}  // namespace

QString aboutTitle(const AboutBox& box) {
  const QString name = q(box.skin.name);
  return QStringLiteral("About ") + (name.isEmpty() ? QStringLiteral("Tavrel") : name);
}

QString aboutText(const AboutBox& box) {
  QStringList lines;
  if (!q(box.skin.name).isEmpty()) {
    lines << q(box.skin.name);
  }
  if (!q(box.skin.version).isEmpty()) {
    lines << QStringLiteral("Version ") + q(box.skin.version);
  }
  if (!q(box.skin.author).isEmpty()) {
    lines << QStringLiteral("By ") + q(box.skin.author);
  }
  for (const std::u16string* text : {&box.skin.description, &box.skin.license}) {
    if (!q(*text).isEmpty()) {
      lines << QString() << q(*text);
    }
  }
  if (!lines.isEmpty()) {
    lines << QString();
  }
  lines << QStringLiteral("Tavrel " TAVREL_VERSION
                          ", an emulator of a pocket graphing calculator.");
  return lines.join(QLatin1Char('\n'));
}

}  // namespace tavrel::info
