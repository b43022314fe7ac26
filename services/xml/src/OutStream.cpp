#include "OutStream.h"

#include <QSaveFile>
#include <QString>
#include <iostream>

#include "tavrel/Text.h"

namespace tavrel::xml {
namespace {

bool isNameCharacter(char16_t c, bool first) {
  const bool letter =
      (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u':' || c >= 0xC0;
  return letter || (!first && ((c >= u'0' && c <= u'9') || c == u'-' || c == u'.'));
}

bool isName(const std::u16string& name) {
  if (name.empty()) {
    return false;
  }
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (!isNameCharacter(name[i], i == 0)) {
      return false;
    }
  }
  return true;
}

// Escapes markup; characters XML cannot carry at all are left out.
std::u16string escaped(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case u'&':
        out += u"&amp;";
        break;
      case u'<':
        out += u"&lt;";
        break;
      case u'>':
        out += u"&gt;";
        break;
      case u'"':
        out += u"&quot;";
        break;
      default:
        if (c >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r') {
          if (c != 0xFFFE && c != 0xFFFF) {
            out += c;
          }
        }
    }
  }
  return out;
}

void refuse(const char* what, const std::u16string& name) {
  std::cerr << "xml: " << what << " \"" << toUtf8(name) << "\" refused\n";
}

}  // namespace

void COutStream::closeStartTag() {
  if (startTagOpen_) {
    written_ += u'>';
    startTagOpen_ = false;
  }
}

void COutStream::startElement(const std::u16string& name) {
  if (!isName(name) || rootClosed_) {
    refuse("element", name);
    return;
  }
  closeStartTag();
  written_ += u'<' + name;
  open_.push_back(name);
  startTagOpen_ = true;
}

void COutStream::attribute(const std::u16string& name, const std::u16string& value) {
  if (!isName(name) || !startTagOpen_) {
    refuse("attribute", name);
    return;
  }
  written_ += u' ' + name + u"=\"" + escaped(value) + u'"';
}

void COutStream::text(const std::u16string& text) {
  if (open_.empty()) {
    refuse("text outside an element", text);
    return;
  }
  closeStartTag();
  written_ += escaped(text);
}

void COutStream::endElement() {
  if (open_.empty()) {
    refuse("end of element", u"");
    return;
  }
  if (startTagOpen_) {
    written_ += u"/>";
    startTagOpen_ = false;
  } else {
    written_ += u"</" + open_.back() + u'>';
  }
  open_.pop_back();
  rootClosed_ = open_.empty();
}

std::u16string COutStream::document() {
  while (!open_.empty()) {
    endElement();
  }
  return u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + written_ + u'\n';
}

bool COutStream::save(const std::u16string& fileName) {
  QString path = QString::fromStdU16String(fileName);
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  QSaveFile file(path);
  const QByteArray bytes = QString::fromStdU16String(document()).toUtf8();
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    std::cerr << "xml: cannot write " << toUtf8(fileName) << ": "
              << file.errorString().toStdString() << '\n';
    return false;
  }
  return true;
}

}  // namespace tavrel::xml
