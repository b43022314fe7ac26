#include "loader/ProcessInterfaces.h"

#include "tavrel/Registry.h"
#include "tavrel/Singleton.h"

namespace tavrel {
namespace {

struct ProcessCommandInterface {
  ProcessCommandInterface() { record.settingsKeyPath = CRegistry::kApplicationKey; }
  CommandInterface record;
};

struct ProcessXmlRecord {
  xml::System record;
};

}  // namespace

excpt::CExceptionHub& processExceptionHub() {
  return TSingleton<CSystem>::instance().exceptionHub();
}

CommandInterface& processCommandInterface() {
  return TSingleton<ProcessCommandInterface>::instance().record;
}

xml::System& processXmlRecord() {
  return TSingleton<ProcessXmlRecord>::instance().record;
}

}  // namespace tavrel
