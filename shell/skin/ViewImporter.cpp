#include "skin/ViewImporter.h"

#include <cstdio>

#include "display/DisplayImporters.h"

namespace tavrel {

CViewImporter::CViewImporter(gui::SkinViewDescription& view, const CSearchPath& searchPath,
                             CHitMap& hitMap)
    : view_(view), searchPath_(searchPath), hitMap_(&hitMap) {
  view_.flag1 = 1;
  view_.flag2 = 1;
}

void CViewImporter::startChild(xml::IXMLParserContext& context, const std::u16string& name,
                               const xml::IXMLAttributeList& attributes) {
  if (name == u"lcd") {
    context.setChildHandler(new CLcdImporter(view_.lcd));
  } else if (name == u"announciator") {
    context.setChildHandler(new CAnnounciatorImporter(view_.announciator, searchPath_));
  } else if (name == u"title") {
    view_.title = attributes.value(u"value");
  } else if (hitMap_ != nullptr) {
    startWindowedChild(name, attributes);
  } else {
    startFullscreenChild(name, attributes);
  }
}

void CViewImporter::startWindowedChild(const std::u16string& name,
                                       const xml::IXMLAttributeList& attributes) {
  if (name == u"dimensions") {
    view_.width = xml::decimalAttribute(attributes, u"width");
    view_.height = xml::decimalAttribute(attributes, u"height");
    view_.overlay.width = view_.width;
    view_.overlay.height = view_.height;
    if (!hitMap_->resize(view_.width, view_.height)) {
      std::fprintf(stderr, "skin: window size %d x %d is outside 0..%d; no key pixels\n",
                   view_.width, view_.height, CHitMap::kMaxSide);
    }
  } else if (name == u"origin") {
    view_.originX = xml::decimalAttribute(attributes, u"x");
    view_.originY = xml::decimalAttribute(attributes, u"y");
  } else if (name == u"image") {
    view_.overlay.bitmap = searchPath_.find(attributes.value(u"name"));
  } else if (name == u"region") {
    view_.regionFile = searchPath_.find(attributes.value(u"name"));
    view_.style = gui::kStylePopup;
  }
}

void CViewImporter::startFullscreenChild(const std::u16string& name,
                                         const xml::IXMLAttributeList& attributes) {
  if (name == u"background_colour") {
    view_.backgroundRed = colourComponent(attributes, u"red");
    view_.backgroundGreen = colourComponent(attributes, u"green");
    view_.backgroundBlue = colourComponent(attributes, u"blue");
  }
}

}  // namespace tavrel
