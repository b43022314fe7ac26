#include "app/Shell.h"

#include "app/CommonCommands.h"
#include "tavrel/HostUi.h"
#include "tavrel/Text.h"

namespace tavrel {
namespace {

constexpr char16_t kBootErrorTitle[] = u"ZR Calculator Emulator Error";
constexpr char16_t kBootErrorText[] =
    u"ZR Calvane.exe : ZR Calvane_MAIN()\nUnknown Error: Unexpected behaviour while loading "
    u"Tavrel. Application cannot continue.";

}  // namespace

CShell::CShell(CRegistry& registry, CommandInterface& commands, CLibraryManager& libraries,
               xml::System& xml, std::u16string programPath)
    : lang_(registry, xml, commands),
      context_{registry, commands, libraries, xml, lang_},
      gui_(libraries),
      events_(commands, gui_),
      programPath_(std::move(programPath)) {}

int CShell::run() {
  try {
    lang_.loadStartLanguage();
    skin_ = std::make_unique<CSkin>(context_, gui_, events_);
    skin_->startInitialSkin();
    CCommonCommands common(context_, programPath_);
    events_.run();
  } catch (const excpt::IException& failure) {
    reportBootFailure(failure);
  }
  return 0;
}

void CShell::reportBootFailure(const excpt::IException& failure) {
  gui::showMessage(kBootErrorText, kBootErrorTitle);
  failure.report();
  std::u16string text = u"ZR Calvane_MAIN(): Exception #" +
                        fromUtf8(std::to_string(failure.code())) + u"\n" +
                        lang_.errorText(failure.code());
  if (const std::u16string extra = excpt::takeBootErrorLine(); !extra.empty()) {
    text += u"\n" + extra;
  }
  gui::showMessage(text, kBootErrorTitle);
}

}  // namespace tavrel
