#include "keys/KeySetFile.h"

#include <algorithm>
#include <cstdio>

#include "keys/KeySetImporter.h"
#include "tavrel/Text.h"

namespace tavrel {
namespace {

std::u16string settingOrDefault(CRegistry& registry, std::u16string_view name,
                                std::u16string_view fallback) {
  std::u16string value = registry.readText(u"", name);
  if (value.empty()) {
    value = fallback;
    registry.writeText(u"", name, value);
  }
  return value;
}

}  // namespace

std::u16string keySetFilePath(CRegistry& registry) {
  std::u16string folder = settingOrDefault(registry, u"DataPath", u"data");
  std::u16string file = settingOrDefault(registry, u"KeyDefFile", u"emu_keys.xml");
  // Settings written on other systems use the backslash.
  std::u16string path = folder + u'/' + file;
  std::replace(path.begin(), path.end(), u'\\', u'/');
  return path;
}

bool loadKeySet(const xml::System& xml, const std::u16string& path, CEmulatorKeySet& keys) {
  if (xml.parse.empty()) {
    std::fputs("key set: the XML service is not loaded\n", stderr);
    return false;
  }
  CEmulatorKeySet read;
  try {
    xml.parse(new CKeySetImporter(read), path);
  } catch (const xml::XMLParseException& refused) {
    std::fprintf(stderr, "key set: %s\n", toUtf8(refused.handler().message).c_str());
    return false;
  }
  keys = std::move(read);
  return true;
}

}  // namespace tavrel
