#include "tavrel/statexport/NQSLengthObjects.h"

#include "HexText.h"

namespace tavrel::statexport {

NQSRef<NQSObject> NQSLengthObject::clone() const {
  NQSRef<NQSObject> copy = createEmpty();
  static_cast<NQSLengthObject&>(*copy).setBody(body_, bodyLength_);
  return copy;
}

void NQSLengthObject::parse(std::size_t& pos, ParseContext& context) {
  const NibbleStream& stream = context.stream();
  const std::uint32_t length = stream.readNibbles5(pos);
  if (length < 6 || !stream.fits(pos, length) || !context.spend(length)) {
    pos += 5;
    return;
  }
  std::size_t bodyPos = pos + 5;
  std::vector<std::uint8_t> bytes;
  stream.copyNibbles(bodyPos, length - 5, bytes);
  setBody(std::move(bytes), length - 5);
  pos += length;
}

void NQSLengthObject::toText(std::string& text) const {
  text += typeName();
  text += "   ";
  appendNibbleDigits(text, body_, bodyLength_);
  text += '\n';
}

void NQSLengthObject::setBody(std::vector<std::uint8_t> bytes, std::uint32_t nibbles) {
  body_ = std::move(bytes);
  bodyLength_ = nibbles;
}

void NQSString::toText(std::string& text) const {
  text += '"';
  text.append(body().begin(), body().end());
  text += "\"\n";
}

NQSIdnt::NQSIdnt(const std::string& name) {
  setBody(std::vector<std::uint8_t>(name.begin(), name.end()),
          static_cast<std::uint32_t>(2 * name.size()));
}

void NQSIdnt::parse(std::size_t& pos, ParseContext& context) {
  const NibbleStream& stream = context.stream();
  const std::uint32_t count = stream.readNibbles2(pos);
  pos += 2;
  if (count > 0 && stream.fits(pos, 2 * count) && context.spend(2 * count)) {
    std::size_t namePos = pos;
    std::vector<std::uint8_t> bytes;
    stream.copyNibbles(namePos, 2 * count, bytes);
    setBody(std::move(bytes), 2 * count);
  }
  pos += 2 * count;
}

void NQSIdnt::toText(std::string& text) const {
  text += '\'';
  text.append(body().begin(), body().end());
  text += "'\n";
}

}  // namespace tavrel::statexport
