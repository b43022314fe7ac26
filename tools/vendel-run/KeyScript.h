// Key scripts for the real-time mode: whitespace-separated steps.
//   NAME        press and release a key of the key set ("KEY_ENTER", or "ENTER"; the
//               characters 0-9 . + - * / stand for their keys)
//   @POSITION   press and release the key at that position (decimal or 0x hex)
//   wait:MS     let the calculator run for MS milliseconds
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tavrel::vendelrun {

struct KeyStep {
  enum class Kind { Press, Wait } kind = Kind::Press;
  std::int32_t position = 0;       // Press
  std::uint32_t milliseconds = 0;  // Wait
};

// Key name -> key position, read from a key set file (at most 1 MiB). Empty with error set
// when the file cannot be read or names no key.
std::map<std::string, std::int32_t> readKeySet(const std::filesystem::path& file,
                                               std::string& error);

// The steps of a script, or nothing with error naming the first bad step.
std::optional<std::vector<KeyStep>> parseKeyScript(const std::string& script,
                                                   const std::map<std::string, std::int32_t>& keys,
                                                   std::string& error);

}  // namespace tavrel::vendelrun
