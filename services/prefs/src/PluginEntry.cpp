#include <QPointer>
#include <memory>
#include <optional>

#include "GuiThread.h"
#include "PreferenceStore.h"
#include "PreferencesDialog.h"
#include "ServiceCommands.h"
#include "tavrel/command/PluginEntry.h"

namespace tavrel::prefs {
namespace {

constexpr std::string_view kServiceName = "prefs";

// What the service keeps from import to closeLibrary.
struct Service {
  std::optional<service::CServiceCommands> commands;
  std::unique_ptr<CPreferenceStore> store;
  QPointer<CPreferencesDialog> openDialog;  // GUI thread only
};

Service& state() {
  static Service instance;
  return instance;
}

gui::IPreferences* preferences() {
  return state().store.get();
}

// "show_prefs <entry name>": the menu names the page by one of its entries ("90 Throttle");
// an empty or unknown name shows the first page.
void showPreferences(std::u16string entryName) {
  service::runOnGuiThread(kServiceName, [&entryName] {
    Service& s = state();
    if (!s.store) {
      return;
    }
    if (s.openDialog) {
      // Already open, further down this thread's stack: turn it to the page asked for.
      s.openDialog->showPageOf(entryName);
      s.openDialog->raise();
      return;
    }
    auto* dialog = new CPreferencesDialog(*s.store, service::dialogParent());
    s.openDialog = dialog;
    dialog->showPageOf(entryName);
    service::execModal(dialog);
  });
}

}  // namespace
}  // namespace tavrel::prefs

TAVREL_PLUGIN_EXPORT void import(tavrel::excpt::CExceptionHub*,
                                 tavrel::CommandInterface* commands) {
  using namespace tavrel;
  using namespace tavrel::prefs;
  Service& s = state();
  if (!service::openServiceCommands(s.commands, commands, kServiceName)) {
    return;
  }
  s.store = std::make_unique<CPreferenceStore>();
  s.commands->add(u"loadPrefsSystem", fn::Function<fn::ret<gui::IPreferences*>>(&preferences));
  s.commands->add(u"show_prefs", fn::Function<fn::ret<void>, std::u16string>(&showPreferences));
}

TAVREL_PLUGIN_EXPORT void closeLibrary() {
  using namespace tavrel::prefs;
  Service& s = state();
  if (s.commands) {
    s.commands->removeAll();
    s.commands.reset();
  }
  s.store.reset();
}
