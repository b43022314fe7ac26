// Errors of the exporter, printed on the standard error stream instead of shown in boxes.
#pragma once

#include "tavrel/statexport/HostInterfaces.h"

namespace tavrel::statfolio {

class StderrReporter final : public statexport::IErrorReporter {
 public:
  void reportError(const std::string& message) override;
};

}  // namespace tavrel::statfolio
