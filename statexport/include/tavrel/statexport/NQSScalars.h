// Objects with a fixed-size body (or none): numbers, characters, pointers and addresses.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>

#include "tavrel/statexport/NQSObject.h"
#include "tavrel/statexport/Prologs.h"

namespace tavrel::statexport {

class NQSBint final : public NQSObject {
 public:
  explicit NQSBint(std::uint32_t value = 0) : value_(value) {}
  std::uint32_t value() const { return value_; }

  std::uint32_t prolog() const override { return prolog::kBint; }
  const char* typeName() const override { return "Binary Integer"; }
  NQSRef<NQSObject> clone() const override;
  void parse(std::size_t& pos, ParseContext& context) override;
  void toText(std::string& text) const override;

 private:
  std::uint32_t value_;
};

// A library reference: six nibbles, the first least significant.
class NQSXlib final : public NQSObject {
 public:
  explicit NQSXlib(std::uint32_t value = 0) : value_(value) {}
  std::uint32_t value() const { return value_; }

  std::uint32_t prolog() const override { return prolog::kXlib; }
  const char* typeName() const override { return "Library Name"; }
  NQSRef<NQSObject> clone() const override;
  void parse(std::size_t& pos, ParseContext& context) override;
  void toText(std::string& text) const override;

 private:
  std::uint32_t value_;
};

class NQSChar final : public NQSObject {
 public:
  explicit NQSChar(char value = 0) : value_(value) {}
  char value() const { return value_; }

  std::uint32_t prolog() const override { return prolog::kChar; }
  const char* typeName() const override { return "Character"; }
  NQSRef<NQSObject> clone() const override;
  void parse(std::size_t& pos, ParseContext& context) override;
  void toText(std::string& text) const override;

 private:
  char value_;
};

// Fixed runs of nibbles kept two to a byte: seven for a flash pointer, ten for an access
// pointer.
template <std::size_t Nibbles>
using NibbleBytes = std::array<std::uint8_t, (Nibbles + 1) / 2>;

class NQSFlashPointer final : public NQSObject {
 public:
  static constexpr std::size_t kNibbles = 7;
  explicit NQSFlashPointer(const NibbleBytes<kNibbles>& bytes = {}) : bytes_(bytes) {}
  const NibbleBytes<kNibbles>& bytes() const { return bytes_; }

  std::uint32_t prolog() const override { return prolog::kFlashPointer; }
  const char* typeName() const override { return "Flash Pointer"; }
  NQSRef<NQSObject> clone() const override;
  void parse(std::size_t& pos, ParseContext& context) override;
  void toText(std::string& text) const override;

 private:
  NibbleBytes<kNibbles> bytes_;
};

class NQSAccPtr final : public NQSObject {
 public:
  static constexpr std::size_t kNibbles = 10;
  explicit NQSAccPtr(const NibbleBytes<kNibbles>& bytes = {}) : bytes_(bytes) {}
  const NibbleBytes<kNibbles>& bytes() const { return bytes_; }

  std::uint32_t prolog() const override { return prolog::kAccPtr; }
  const char* typeName() const override { return "Access Pointer"; }
  NQSRef<NQSObject> clone() const override;
  void parse(std::size_t& pos, ParseContext& context) override;
  void toText(std::string& text) const override;

 private:
  NibbleBytes<kNibbles> bytes_;
};

// A real number in the calculator's 16-nibble packed form (nibble 0 least significant).
class NQSReal final : public NQSObject {
 public:
  static constexpr std::size_t kNibbles = 16;
  explicit NQSReal(std::uint64_t packed = 0) : packed_(packed) {}
  std::uint64_t packed() const { return packed_; }

  std::uint32_t prolog() const override { return prolog::kReal; }
  const char* typeName() const override { return "Real Number"; }
  NQSRef<NQSObject> clone() const override;
  void parse(std::size_t& pos, ParseContext& context) override;
  void toText(std::string& text) const override;

 private:
  std::uint64_t packed_;
};

class NQSComplex final : public NQSObject {
 public:
  NQSComplex(std::uint64_t real = 0, std::uint64_t imaginary = 0)
      : real_(real), imaginary_(imaginary) {}
  std::uint64_t realPart() const { return real_; }
  std::uint64_t imaginaryPart() const { return imaginary_; }

  std::uint32_t prolog() const override { return prolog::kComplex; }
  const char* typeName() const override { return "Complex Number"; }
  NQSRef<NQSObject> clone() const override;
  void parse(std::size_t& pos, ParseContext& context) override;
  void toText(std::string& text) const override;

 private:
  std::uint64_t real_;
  std::uint64_t imaginary_;
};

// Any prolog the parser does not know: the value is kept as an address and has no body.
class NQSAddress final : public NQSObject {
 public:
  explicit NQSAddress(std::uint32_t address) : address_(address) {}
  std::uint32_t address() const { return address_; }

  std::uint32_t prolog() const override { return address_; }
  NQSRef<NQSObject> clone() const override;
  void parse(std::size_t& pos, ParseContext& context) override;
  void toText(std::string& text) const override;
  // Writes the text form to the diagnostic stream.
  void debugPrint(std::ostream& out) const;

 private:
  std::uint32_t address_;
};

}  // namespace tavrel::statexport
