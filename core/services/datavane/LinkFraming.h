// The logger's link framing: packets of 7-bit bytes after an FF 7F start, and the frames of a
// firmware upload. Pure functions over bytes, shared by the core and the fuzz target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tavrel::core::datavane {

inline constexpr std::uint8_t kPacketStart0 = 0xFF;
inline constexpr std::uint8_t kPacketStart1 = 0x7F;
inline constexpr std::size_t kPacketHeaderBytes = 5;  // FF 7F command length-high length-low
// The largest encoded length the two 7-bit length bytes can carry.
inline constexpr std::size_t kMaxEncodedLength = 0x3FFF;

// The number of 7-bit bytes that n data bytes need: (8n + 6) / 7.
constexpr std::size_t packedLength(std::size_t n) {
  return (8 * n + 6) / 7;
}
// Commands 5, 6 and 14 carry their payload as it is.
constexpr bool isRawCommand(std::uint8_t command) {
  return command == 5 || command == 6 || command == 14;
}

// Bits taken from each byte's top bit down, seven to an output byte; the last output byte
// holds the left-over bits at its top.
std::vector<std::uint8_t> packMsbFirst(std::span<const std::uint8_t> data);
// The inverse for n data bytes; the packed bytes must be packedLength(n) long.
std::vector<std::uint8_t> unpackMsbFirst(std::span<const std::uint8_t> packed, std::size_t n);

// Bits taken from each byte's bit 0 up, seven to an output byte (the upload frames).
std::vector<std::uint8_t> packLsbFirst(std::span<const std::uint8_t> data);
std::vector<std::uint8_t> unpackLsbFirst(std::span<const std::uint8_t> packed, std::size_t n);

// A whole packet: FF 7F, command, length, payload, checksum. Commands 5, 6, 14 and empty
// payloads go unpacked with length n; the rest are packed with length packedLength(n).
// Empty when the payload is too long for the length bytes.
std::vector<std::uint8_t> encodePacket(std::uint8_t command, std::span<const std::uint8_t> payload);

// A message as the application writes it: FF 7F, command and payload bytes become a packet;
// a two-byte message that does not start with FF 7F goes out as those two bytes; anything
// else is not a message (empty).
std::vector<std::uint8_t> encodeMessage(std::span<const std::uint8_t> message);

// The checksum of a packet from its command, length bytes and the payload bytes sent.
std::uint8_t packetChecksum(std::uint8_t command, std::size_t encodedLength,
                            std::span<const std::uint8_t> sentPayload);

// Firmware upload: the block at offset a of the image as its 152 frame bytes: the offset
// (32-bit little-endian) and 128 data bytes (zero-padded) packed LSB first into 151 bytes,
// then the XOR of those 151.
inline constexpr std::size_t kUploadBlockBytes = 128;
inline constexpr std::size_t kUploadFramePacked = 151;
inline constexpr std::size_t kUploadFrameBytes = kUploadFramePacked + 1;
std::vector<std::uint8_t> uploadFrame(std::uint32_t offset, std::span<const std::uint8_t> image);

}  // namespace tavrel::core::datavane
