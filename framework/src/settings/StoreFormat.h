#pragma once

#include <QSettings>
#include <QString>

namespace tavrel::settings {

// The file format of the settings stores. One value per line, its type first, so that text,
// multi-text and 32- and 64-bit numbers come back as what was written:
//   sz <path> =<text>            multi_sz <path> =<item> =<item> ...
//   dword <path> <decimal>       qword <path> <decimal>          key <path>
// Paths and texts are percent-encoded UTF-8; "key" lines keep sub-keys that hold no value.
// A damaged or oversized file is refused as a whole, and QSettings then never rewrites it.

// The map entry that marks an existing sub-key: "<sub-key>/" + kKeyMarker.
inline const QString kKeyMarker = QStringLiteral("\x01");

constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;
constexpr qsizetype kMaxTextLength = 32767;
constexpr qsizetype kMaxListItems = 4096;

QSettings::Format storeFormat();

// Exposed for tests of the format itself.
bool readStore(QIODevice& device, QSettings::SettingsMap& map);
bool writeStore(QIODevice& device, const QSettings::SettingsMap& map);

}  // namespace tavrel::settings
