#include <QPointer>
#include <memory>
#include <optional>

#include "GuiThread.h"
#include "ServiceCommands.h"
#include "TipDialog.h"
#include "TipFile.h"
#include "TipSettings.h"
#include "tavrel/command/PluginEntry.h"

namespace tavrel::tips {
namespace {

constexpr std::string_view kServiceName = "tips";

struct Service {
  std::optional<service::CServiceCommands> commands;
  std::unique_ptr<CRegistry> settings;
  QPointer<CTipDialog> openDialog;  // GUI thread only
};

Service& state() {
  static Service instance;
  return instance;
}

TipFile tipsInLanguage(const std::u16string& language) {
  const QString path = findTipFile(language);
  if (path.isEmpty()) {
    return TipFile{{}, QStringLiteral("no tip file in data/tips")};
  }
  return readTipFile(path);
}

void showTipDialog() {
  Service& s = state();
  if (s.openDialog) {
    s.openDialog->raise();
    return;
  }
  CRegistry& settings = *s.settings;
  TipFile file = tipsInLanguage(settings.readText(u"", u"Lang"));
  if (!file.problem.isEmpty()) {
    service::reportError(kServiceName, file.problem.toStdString());
  }
  const auto count = static_cast<std::uint32_t>(file.tips.size());
  const int first = count == 0 ? 0 : static_cast<int>(nextTip(settings) % count);
  auto* dialog = new CTipDialog(
      file.tips, first, showsTipsAtStartup(settings),
      [&settings](bool show) { setShowsTipsAtStartup(settings, show); }, service::dialogParent());
  s.openDialog = dialog;
  service::execModal(dialog, [&](CTipDialog& closed) {
    if (count != 0) {
      setNextTip(settings, (static_cast<std::uint32_t>(closed.shownTip()) + 1) % count);
    }
  });
}

void showTip() {
  if (state().settings) {
    service::runOnGuiThread(kServiceName, &showTipDialog);
  }
}

}  // namespace
}  // namespace tavrel::tips

TAVREL_PLUGIN_EXPORT void import(tavrel::excpt::CExceptionHub*,
                                 tavrel::CommandInterface* commands) {
  using namespace tavrel;
  using namespace tavrel::tips;
  Service& s = state();
  if (!service::openServiceCommands(s.commands, commands, kServiceName)) {
    return;
  }
  s.settings = std::make_unique<CRegistry>();
  s.commands->add(u"show_tip", fn::Function<fn::ret<void>>(&showTip));
}

TAVREL_PLUGIN_EXPORT void closeLibrary() {
  using namespace tavrel::tips;
  Service& s = state();
  if (s.commands) {
    s.commands->removeAll();
    s.commands.reset();
  }
  s.settings.reset();
}
