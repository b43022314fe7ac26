#pragma once

#include <string>

#include "tavrel/IResource.h"

namespace tavrel::xml {

// Writes one small XML document (UTF-8, indented). Release it with release().
class TAVREL_API IXMLOutStream : public IResource {
 public:
  virtual void startElement(const std::u16string& name) = 0;
  // Only between startElement and the element's first text or child.
  virtual void attribute(const std::u16string& name, const std::u16string& value) = 0;
  virtual void text(const std::u16string& text) = 0;
  virtual void endElement() = 0;
  // The document so far, with every open element closed.
  virtual std::u16string document() = 0;
  // Writes document() to the file through a temporary file in the same folder renamed into
  // place; false (and nothing changed) when that fails.
  virtual bool save(const std::u16string& fileName) = 0;
};

}  // namespace tavrel::xml
