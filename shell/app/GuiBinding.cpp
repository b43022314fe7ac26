#include "app/GuiBinding.h"

#include "tavrel/excpt/Exception.h"

namespace tavrel {

gui::IWindowManager* CGuiBinding::windowManager() const {
  fn::Function<fn::ret<gui::IWindowManager*>> get;
  return libraries_.bindExport(kLibraryName, gui::kGetWindowManager, get) ? get() : nullptr;
}

gui::IWindowManager& CGuiBinding::requireWindowManager() const {
  gui::IWindowManager* manager = windowManager();
  if (manager == nullptr) {
    throw excpt::LibraryLoadException(std::u16string(kLibraryName));
  }
  return *manager;
}

void CGuiBinding::attachNexo(const std::u16string& windowClass, nexo::_NEXOInterface* core,
                             const gui::LCDSettings& lcd,
                             const gui::AnnounciatorSettings& announciators) const {
  fn::Function<fn::ret<void>, const std::u16string&, nexo::_NEXOInterface*, const gui::LCDSettings&,
               const gui::AnnounciatorSettings&>
      attach;
  if (libraries_.bindExport(kLibraryName, gui::kAttachNexo, attach)) {
    attach(windowClass, core, lcd, announciators);
  }
}

void CGuiBinding::loadOverlay(const std::u16string& windowClass,
                              const setting::OverlaySettings& overlay) const {
  fn::Function<fn::ret<void>, const std::u16string&, const setting::OverlaySettings&> load;
  if (libraries_.bindExport(kLibraryName, gui::kLoadOverlay, load)) {
    load(windowClass, overlay);
  }
}

RegionPainter CGuiBinding::regionPainter(const std::u16string& exportName,
                                         const KeyRegion& region) const {
  fn::Function<fn::ret<void>, const std::u16string&, std::int32_t, std::int32_t, std::int32_t,
               std::int32_t>
      draw;
  if (!libraries_.bindExport(kLibraryName, exportName, draw)) {
    return {};
  }
  return RegionPainter([draw, left = region.left, top = region.top, width = region.width,
                        height = region.height](std::u16string windowClass) {
    draw(windowClass, left, top, width, height);
  });
}

}  // namespace tavrel
