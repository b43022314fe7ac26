// Feeds arbitrary XML text to the key set importer and to the importer of a skin's
// "emu_keys" part; neither may crash, and every filed region must be found again by name.
#include <cstdint>
#include <cstdlib>
#include <variant>

#include "DocumentEvents.h"
#include "EventDelivery.h"
#include "FuzzCommandCache.h"
#include "keys/KeyMapImporter.h"
#include "keys/KeySetImporter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrel;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  auto document = xml::readDocumentEvents(bytes);
  auto* events = std::get_if<std::vector<xml::DocumentEvent>>(&document);
  if (events == nullptr) {
    return 0;
  }

  CEmulatorKeySet keys;
  xml::deliverEvents(*events, new CKeySetImporter(keys));
  for (const EmulatorKey& key : keys.keys()) {
    for (const std::u16string& name : key.names) {
      if (keys.find(name) == nullptr) {
        std::abort();
      }
    }
  }

  KeyMap keyMap;
  keyMap.hitMap.resize(64, 64);
  fuzz::CFuzzCommandCache cache;
  xml::deliverEvents(*events, new CKeyMapImporter(keyMap, &cache, {}));
  for (std::int32_t y = -1; y <= 64; y += 13) {
    for (std::int32_t x = -1; x <= 64; x += 13) {
      keyMap.hitMap.isMarked(x, y);
      keyMap.regions.emulatorPressAt(x, y);
      keyMap.regions.commandPressAt(x, y);
    }
  }
  return 0;
}
