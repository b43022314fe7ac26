// The five-nibble type codes that open calculator objects.
#pragma once

#include <cstdint>

namespace tavrel::statexport::prolog {

inline constexpr std::uint32_t kInt = 0x02614;
inline constexpr std::uint32_t kMatrix = 0x02686;
inline constexpr std::uint32_t kFlashPointer = 0x026AC;
inline constexpr std::uint32_t kFolio = 0x026D5;
inline constexpr std::uint32_t kMiniFont = 0x026FE;
inline constexpr std::uint32_t kBint = 0x02911;
inline constexpr std::uint32_t kReal = 0x02933;
inline constexpr std::uint32_t kComplex = 0x02977;
inline constexpr std::uint32_t kChar = 0x029BF;
inline constexpr std::uint32_t kArray = 0x029E8;
inline constexpr std::uint32_t kLinkArray = 0x02A0A;
inline constexpr std::uint32_t kString = 0x02A2C;
inline constexpr std::uint32_t kHex = 0x02A4E;
inline constexpr std::uint32_t kList = 0x02A74;
inline constexpr std::uint32_t kDir = 0x02A96;
inline constexpr std::uint32_t kSymbolic = 0x02AB8;
inline constexpr std::uint32_t kExt = 0x02ADA;
inline constexpr std::uint32_t kGrob = 0x02B1E;
inline constexpr std::uint32_t kLib = 0x02B40;
inline constexpr std::uint32_t kBackup = 0x02B62;
inline constexpr std::uint32_t kExt0 = 0x02B88;
inline constexpr std::uint32_t kAccPtr = 0x02BAA;
inline constexpr std::uint32_t kFont = 0x02BCC;
inline constexpr std::uint32_t kEQWriterOb = 0x02BEE;
inline constexpr std::uint32_t kExt4 = 0x02C10;
inline constexpr std::uint32_t kProg = 0x02D9D;
inline constexpr std::uint32_t kCode = 0x02DCC;
inline constexpr std::uint32_t kIdnt = 0x02E48;
inline constexpr std::uint32_t kLam = 0x02E6D;
inline constexpr std::uint32_t kXlib = 0x02E92;

// Ends a composite's element sequence; it is not an object class of its own.
inline constexpr std::uint32_t kCompositeEnd = 0x0312B;
// What an element table reports as its type code.
inline constexpr std::uint32_t kArrayBody = 1;

}  // namespace tavrel::statexport::prolog
