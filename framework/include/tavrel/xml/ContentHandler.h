#pragma once

#include <string>

#include "tavrel/IResource.h"
#include "tavrel/xml/AttributeList.h"

namespace tavrel::xml {

class IXMLSAXContentHandler;

// Given with each start of element: the handler that receives the start may name a child
// handler for that element's content.
class TAVREL_API IXMLParserContext {
 public:
  // The parser takes ownership (also of null, which means none). The child receives the
  // starts and ends of every element inside the current one; when the current element ends
  // the child is released first, and then the handler that saw the start receives the end.
  // A second call for the same element releases the child given before.
  virtual void setChildHandler(IXMLSAXContentHandler* child) = 0;

 protected:
  ~IXMLParserContext() = default;
};

// Receives a document's elements depth first. The parser owns the handlers given to it and
// releases them (IResource::release, in the module that made them) when they are done.
class TAVREL_API IXMLSAXContentHandler : public IResource {
 public:
  virtual void startElement(IXMLParserContext& context, const std::u16string& name,
                            const IXMLAttributeList& attributes) = 0;
  // text: the character data directly inside the element (not inside its children), with
  // entities and CDATA resolved and blanks kept as written.
  virtual void endElement(const std::u16string& name, const std::u16string& text) = 0;
};

}  // namespace tavrel::xml
