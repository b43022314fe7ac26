#include <mutex>
#include <optional>

#include "AboutBox.h"
#include "AboutDialog.h"
#include "GuiThread.h"
#include "ServiceCommands.h"
#include "SkinPicture.h"
#include "tavrel/HostUi.h"
#include "tavrel/command/PluginEntry.h"
#include "tavrel/gui/MenuManager.h"

namespace tavrel::info {
namespace {

constexpr std::string_view kServiceName = "info";
constexpr std::u16string_view kHelpMenu = u"&Help";

struct Service {
  std::optional<service::CServiceCommands> commands;
  std::mutex mutex;  // the box is made on the thread that loads a skin, shown on the GUI's
  AboutBox box;
};

Service& state() {
  static Service instance;
  return instance;
}

// "generateAboutBox <skin folder>", run by the shell for every skin it loads. Without the
// GUI service there is no skin description and no menu: those parts are left out quietly.
void generateAboutBox(std::u16string folder) {
  Service& s = state();
  AboutBox box;
  if (const auto* skin = static_cast<const gui::SkinInfo*>(
          s.commands->executeIfRegistered(u"getSkinInfo", u"getSkinInfo"))) {
    box.skin = *skin;
  }
  // The shell writes the folder the Windows way, "data/skins\demo\".
  box.picture = readSkinPicture(QString::fromStdU16String(folder).replace(u'\\', u'/'));
  {
    std::lock_guard lock(s.mutex);
    s.box = std::move(box);
  }
  if (auto* menus = static_cast<gui::IMenuManager*>(
          s.commands->executeIfRegistered(u"loadMenuManager", u"loadMenuManager"))) {
    // Emptied first: a skin loaded again must not gain a second item.
    menus->clearMenu(std::u16string(kHelpMenu));
    menus->addItem(std::u16string(kHelpMenu), u"&About...", u"show_about");
  }
}

void showAbout() {
  AboutBox box;
  {
    std::lock_guard lock(state().mutex);
    box = state().box;
  }
  if (!service::hasGuiApplication()) {
    gui::showMessage(aboutText(box).toStdU16String(), aboutTitle(box).toStdU16String(),
                     gui::MessageIcon::Information);
    return;
  }
  service::runOnGuiThread(
      kServiceName, [&box] { service::execModal(new CAboutDialog(box, service::dialogParent())); });
}

}  // namespace
}  // namespace tavrel::info

TAVREL_PLUGIN_EXPORT void import(tavrel::excpt::CExceptionHub*,
                                 tavrel::CommandInterface* commands) {
  using namespace tavrel;
  using namespace tavrel::info;
  Service& s = state();
  if (!service::openServiceCommands(s.commands, commands, kServiceName)) {
    return;
  }
  s.commands->add(u"generateAboutBox",
                  fn::Function<fn::ret<void>, std::u16string>(&generateAboutBox));
  s.commands->add(u"show_about", fn::Function<fn::ret<void>>(&showAbout));
}

TAVREL_PLUGIN_EXPORT void closeLibrary() {
  using namespace tavrel::info;
  Service& s = state();
  if (s.commands) {
    s.commands->removeAll();
    s.commands.reset();
  }
  std::lock_guard lock(s.mutex);
  s.box = AboutBox{};
}
