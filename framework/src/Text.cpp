#include "tavrel/Text.h"

#include <QString>

namespace tavrel {

std::string toUtf8(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()))
      .toStdString();
}

std::u16string fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdU16String();
}

}  // namespace tavrel
