#include "TipFile.h"

#include <dlfcn.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tavrel::tips {
namespace {

// The data folder the program runs with (the shell makes the program folder current), then
// the one beside this plug-in's folder ("components/../data").
QStringList dataFolders() {
  QStringList folders{QDir::current().filePath(QStringLiteral("data"))};
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&findTipFile), &info) != 0 && info.dli_fname != nullptr) {
    QDir pluginFolder = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteDir();
    folders << QDir::cleanPath(pluginFolder.filePath(QStringLiteral("../data")));
  }
  return folders;
}

}  // namespace

TipFile readTipFile(const QString& path) {
  TipFile result;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    result.problem = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    return result;
  }
  if (file.size() > kMaxTipFileBytes) {
    result.problem = QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(kMaxTipFileBytes);
    return result;
  }
  const QString text = QString::fromUtf8(file.read(kMaxTipFileBytes));
  for (const QString& rawLine : text.split(QLatin1Char('\n'))) {
    const QString line = rawLine.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
      continue;
    }
    if (result.tips.size() == kMaxTips) {
      break;
    }
    result.tips << line.left(kMaxTipLength);
  }
  if (result.tips.isEmpty()) {
    result.problem = QStringLiteral("%1 holds no tips").arg(path);
  }
  return result;
}

QString findTipFile(const std::u16string& language) {
  QStringList names;
  const QString wanted = QString::fromStdU16String(language);
  // A language code is a plain word; anything else could lead outside the tips folder.
  if (!wanted.isEmpty() && !wanted.contains(QLatin1Char('/')) &&
      !wanted.contains(QLatin1Char('\\')) && !wanted.contains(QLatin1String(".."))) {
    names << wanted + QStringLiteral(".txt");
  }
  names << QStringLiteral("en.txt");
  for (const QString& name : names) {
    for (const QString& folder : dataFolders()) {
      const QString path = QDir(folder).filePath(QStringLiteral("tips/") + name);
      if (QFileInfo::exists(path)) {
        return path;
      }
    }
  }
  return {};
}

}  // namespace tavrel::tips
