#include "MessageBoxReporter.h"

#include "CodePage.h"
#include "tavrel/HostUi.h"

namespace tavrel::statexport {

void MessageBoxReporter::reportError(const std::string& message) {
  gui::showMessage(fromCodePage(message), u"Error", gui::MessageIcon::Error,
                   gui::MessageButtons::Ok);
}

}  // namespace tavrel::statexport
