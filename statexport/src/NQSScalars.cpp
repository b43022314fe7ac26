#include "tavrel/statexport/NQSScalars.h"

#include <ostream>

#include "HexText.h"
#include "tavrel/statexport/RealText.h"

namespace tavrel::statexport {
namespace {

// Fixed-size bodies are read only when they lie wholly before the end; otherwise the object
// keeps its zero value and the position stays.
template <std::size_t N>
void readNibbleBytes(std::size_t& pos, const ParseContext& context, NibbleBytes<N>& bytes) {
  const NibbleStream& stream = context.stream();
  if (!stream.fits(pos, N)) {
    return;
  }
  for (std::size_t k = 0; k < N; k += 2) {
    const unsigned high = (k + 1 < N) ? stream.nibble(pos + k + 1) : 0;
    bytes[k / 2] = static_cast<std::uint8_t>(stream.nibble(pos + k) | (high << 4));
  }
  pos += N;
}

std::uint64_t readPackedReal(const NibbleStream& stream, std::size_t pos) {
  return stream.readLittle(pos, 8) |
         (static_cast<std::uint64_t>(stream.readLittle(pos + 8, 8)) << 32);
}

}  // namespace

NQSRef<NQSObject> NQSBint::clone() const {
  return makeNQS<NQSBint>(value_);
}
void NQSBint::parse(std::size_t& pos, ParseContext& context) {
  if (context.stream().fits(pos, 5)) {
    value_ = context.stream().readNibbles5(pos);
    pos += 5;
  }
}
void NQSBint::toText(std::string& text) const {
  text += '<';
  appendHex(text, value_, 5);
  text += '>';
}

NQSRef<NQSObject> NQSXlib::clone() const {
  return makeNQS<NQSXlib>(value_);
}
void NQSXlib::parse(std::size_t& pos, ParseContext& context) {
  if (context.stream().fits(pos, 6)) {
    value_ = context.stream().readLittle(pos, 6);
    pos += 6;
  }
}
void NQSXlib::toText(std::string& text) const {
  text += "XLIB ";
  appendHex(text, value_, 6);
}

NQSRef<NQSObject> NQSChar::clone() const {
  return makeNQS<NQSChar>(value_);
}
void NQSChar::parse(std::size_t& pos, ParseContext& context) {
  if (context.stream().fits(pos, 2)) {
    value_ = static_cast<char>(context.stream().readNibbles2(pos));
    pos += 2;
  }
}
void NQSChar::toText(std::string& text) const {
  text += '\'';
  text += value_;
  text += '\'';
}

NQSRef<NQSObject> NQSFlashPointer::clone() const {
  return makeNQS<NQSFlashPointer>(bytes_);
}
void NQSFlashPointer::parse(std::size_t& pos, ParseContext& context) {
  readNibbleBytes<kNibbles>(pos, context, bytes_);
}
void NQSFlashPointer::toText(std::string& text) const {
  text += "Flash Pointer ";
  appendNibbleDigits(text, bytes_, kNibbles);
}

NQSRef<NQSObject> NQSAccPtr::clone() const {
  return makeNQS<NQSAccPtr>(bytes_);
}
void NQSAccPtr::parse(std::size_t& pos, ParseContext& context) {
  readNibbleBytes<kNibbles>(pos, context, bytes_);
}
void NQSAccPtr::toText(std::string& text) const {
  text += "Access Pointer ";
  appendNibbleDigits(text, bytes_, kNibbles);
}

NQSRef<NQSObject> NQSReal::clone() const {
  return makeNQS<NQSReal>(packed_);
}
void NQSReal::parse(std::size_t& pos, ParseContext& context) {
  if (context.stream().fits(pos, kNibbles)) {
    packed_ = readPackedReal(context.stream(), pos);
    pos += kNibbles;
  }
}
void NQSReal::toText(std::string& text) const {
  appendRealText(text, packed_);
}

NQSRef<NQSObject> NQSComplex::clone() const {
  return makeNQS<NQSComplex>(real_, imaginary_);
}
void NQSComplex::parse(std::size_t& pos, ParseContext& context) {
  if (context.stream().fits(pos, 2 * NQSReal::kNibbles)) {
    real_ = readPackedReal(context.stream(), pos);
    imaginary_ = readPackedReal(context.stream(), pos + NQSReal::kNibbles);
    pos += 2 * NQSReal::kNibbles;
  }
}
void NQSComplex::toText(std::string& text) const {
  text += '(';
  appendRealText(text, real_);
  text += ',';
  appendRealText(text, imaginary_);
  text += ')';
}

NQSRef<NQSObject> NQSAddress::clone() const {
  return makeNQS<NQSAddress>(address_);
}
void NQSAddress::parse(std::size_t&, ParseContext&) {}
void NQSAddress::toText(std::string& text) const {
  text += '(';
  appendHex(text, address_, 5);
  text += ")\n";
}
void NQSAddress::debugPrint(std::ostream& out) const {
  out << text();
}

}  // namespace tavrel::statexport
