#include "tavrel/statexport/NQSParser.h"

#include <exception>

#include "tavrel/statexport/NQSArray.h"
#include "tavrel/statexport/NQSComposite.h"
#include "tavrel/statexport/NQSDir.h"
#include "tavrel/statexport/NQSScalars.h"

namespace tavrel::statexport {

NQSObjectRef createObject(std::uint32_t code) {
  switch (code) {
    case prolog::kInt:
      return makeNQS<NQSInt>();
    case prolog::kMatrix:
      return makeNQS<NQSMatrix>();
    case prolog::kFlashPointer:
      return makeNQS<NQSFlashPointer>();
    case prolog::kFolio:
      return makeNQS<NQSFolio>();
    case prolog::kMiniFont:
      return makeNQS<NQSMiniFont>();
    case prolog::kBint:
      return makeNQS<NQSBint>();
    case prolog::kReal:
      return makeNQS<NQSReal>();
    case prolog::kComplex:
      return makeNQS<NQSComplex>();
    case prolog::kChar:
      return makeNQS<NQSChar>();
    case prolog::kArray:
      return makeNQS<NQSArray>();
    case prolog::kLinkArray:
      return makeNQS<NQSLinkArray>();
    case prolog::kString:
      return makeNQS<NQSString>();
    case prolog::kHex:
      return makeNQS<NQSHex>();
    case prolog::kList:
      return makeNQS<NQSList>();
    case prolog::kDir:
      return makeNQS<NQSDir>();
    case prolog::kSymbolic:
      return makeNQS<NQSSymbolic>();
    case prolog::kExt:
      return makeNQS<NQSExt>();
    case prolog::kGrob:
      return makeNQS<NQSGrob>();
    case prolog::kLib:
      return makeNQS<NQSLib>();
    case prolog::kBackup:
      return makeNQS<NQSBackup>();
    case prolog::kExt0:
      return makeNQS<NQSExt0>();
    case prolog::kAccPtr:
      return makeNQS<NQSAccPtr>();
    case prolog::kFont:
      return makeNQS<NQSFont>();
    case prolog::kEQWriterOb:
      return makeNQS<NQSEQWriterOb>();
    case prolog::kExt4:
      return makeNQS<NQSExt4>();
    case prolog::kProg:
      return makeNQS<NQSProg>();
    case prolog::kCode:
      return makeNQS<NQSCode>();
    case prolog::kIdnt:
      return makeNQS<NQSIdnt>();
    case prolog::kLam:
      return makeNQS<NQSLam>();
    case prolog::kXlib:
      return makeNQS<NQSXlib>();
    default:
      return makeNQS<NQSAddress>(code);
  }
}

bool parseBody(NQSObject& object, std::size_t& pos, ParseContext& context) {
  if (!context.enter()) {
    return false;
  }
  object.parse(pos, context);
  context.leave();
  return true;
}

NQSObjectRef parseObject(std::size_t& pos, ParseContext& context) {
  const NibbleStream& stream = context.stream();
  if (pos >= stream.end() || !context.spend(ParseContext::kObjectCost)) {
    return nullptr;
  }
  const std::uint32_t code = stream.readNibbles5(pos);
  pos += 5;
  if (pos >= stream.end()) {
    return nullptr;
  }
  NQSObjectRef object = createObject(code);
  if (!parseBody(*object, pos, context)) {
    return nullptr;
  }
  return object;
}

NQSObjectRef parseBareObject(const std::uint8_t* bytes, std::size_t length) {
  try {
    const NibbleStream stream(bytes, length);
    ParseContext context(stream);
    std::size_t pos = 0;
    return parseObject(pos, context);
  } catch (const std::exception&) {
    // Running out of memory on hostile input is a failed read, not a crash.
    return nullptr;
  }
}

}  // namespace tavrel::statexport
