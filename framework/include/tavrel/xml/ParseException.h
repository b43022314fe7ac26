#pragma once

#include "tavrel/excpt/Exception.h"

namespace tavrel::xml {

// A file the parser refuses: unreadable, too large, not well-formed or truncated. The
// handler's message names the file, and the line and column of the fault when there is one;
// its report keeps that message as the extra line of the next boot error box. No element of
// such a file reaches a content handler.
using XMLParseException = excpt::TException<6000, excpt::ErrorMsgHandler>;

}  // namespace tavrel::xml
