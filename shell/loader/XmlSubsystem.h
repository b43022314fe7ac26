#pragma once

#include "tavrel/xml/System.h"

namespace tavrel {

// The process's XML service record. On first use, while both members are still empty, the
// export "loadXMLSubsystem" of the library loaded under the name "XML" fills it; without that
// library both members stay empty (calling them prints the empty-function notice).
xml::System& xmlSystem();

}  // namespace tavrel
