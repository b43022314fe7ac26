#include <QCursor>
#include <array>
#include <string_view>

#include "GuiServiceState.h"
#include "GuiThread.h"
#include "PictureFile.h"
#include "ServiceContext.h"
#include "SkinInfoImporter.h"
#include "tavrel/command/PluginEntry.h"
#include "tavrel/gui/GuiService.h"

namespace tavrel::gui {
namespace {

IViewportManager* loadViewportManager() {
  GuiServiceState* service = guiService();
  return service != nullptr ? &service->viewports : nullptr;
}

IMenuManager* loadMenuManager() {
  GuiServiceState* service = guiService();
  return service != nullptr ? &service->menus : nullptr;
}

xml::IXMLSAXContentHandler* loadSkinInfo() {
  GuiServiceState* service = guiService();
  return service != nullptr ? new CSkinInfoImporter(service->skinInfo) : nullptr;
}

const SkinInfo* getSkinInfo() {
  GuiServiceState* service = guiService();
  return service != nullptr ? &service->skinInfo : nullptr;
}

// x and y are window coordinates of the skin area of that class's window.
void launchMenu(std::u16string windowClass, std::int32_t x, std::int32_t y) {
  GuiServiceState* service = guiService();
  if (service == nullptr) {
    return;
  }
  QPoint screen(x, y);
  if (IWindow* window = service->windows.window(windowClass)) {
    const WindowRect place = window->rect();
    screen += QPoint(place.left, place.top);
  }
  service->menus.popup(windowClass, screen);
}

void openMenuAtMouse() {
  GuiServiceState* service = guiService();
  if (service == nullptr) {
    return;
  }
  const CSkinWindow* shown = service->windows.shownWindow();
  service->menus.popup(shown != nullptr ? shown->windowClass() : kFloatingWindowClass,
                       QCursor::pos());
}

void forceNexoUpdate() {
  if (GuiServiceState* service = guiService()) {
    service->display.forceUpdate();
  }
}

void drawRegion(const std::u16string& windowClass, std::int32_t left, std::int32_t top,
                std::int32_t width, std::int32_t height, bool pressed) {
  if (width <= 0 || height <= 0) {
    return;
  }
  // Key commands may run on a core task: the drawing waits for the GUI thread, the caller not.
  postToGuiThread([windowClass, region = QRect(left, top, width, height), pressed] {
    GuiServiceState* service = guiService();
    CSkinWindow* window = service != nullptr ? service->windows.skinWindow(windowClass) : nullptr;
    if (window != nullptr && window->scene().setRegionPressed(region, pressed)) {
      window->repaintArea(region);
    }
  });
}

struct CommandRegistration {
  std::u16string_view name;
  fn::IFunctionBase* (*make)();
};

template <class R, class... P>
fn::IFunctionBase* handlerOf(R (*function)(P...)) {
  return fn::BasicFunction<R, fn::detail::TypeList<P...>>(function).detach();
}

const std::array<CommandRegistration, 7> kCommands{{
    {u"loadViewportManager", [] { return handlerOf(&loadViewportManager); }},
    {u"loadMenuManager", [] { return handlerOf(&loadMenuManager); }},
    {u"loadSkinInfo", [] { return handlerOf(&loadSkinInfo); }},
    {u"getSkinInfo", [] { return handlerOf(&getSkinInfo); }},
    {u"launchMenu", [] { return handlerOf(&launchMenu); }},
    {u"menu", [] { return handlerOf(&openMenuAtMouse); }},
    {u"forceNEXOUpdate", [] { return handlerOf(&forceNexoUpdate); }},
}};

}  // namespace
}  // namespace tavrel::gui

TAVREL_PLUGIN_EXPORT void import(tavrel::excpt::CExceptionHub* hub,
                                 tavrel::CommandInterface* commands) {
  using namespace tavrel;
  using namespace tavrel::gui;
  if (guiService() != nullptr || !startGuiService()) {
    return;
  }
  ServiceContext& context = serviceContext();
  context.hub = hub;
  if (commands == nullptr || commands->getRegistry.empty()) {
    return;
  }
  context.getDispatcher = commands->getDispatcher;
  context.getRegistry = commands->getRegistry;
  context.getCache = commands->getCache;
  for (const CommandRegistration& registration : kCommands) {
    ICommandBase* command = commands->createCommand(
        std::u16string(registration.name), registration.make(), nullptr, fn::ParameterList{});
    if (command != nullptr) {
      context.getRegistry()->add(command);
    }
  }
}

TAVREL_PLUGIN_EXPORT void closeLibrary() {
  using namespace tavrel::gui;
  ServiceContext& context = serviceContext();
  if (!context.getRegistry.empty()) {
    for (const CommandRegistration& registration : kCommands) {
      context.getRegistry()->remove(std::u16string(registration.name));
    }
  }
  stopGuiService();
  context = ServiceContext{};
}

TAVREL_PLUGIN_EXPORT tavrel::gui::IWindowManager* getWindowManager() {
  tavrel::gui::GuiServiceState* service = tavrel::gui::guiService();
  return service != nullptr ? &service->windows : nullptr;
}

TAVREL_PLUGIN_EXPORT void attachNEXO(const std::u16string& windowClass,
                                     tavrel::nexo::_NEXOInterface* core,
                                     const tavrel::gui::LCDSettings& lcd,
                                     const tavrel::gui::AnnounciatorSettings& announciators) {
  if (tavrel::gui::GuiServiceState* service = tavrel::gui::guiService()) {
    service->display.attach(windowClass, core, lcd, announciators);
  }
}

TAVREL_PLUGIN_EXPORT void loadOverlay(const std::u16string& windowClass,
                                      const tavrel::setting::OverlaySettings& overlay) {
  using namespace tavrel;
  gui::GuiServiceState* service = gui::guiService();
  gui::CSkinWindow* window =
      service != nullptr ? service->windows.skinWindow(windowClass) : nullptr;
  if (window == nullptr) {
    return;
  }
  const QRect place(overlay.x, overlay.y, overlay.width, overlay.height);
  window->scene().setOverlay(overlay.bitmap.empty() ? QImage() : gui::loadPicture(overlay.bitmap),
                             place);
  window->update();
}

TAVREL_PLUGIN_EXPORT void pressViewportRegion(const std::u16string& windowClass, std::int32_t left,
                                              std::int32_t top, std::int32_t width,
                                              std::int32_t height) {
  tavrel::gui::drawRegion(windowClass, left, top, width, height, true);
}

TAVREL_PLUGIN_EXPORT void resetViewportRegion(const std::u16string& windowClass, std::int32_t left,
                                              std::int32_t top, std::int32_t width,
                                              std::int32_t height) {
  tavrel::gui::drawRegion(windowClass, left, top, width, height, false);
}

// The exports keep the types the shell binds them with.
static_assert(std::is_same_v<decltype(&getWindowManager), tavrel::gui::GetWindowManager>);
static_assert(std::is_same_v<decltype(&attachNEXO), tavrel::gui::AttachNexo>);
static_assert(std::is_same_v<decltype(&loadOverlay), tavrel::gui::LoadOverlay>);
static_assert(std::is_same_v<decltype(&pressViewportRegion), tavrel::gui::RegionDrawing>);
static_assert(std::is_same_v<decltype(&resetViewportRegion), tavrel::gui::RegionDrawing>);
