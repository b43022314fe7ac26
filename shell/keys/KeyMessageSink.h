#pragma once

#include <cstdint>

namespace tavrel {

// Message kinds of a key message; the second word is the key position, the third 0.
inline constexpr std::uint32_t kKeyPressMessage = 0;
inline constexpr std::uint32_t kKeyReleaseMessage = 1;

// Where key messages go: the core's message queue once a core is loaded (its post-message
// entry, posted with no task). The shell's core binding implements it.
class IKeyMessageSink {
 public:
  virtual void post(std::uint32_t type, std::uint32_t first, std::uint32_t second) = 0;

 protected:
  ~IKeyMessageSink() = default;
};

}  // namespace tavrel
