#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace tavrel::tips {

// The tips of one language file: one tip a line; blank lines and lines starting with "#"
// are skipped.
struct TipFile {
  QStringList tips;
  // Why there are no tips (missing, unreadable or oversized file); empty when it was read.
  QString problem;
};

inline constexpr qint64 kMaxTipFileBytes = 256 * 1024;
inline constexpr int kMaxTipLength = 2000;
inline constexpr int kMaxTips = 1000;

// Reads a tip file; longer tips are cut and tips beyond kMaxTips are left out.
TipFile readTipFile(const QString& path);

// The tip file for a language: "data/tips/<language>.txt" below the current folder or
// beside the plug-in folder, "en" when that language has none. Empty when none is found.
QString findTipFile(const std::u16string& language);

}  // namespace tavrel::tips
