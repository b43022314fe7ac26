#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "tavrel/Export.h"

class QVariant;

namespace tavrel {

// A window position packed into one 64-bit setting: x in the high half, y in the low half,
// both signed.
struct WindowPosition {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const WindowPosition&, const WindowPosition&) = default;
};

constexpr std::uint64_t packPosition(WindowPosition position) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(position.x)) << 32) |
         static_cast<std::uint32_t>(position.y);
}

constexpr WindowPosition unpackPosition(std::uint64_t packed) {
  return WindowPosition{static_cast<std::int32_t>(static_cast<std::uint32_t>(packed >> 32)),
                        static_cast<std::int32_t>(static_cast<std::uint32_t>(packed))};
}

// The settings store below the application key, shared by the shell and the core: a
// per-user store that is read and written, over a machine-wide store that is only read.
// Sub-keys are written "a\b" relative to the application key; "" is the key itself.
// Values are text, multi-text, 32-bit or 64-bit numbers, kept with their type.
// Every write is saved at once, atomically; a failed write leaves the store as it was.
class TAVREL_API CRegistry {
 public:
  static constexpr std::u16string_view kApplicationKey = u"Software\\Corvanta\\ZRT7 Calvane";
  static constexpr std::size_t kMaxTextLength = 32767;
  static constexpr std::size_t kMaxListItems = 4096;

  // The stores of organisation "Corvanta", application "ZRT7 Calvane": the user store in
  // $XDG_CONFIG_HOME, the machine store in the first folder of $XDG_CONFIG_DIRS holding one.
  CRegistry();
  // Explicit store files; an empty name means that store is absent.
  CRegistry(const std::u16string& userFile, const std::u16string& machineFile);
  ~CRegistry();
  CRegistry(const CRegistry&) = delete;
  CRegistry& operator=(const CRegistry&) = delete;

  const std::u16string& keyPath() const { return keyPath_; }
  std::u16string userFile() const;
  std::u16string machineFile() const;
  bool hasUserStore() const;
  bool hasMachineStore() const;

  // Reads a text: the user store first; when its sub-key or value is missing or the value
  // is not a text, the machine store. Leaves out unchanged and returns false when neither
  // has it.
  bool readText(std::u16string_view subKey, std::u16string_view name, std::u16string& out) const;
  // The same, empty when not found.
  std::u16string readText(std::u16string_view subKey, std::u16string_view name) const;
  // Writes into an existing sub-key of the user store; false (and lastError()) otherwise.
  bool writeText(std::u16string_view subKey, std::u16string_view name, std::u16string_view text);

  // Multi-text, with the same fallback as text.
  bool readTextList(std::u16string_view subKey, std::u16string_view name,
                    std::vector<std::u16string>& out) const;
  bool writeTextList(std::u16string_view subKey, std::u16string_view name,
                     const std::vector<std::u16string>& items);

  // Numbers: the user store's value when its sub-key and value exist, otherwise the machine
  // store's. A value that is missing everywhere or not a number of the asked size raises
  // excpt::SettingReadException (8001). A 64-bit read also takes a 32-bit value.
  std::uint32_t readNumber32(std::u16string_view subKey, std::u16string_view name) const;
  std::uint64_t readNumber64(std::u16string_view subKey, std::u16string_view name) const;
  // A failed write raises excpt::SettingWriteException (8002).
  void writeNumber32(std::u16string_view subKey, std::u16string_view name, std::uint32_t value);
  void writeNumber64(std::u16string_view subKey, std::u16string_view name, std::uint64_t value);

  WindowPosition readPosition(std::u16string_view subKey, std::u16string_view name) const {
    return unpackPosition(readNumber64(subKey, name));
  }
  void writePosition(std::u16string_view subKey, std::u16string_view name,
                     WindowPosition position) {
    writeNumber64(subKey, name, packPosition(position));
  }

  // Creates child (and any missing key on the way) below parent in the user store.
  bool createKey(std::u16string_view parent, std::u16string_view child);
  // Whether the sub-key exists in the user store.
  bool keyExists(std::u16string_view subKey) const;
  bool deleteValue(std::u16string_view subKey, std::u16string_view name);
  // Deletes child and everything below it from the user store.
  bool deleteKey(std::u16string_view parent, std::u16string_view child);
  // The sub-keys directly below subKey in either store, sorted, without repeats.
  std::vector<std::u16string> subKeys(std::u16string_view subKey) const;

  // Why the last failed operation failed.
  std::u16string lastError() const;

 private:
  class Store;

  // Writes (or, for an invalid value, deletes) a value in an existing user sub-key.
  bool writeValue(std::u16string_view subKey, std::u16string_view name, const QVariant& value);

  std::u16string keyPath_;
  std::unique_ptr<Store> user_;
  std::unique_ptr<Store> machine_;
  mutable std::mutex mutex_;
  mutable std::u16string lastError_;
};

}  // namespace tavrel
