#pragma once

#include "keys/HitMap.h"
#include "skin/SearchPath.h"
#include "skin/SectionImporter.h"
#include "tavrel/gui/SkinView.h"

namespace tavrel {

// Reads a "floating_viewport" (with a hit map to size) or a "fullscreen_viewport" (without).
class CViewImporter final : public CSectionImporter {
 public:
  // The windowed view: both GUI flags are set.
  CViewImporter(gui::SkinViewDescription& view, const CSearchPath& searchPath, CHitMap& hitMap);
  // The fullscreen view.
  CViewImporter(gui::SkinViewDescription& view, const CSearchPath& searchPath)
      : view_(view), searchPath_(searchPath) {}

 protected:
  void startChild(xml::IXMLParserContext& context, const std::u16string& name,
                  const xml::IXMLAttributeList& attributes) override;

 private:
  void startWindowedChild(const std::u16string& name, const xml::IXMLAttributeList& attributes);
  void startFullscreenChild(const std::u16string& name, const xml::IXMLAttributeList& attributes);

  gui::SkinViewDescription& view_;
  const CSearchPath& searchPath_;
  CHitMap* hitMap_ = nullptr;
};

}  // namespace tavrel
