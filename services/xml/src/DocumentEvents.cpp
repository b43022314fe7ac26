#include "DocumentEvents.h"

#include <QXmlStreamReader>

namespace tavrel::xml {

std::variant<std::vector<DocumentEvent>, ParseFault> readDocumentEvents(const QByteArray& bytes) {
  QXmlStreamReader reader(bytes);
  // Names are taken as written; prefixes need no declarations in our description files.
  reader.setNamespaceProcessing(false);
  std::vector<DocumentEvent> events;
  std::vector<std::u16string> openTexts;
  while (!reader.atEnd()) {
    switch (reader.readNext()) {
      case QXmlStreamReader::StartElement: {
        ElementStart start{reader.qualifiedName().toString().toStdU16String(), {}};
        const QXmlStreamAttributes attributes = reader.attributes();
        start.attributes.reserve(attributes.size());
        for (const QXmlStreamAttribute& attribute : attributes) {
          start.attributes.emplace_back(attribute.qualifiedName().toString().toStdU16String(),
                                        attribute.value().toString().toStdU16String());
        }
        events.emplace_back(std::move(start));
        openTexts.emplace_back();
        break;
      }
      case QXmlStreamReader::EndElement:
        events.emplace_back(ElementEnd{reader.qualifiedName().toString().toStdU16String(),
                                       std::move(openTexts.back())});
        openTexts.pop_back();
        break;
      case QXmlStreamReader::Characters:
        if (!openTexts.empty()) {
          const QStringView text = reader.text();
          openTexts.back().append(reinterpret_cast<const char16_t*>(text.utf16()),
                                  static_cast<std::size_t>(text.size()));
        }
        break;
      default:
        break;
    }
  }
  if (reader.hasError()) {
    return ParseFault{reader.lineNumber(), reader.columnNumber(),
                      reader.errorString().toStdU16String()};
  }
  return events;
}

}  // namespace tavrel::xml
