#include "keys/KeyMapImporter.h"

#include <memory>

namespace tavrel {

CKeyMapImporter::CKeyMapImporter(KeyMap& keys, ICommandCache* cache,
                                 RegionPainterBinder bindPainter)
    : keys_(keys), cache_(cache), bindPainter_(std::move(bindPainter)) {
  keys_.pcKeys.clear();
}

void CKeyMapImporter::startElement(xml::IXMLParserContext&, const std::u16string& name,
                                   const xml::IXMLAttributeList& attributes) {
  if (name == u"emu_key_code") {
    // A key without a name could not be pressed by name; its regions belong to nobody.
    const std::u16string key = attributes.value(u"name");
    definition_.reset();
    if (!key.empty()) {
      definition_ = Definition{key, u"key_down " + key, u"key_up " + key, true};
    }
  } else if (name == u"command") {
    definition_.reset();
    if (attributes.contains(u"name") && attributes.contains(u"down") &&
        attributes.contains(u"up")) {
      definition_ = Definition{attributes.value(u"name"), attributes.value(u"down"),
                               attributes.value(u"up"), false};
    }
  } else if (name == u"pixel_region") {
    region_.emplace();
    painterName_.clear();
  } else if (region_ && name == u"origin") {
    region_->left = xml::decimalAttribute(attributes, u"x");
    region_->top = xml::decimalAttribute(attributes, u"y");
  } else if (region_ && name == u"dimensions") {
    region_->width = xml::decimalAttribute(attributes, u"width");
    region_->height = xml::decimalAttribute(attributes, u"height");
  } else if (region_ && name == u"function") {
    painterName_ = attributes.value(u"name");
  }
}

void CKeyMapImporter::endElement(const std::u16string& name, const std::u16string& text) {
  if (name == u"pixel_region" && region_) {
    fileRegion();
    region_.reset();
  } else if (name == u"win_os_key_msg") {
    mapPcKey(text);
  }
}

void CKeyMapImporter::fileRegion() {
  if (!definition_ || cache_ == nullptr) {
    return;
  }
  // A region that does not fit or overlaps stays clickable; only its pixels are not marked.
  keys_.hitMap.mark(region_->left, region_->top, region_->width, region_->height);
  if (bindPainter_) {
    if (!painterName_.empty()) {
      region_->drawPressed = bindPainter_(painterName_, *region_);
    }
    region_->drawNormal = bindPainter_(kResetPainter, *region_);
  }
  auto region = std::make_shared<const KeyRegion>(std::move(*region_));
  const std::uint16_t pressId = cache_->id(definition_->press);
  const std::uint16_t releaseId = cache_->id(definition_->release);
  if (definition_->emulatorKey) {
    keys_.regions.addEmulatorKey(pressId, releaseId, definition_->name, std::move(region));
  } else {
    keys_.regions.addCommandKey(pressId, releaseId, definition_->name, std::move(region));
  }
}

void CKeyMapImporter::mapPcKey(const std::u16string& text) {
  const std::optional<std::int32_t> virtualKey = xml::parseDecimal(text);
  if (!definition_ || definition_->name.empty() || cache_ == nullptr || !virtualKey ||
      *virtualKey < 0 || *virtualKey >= static_cast<std::int32_t>(PcKeyTables::kKeyCount)) {
    return;
  }
  keys_.pcKeys.down[*virtualKey] = cache_->id(definition_->press);
  keys_.pcKeys.up[*virtualKey] = cache_->id(definition_->release);
}

}  // namespace tavrel
