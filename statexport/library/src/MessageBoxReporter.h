// Load and save failures shown to the user in a box titled "Error".
#pragma once

#include "tavrel/statexport/HostInterfaces.h"

namespace tavrel::statexport {

class MessageBoxReporter final : public IErrorReporter {
 public:
  // Shown through the host's message box hook, without owner window, with an OK button.
  void reportError(const std::string& message) override;
};

}  // namespace tavrel::statexport
