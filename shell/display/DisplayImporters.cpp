#include "display/DisplayImporters.h"

#include <algorithm>

namespace tavrel {

std::uint8_t colourComponent(const xml::IXMLAttributeList& attributes, const std::u16string& name) {
  return static_cast<std::uint8_t>(std::clamp(xml::decimalAttribute(attributes, name), 0, 255));
}

void CLcdImporter::startElement(xml::IXMLParserContext&, const std::u16string& name,
                                const xml::IXMLAttributeList& attributes) {
  if (name == u"foreground_colour") {
    lcd_.foregroundRed = colourComponent(attributes, u"red");
    lcd_.foregroundGreen = colourComponent(attributes, u"green");
    lcd_.foregroundBlue = colourComponent(attributes, u"blue");
  } else if (name == u"background_colour") {
    lcd_.backgroundRed = colourComponent(attributes, u"red");
    lcd_.backgroundGreen = colourComponent(attributes, u"green");
    lcd_.backgroundBlue = colourComponent(attributes, u"blue");
  } else if (name == u"offset") {
    lcd_.offsetX = xml::decimalAttribute(attributes, u"x");
    lcd_.offsetY = xml::decimalAttribute(attributes, u"y");
  } else if (name == u"dimensions") {
    lcd_.width = xml::decimalAttribute(attributes, u"width");
    lcd_.height = xml::decimalAttribute(attributes, u"height");
  } else if (name == u"pixel_size" && attributes.contains(u"value")) {
    lcd_.pixelSize = xml::decimalAttribute(attributes, u"value");
  }
}

void CAnnounciatorImporter::startElement(xml::IXMLParserContext&, const std::u16string& name,
                                         const xml::IXMLAttributeList& attributes) {
  if (insideIcon_) {
    readIcon(name, attributes);
  } else if (name == u"icon") {
    insideIcon_ = true;
    const int index = xml::decimalAttribute(attributes, u"index");
    icon_.reset();
    if (index >= 0 && index < gui::AnnounciatorSettings::kIconCount) {
      icon_ = index;
    }
  } else if (name == u"offset") {
    strip_.offsetX = xml::decimalAttribute(attributes, u"x");
    strip_.offsetY = xml::decimalAttribute(attributes, u"y");
  } else if (name == u"dimensions") {
    strip_.width = xml::decimalAttribute(attributes, u"width");
    strip_.height = xml::decimalAttribute(attributes, u"height");
  } else if (name == u"image") {
    strip_.image = searchPath_.find(attributes.value(u"name"));
  }
}

void CAnnounciatorImporter::endElement(const std::u16string& name, const std::u16string&) {
  if (name == u"icon") {
    insideIcon_ = false;
    icon_.reset();
  }
}

void CAnnounciatorImporter::readIcon(const std::u16string& name,
                                     const xml::IXMLAttributeList& attributes) {
  if (!icon_) {
    return;
  }
  const auto index = static_cast<std::size_t>(*icon_);
  if (name == u"image_offset") {
    strip_.imageOffsets[index] = {xml::decimalAttribute(attributes, u"x"),
                                  xml::decimalAttribute(attributes, u"y")};
  } else if (name == u"icon_offset") {
    strip_.iconOffsets[index] = {xml::decimalAttribute(attributes, u"x"),
                                 xml::decimalAttribute(attributes, u"y")};
  } else if (name == u"dimensions") {
    strip_.iconSizes[index] = {xml::decimalAttribute(attributes, u"width"),
                               xml::decimalAttribute(attributes, u"height")};
  }
}

}  // namespace tavrel
