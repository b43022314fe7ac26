// Objects whose body carries its own length: names, strings and the opaque counted kinds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tavrel/statexport/NQSObject.h"
#include "tavrel/statexport/Prologs.h"

namespace tavrel::statexport {

// A body kept as nibbles two to a byte, the first in the low half.
class NQSLengthObject : public NQSObject {
 public:
  // A new object of the same class with an empty body.
  virtual NQSRef<NQSObject> createEmpty() const = 0;

  NQSRef<NQSObject> clone() const override;
  // A five-nibble length that counts itself, then length - 5 nibbles of body. A length
  // below 6 or a body running past the end leaves the body empty and skips the length only.
  void parse(std::size_t& pos, ParseContext& context) override;
  // typeName(), three spaces, the body's nibbles in hex, a line feed.
  void toText(std::string& text) const override;

  const std::vector<std::uint8_t>& body() const { return body_; }
  std::uint32_t bodyLength() const { return bodyLength_; }
  void setBody(std::vector<std::uint8_t> bytes, std::uint32_t nibbles);

 private:
  std::vector<std::uint8_t> body_;
  std::uint32_t bodyLength_ = 0;
};

// An opaque counted object that is only told apart by its prolog and name.
template <std::uint32_t Prolog, const char* Name>
class NQSCountedObject final : public NQSLengthObject {
 public:
  std::uint32_t prolog() const override { return Prolog; }
  const char* typeName() const override { return Name; }
  NQSRef<NQSObject> createEmpty() const override { return makeNQS<NQSCountedObject>(); }
};

namespace type_name {
inline constexpr char kInt[] = "Integer";
inline constexpr char kFolio[] = "Folio";
inline constexpr char kMiniFont[] = "Mini Font";
inline constexpr char kLinkArray[] = "Linked Array";
inline constexpr char kHex[] = "Hex";
inline constexpr char kGrob[] = "Graphic Object";
inline constexpr char kLib[] = "Library";
inline constexpr char kBackup[] = "Backup Object";
inline constexpr char kExt0[] = "Extended Object 0";
inline constexpr char kFont[] = "Font";
inline constexpr char kEQWriterOb[] = "Equation Writer Object";
inline constexpr char kExt4[] = "Extended Object 4";
inline constexpr char kCode[] = "Code Object";
}  // namespace type_name

using NQSInt = NQSCountedObject<prolog::kInt, type_name::kInt>;
using NQSFolio = NQSCountedObject<prolog::kFolio, type_name::kFolio>;
using NQSMiniFont = NQSCountedObject<prolog::kMiniFont, type_name::kMiniFont>;
using NQSLinkArray = NQSCountedObject<prolog::kLinkArray, type_name::kLinkArray>;
using NQSHex = NQSCountedObject<prolog::kHex, type_name::kHex>;
using NQSGrob = NQSCountedObject<prolog::kGrob, type_name::kGrob>;
using NQSLib = NQSCountedObject<prolog::kLib, type_name::kLib>;
using NQSBackup = NQSCountedObject<prolog::kBackup, type_name::kBackup>;
using NQSExt0 = NQSCountedObject<prolog::kExt0, type_name::kExt0>;
using NQSFont = NQSCountedObject<prolog::kFont, type_name::kFont>;
using NQSEQWriterOb = NQSCountedObject<prolog::kEQWriterOb, type_name::kEQWriterOb>;
using NQSExt4 = NQSCountedObject<prolog::kExt4, type_name::kExt4>;
using NQSCode = NQSCountedObject<prolog::kCode, type_name::kCode>;

// Counted characters, two nibbles each.
class NQSString final : public NQSLengthObject {
 public:
  std::uint32_t prolog() const override { return prolog::kString; }
  const char* typeName() const override { return "String"; }
  NQSRef<NQSObject> createEmpty() const override { return makeNQS<NQSString>(); }
  void toText(std::string& text) const override;
};

// A global name: a two-nibble character count, then the characters. The body holds one
// character per byte.
class NQSIdnt : public NQSLengthObject {
 public:
  NQSIdnt() = default;
  explicit NQSIdnt(const std::string& name);

  std::uint32_t prolog() const override { return prolog::kIdnt; }
  const char* typeName() const override { return "Name"; }
  NQSRef<NQSObject> createEmpty() const override { return makeNQS<NQSIdnt>(); }
  void parse(std::size_t& pos, ParseContext& context) override;
  void toText(std::string& text) const override;

  std::string name() const { return std::string(body().begin(), body().end()); }
};

class NQSLam final : public NQSIdnt {
 public:
  using NQSIdnt::NQSIdnt;
  std::uint32_t prolog() const override { return prolog::kLam; }
  const char* typeName() const override { return "Local Name"; }
  NQSRef<NQSObject> createEmpty() const override { return makeNQS<NQSLam>(); }
};

}  // namespace tavrel::statexport
