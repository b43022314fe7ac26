#include "FileParser.h"

#include <QFile>
#include <memory>

#include "DocumentEvents.h"
#include "EventDelivery.h"
#include "tavrel/xml/System.h"

namespace tavrel::xml {
namespace {

[[noreturn]] void refuse(const std::u16string& fileName, const std::u16string& reason) {
  throw XMLParseException(u"Cannot read XML file " + fileName + u": " + reason);
}

std::u16string decimal(std::int64_t number) {
  return QString::number(number).toStdU16String();
}

QByteArray readBounded(const std::u16string& fileName) {
  QString path = QString::fromStdU16String(fileName);
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  QFile file(path);
  if (fileName.empty() || !file.open(QIODevice::ReadOnly)) {
    refuse(fileName, file.errorString().toStdU16String());
  }
  const QByteArray bytes = file.read(static_cast<qint64>(kMaxXMLFileBytes) + 1);
  if (bytes.size() > static_cast<qsizetype>(kMaxXMLFileBytes)) {
    refuse(fileName, u"larger than " + decimal(kMaxXMLFileBytes) + u" bytes.");
  }
  if (file.error() != QFileDevice::NoError) {
    refuse(fileName, file.errorString().toStdU16String());
  }
  return bytes;
}

}  // namespace

void parseFile(IXMLSAXContentHandler* handler, const std::u16string& fileName) {
  // Owned from here on, so it is released whatever is refused.
  struct Owner {
    IXMLSAXContentHandler* handler;
    ~Owner() { releaseResource(handler); }
  } owner{handler};
  auto outcome = readDocumentEvents(readBounded(fileName));
  if (const auto* fault = std::get_if<ParseFault>(&outcome)) {
    refuse(fileName, u"line " + decimal(fault->line) + u", column " + decimal(fault->column) +
                         u": " + fault->reason);
  }
  deliverEvents(std::get<std::vector<DocumentEvent>>(outcome),
                std::exchange(owner.handler, nullptr));
}

}  // namespace tavrel::xml
