#include "LinkFraming.h"

namespace tavrel::core::datavane {
namespace {

// Collects bits into 7-bit bytes in either order.
template <bool kMsbFirst>
std::vector<std::uint8_t> pack(std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> out;
  out.reserve(packedLength(data.size()));
  std::uint32_t acc = 0;
  int bits = 0;
  for (std::uint8_t byte : data) {
    if constexpr (kMsbFirst) {
      acc = (acc << 8) | byte;
    } else {
      acc |= std::uint32_t{byte} << bits;
    }
    bits += 8;
    while (bits >= 7) {
      bits -= 7;
      if constexpr (kMsbFirst) {
        out.push_back(static_cast<std::uint8_t>((acc >> bits) & 0x7F));
      } else {
        out.push_back(static_cast<std::uint8_t>(acc & 0x7F));
        acc >>= 7;
      }
    }
    if constexpr (kMsbFirst) {
      acc &= (1u << bits) - 1;
    }
  }
  if (bits > 0) {
    if constexpr (kMsbFirst) {
      out.push_back(static_cast<std::uint8_t>((acc << (7 - bits)) & 0x7F));
    } else {
      out.push_back(static_cast<std::uint8_t>(acc & 0x7F));
    }
  }
  return out;
}

template <bool kMsbFirst>
std::vector<std::uint8_t> unpack(std::span<const std::uint8_t> packed, std::size_t n) {
  std::vector<std::uint8_t> out;
  out.reserve(n);
  std::uint32_t acc = 0;
  int bits = 0;
  for (std::uint8_t byte : packed) {
    if (out.size() == n) {
      break;
    }
    if constexpr (kMsbFirst) {
      acc = (acc << 7) | (byte & 0x7Fu);
    } else {
      acc |= std::uint32_t{byte & 0x7Fu} << bits;
    }
    bits += 7;
    if (bits >= 8) {
      bits -= 8;
      if constexpr (kMsbFirst) {
        out.push_back(static_cast<std::uint8_t>(acc >> bits));
        acc &= (1u << bits) - 1;
      } else {
        out.push_back(static_cast<std::uint8_t>(acc));
        acc >>= 8;
      }
    }
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> packMsbFirst(std::span<const std::uint8_t> data) {
  return pack<true>(data);
}
std::vector<std::uint8_t> unpackMsbFirst(std::span<const std::uint8_t> packed, std::size_t n) {
  return unpack<true>(packed, n);
}
std::vector<std::uint8_t> packLsbFirst(std::span<const std::uint8_t> data) {
  return pack<false>(data);
}
std::vector<std::uint8_t> unpackLsbFirst(std::span<const std::uint8_t> packed, std::size_t n) {
  return unpack<false>(packed, n);
}

std::uint8_t packetChecksum(std::uint8_t command, std::size_t encodedLength,
                            std::span<const std::uint8_t> sentPayload) {
  std::uint32_t sum = (encodedLength >> 7) ^ (encodedLength & 0x7F) ^ command;
  for (std::uint8_t byte : sentPayload) {
    sum ^= byte;
  }
  return static_cast<std::uint8_t>(sum & 0x7F);
}

std::vector<std::uint8_t> encodePacket(std::uint8_t command,
                                       std::span<const std::uint8_t> payload) {
  const bool raw = isRawCommand(command) || payload.empty();
  std::vector<std::uint8_t> body =
      raw ? std::vector<std::uint8_t>(payload.begin(), payload.end()) : packMsbFirst(payload);
  const std::size_t length = body.size();
  if (length > kMaxEncodedLength) {
    return {};
  }
  std::vector<std::uint8_t> packet{kPacketStart0, kPacketStart1, command,
                                   static_cast<std::uint8_t>(length >> 7),
                                   static_cast<std::uint8_t>(length & 0x7F)};
  packet.insert(packet.end(), body.begin(), body.end());
  packet.push_back(packetChecksum(command, length, body));
  return packet;
}

std::vector<std::uint8_t> encodeMessage(std::span<const std::uint8_t> message) {
  const bool framed =
      message.size() >= 2 && message[0] == kPacketStart0 && message[1] == kPacketStart1;
  if (!framed) {
    if (message.size() == 2) {
      return {message.begin(), message.end()};
    }
    return {};
  }
  if (message.size() < 3) {
    return {};
  }
  return encodePacket(message[2], message.subspan(3));
}

std::vector<std::uint8_t> uploadFrame(std::uint32_t offset, std::span<const std::uint8_t> image) {
  std::vector<std::uint8_t> plain(4 + kUploadBlockBytes, 0);
  for (int i = 0; i < 4; ++i) {
    plain[i] = static_cast<std::uint8_t>(offset >> (8 * i));
  }
  for (std::size_t i = 0; i < kUploadBlockBytes && offset + i < image.size(); ++i) {
    plain[4 + i] = image[offset + i];
  }
  std::vector<std::uint8_t> frame = packLsbFirst(plain);
  std::uint8_t check = 0;
  for (std::uint8_t byte : frame) {
    check ^= byte;
  }
  frame.push_back(check);
  return frame;
}

}  // namespace tavrel::core::datavane
