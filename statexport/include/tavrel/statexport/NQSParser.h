// Turning nibble streams into objects.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tavrel/statexport/NQSObject.h"

namespace tavrel::statexport {

// A new, empty object of the class that a prolog names; an NQSAddress for any other prolog.
NQSObjectRef createObject(std::uint32_t prolog);

// Reads a body into an object under the context's nesting guard; false when the parse is over.
bool parseBody(NQSObject& object, std::size_t& pos, ParseContext& context);

// Reads a prolog and its body. None when pos is at the end, when only the prolog fits, or
// when the context has run out of budget or depth.
NQSObjectRef parseObject(std::size_t& pos, ParseContext& context);

// One object starting at the first nibble of the buffer, without header or name.
NQSObjectRef parseBareObject(const std::uint8_t* bytes, std::size_t length);

}  // namespace tavrel::statexport
