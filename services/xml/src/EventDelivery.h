#pragma once

#include <vector>

#include "DocumentEvents.h"
#include "tavrel/xml/ContentHandler.h"

namespace tavrel::xml {

// Hands a document's events to the root handler and the child handlers given on the way,
// and releases every handler, also when a handler raises an exception (which passes on).
void deliverEvents(const std::vector<DocumentEvent>& events, IXMLSAXContentHandler* root);

}  // namespace tavrel::xml
