#pragma once

#include <string>

#include "tavrel/xml/ContentHandler.h"

namespace tavrel::xml {

// Reads the file whole (refusing more than kMaxXMLFileBytes), checks that it is well-formed
// and only then reports its elements to the handler, which it owns. '\' in the name is taken
// as a folder separator. A refused file raises XMLParseException naming the file, and the
// line and column of the fault.
void parseFile(IXMLSAXContentHandler* handler, const std::u16string& fileName);

}  // namespace tavrel::xml
