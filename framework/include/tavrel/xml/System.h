#pragma once

#include <cstddef>
#include <string>

#include "tavrel/fn/Function.h"
#include "tavrel/xml/ContentHandler.h"
#include "tavrel/xml/OutStream.h"
#include "tavrel/xml/ParseException.h"

namespace tavrel::xml {

// The XML service as the shell sees it. The XML plug-in fills both members in its export
// "loadXMLSubsystem" and empties them again in its closeLibrary. Shell code reaches the
// process's record through xmlSystem() of shell/loader/XmlSubsystem.h.
struct System {
  // A new writer, owned by the caller.
  fn::Function<fn::ret<IXMLOutStream*>> createOutStream;
  // Parses the file and reports its elements to the handler; the parser takes ownership of
  // the handler in every case. Raises XMLParseException for a file it refuses; an exception
  // raised by a handler passes on unchanged. Either way every handler is released first.
  fn::Function<fn::ret<void>, IXMLSAXContentHandler*, std::u16string> parse;
};

using LoadXMLSubsystemEntry = void(System* system);
inline constexpr const char* kLoadXMLSubsystemExport = "loadXMLSubsystem";

// Files larger than this are refused unread.
inline constexpr std::size_t kMaxXMLFileBytes = 8u * 1024 * 1024;

}  // namespace tavrel::xml
