#include "settings/StoreFormat.h"

#include <QByteArrayList>
#include <QIODevice>
#include <QUrl>

namespace tavrel::settings {
namespace {

QByteArray encode(const QString& text, const QByteArray& keep = {}) {
  return QUrl::toPercentEncoding(text, keep);
}

bool decodeText(const QByteArray& token, QString& text) {
  QByteArray bytes = QByteArray::fromPercentEncoding(token);
  text = QString::fromUtf8(bytes);
  return text.size() <= kMaxTextLength;
}

// A value token is "=" followed by the encoded text, so that an empty text has a token.
bool decodeValue(const QByteArray& token, QString& text) {
  return token.startsWith('=') && decodeText(token.mid(1), text);
}

bool decodeNumber(const QByteArray& token, quint64 limit, quint64& value) {
  if (token.isEmpty() || token.size() > 20) {
    return false;
  }
  for (char c : token) {
    if (c < '0' || c > '9') {
      return false;
    }
  }
  bool ok = false;
  value = token.toULongLong(&ok, 10);
  return ok && value <= limit;
}

bool parseLine(const QByteArray& line, QSettings::SettingsMap& map) {
  const QByteArrayList tokens = line.split(' ');
  if (tokens.size() < 2) {
    return false;
  }
  const QByteArray& type = tokens[0];
  QString path;
  if (!decodeText(tokens[1], path) || path.isEmpty()) {
    return false;
  }
  if (type == "key" && tokens.size() == 2) {
    map.insert(path + QLatin1Char('/') + kKeyMarker, true);
    return true;
  }
  if (type == "sz" && tokens.size() == 3) {
    QString text;
    if (!decodeValue(tokens[2], text)) {
      return false;
    }
    map.insert(path, text);
    return true;
  }
  if (type == "multi_sz" && tokens.size() - 2 <= kMaxListItems) {
    QStringList items;
    for (qsizetype i = 2; i < tokens.size(); ++i) {
      QString item;
      if (!decodeValue(tokens[i], item)) {
        return false;
      }
      items.append(item);
    }
    map.insert(path, items);
    return true;
  }
  quint64 number = 0;
  if (type == "dword" && tokens.size() == 3 && decodeNumber(tokens[2], 0xFFFFFFFFu, number)) {
    map.insert(path, QVariant::fromValue(static_cast<quint32>(number)));
    return true;
  }
  if (type == "qword" && tokens.size() == 3 && decodeNumber(tokens[2], ~quint64{0}, number)) {
    map.insert(path, QVariant::fromValue(static_cast<quint64>(number)));
    return true;
  }
  return false;
}

}  // namespace

bool readStore(QIODevice& device, QSettings::SettingsMap& map) {
  if (device.size() > kMaxFileBytes) {
    return false;
  }
  const QByteArray content = device.read(kMaxFileBytes + 1);
  if (content.size() > kMaxFileBytes) {
    return false;
  }
  for (QByteArray line : content.split('\n')) {
    if (line.endsWith('\r')) {
      line.chop(1);
    }
    if (line.isEmpty() || line.startsWith('#')) {
      continue;
    }
    if (!parseLine(line, map)) {
      return false;
    }
  }
  return true;
}

bool writeStore(QIODevice& device, const QSettings::SettingsMap& map) {
  QByteArray out = "# ZRT7 Calvane settings\n";
  const QString markerSuffix = QLatin1Char('/') + kKeyMarker;
  for (auto it = map.cbegin(); it != map.cend(); ++it) {
    const QString& key = it.key();
    if (key.endsWith(markerSuffix)) {
      out += "key " + encode(key.chopped(markerSuffix.size()), "/") + '\n';
      continue;
    }
    const QByteArray path = encode(key, "/");
    const QVariant& value = it.value();
    switch (value.typeId()) {
      case QMetaType::QString:
        out += "sz " + path + " =" + encode(value.toString()) + '\n';
        break;
      case QMetaType::QStringList:
        out += "multi_sz " + path;
        for (const QString& item : value.toStringList()) {
          out += " =" + encode(item);
        }
        out += '\n';
        break;
      case QMetaType::UInt:
        out += "dword " + path + ' ' + QByteArray::number(value.toUInt()) + '\n';
        break;
      case QMetaType::ULongLong:
        out += "qword " + path + ' ' + QByteArray::number(value.toULongLong()) + '\n';
        break;
      default:
        return false;
    }
  }
  return device.write(out) == out.size();
}

QSettings::Format storeFormat() {
  static const QSettings::Format format =
      QSettings::registerFormat(QStringLiteral("settings"), &readStore, &writeStore);
  return format;
}

}  // namespace tavrel::settings
