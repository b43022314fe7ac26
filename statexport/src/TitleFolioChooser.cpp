#include <algorithm>

#include "tavrel/statexport/HostInterfaces.h"

namespace tavrel::statexport {

std::optional<int> TitleFolioChooser::chooseFolio(const std::vector<std::string>& titles) {
  offered_ = titles;
  missed_ = false;
  if (!wantedTitle_) {
    return 0;
  }
  const auto found = std::find(titles.begin(), titles.end(), *wantedTitle_);
  if (found == titles.end()) {
    missed_ = true;
    return std::nullopt;
  }
  return static_cast<int>(found - titles.begin());
}

}  // namespace tavrel::statexport
