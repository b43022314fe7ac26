#pragma once

#include <cstdint>

#include "tavrel/Registry.h"

namespace tavrel::tips {

// "TipOfTheDay" at the application key: "startup" shows the tip when the program starts
// (the shell reads it), "off" does not.
bool showsTipsAtStartup(const CRegistry& settings);
// False, with a line on standard error, when the store cannot be written.
bool setShowsTipsAtStartup(CRegistry& settings, bool show);

// The tip to show next time ("Tips\Next"), so each start shows another one; 0 when unset.
std::uint32_t nextTip(const CRegistry& settings);
void setNextTip(CRegistry& settings, std::uint32_t index);

}  // namespace tavrel::tips
