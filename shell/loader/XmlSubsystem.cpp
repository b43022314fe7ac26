#include "loader/XmlSubsystem.h"

#include "loader/LibraryManager.h"
#include "loader/ProcessInterfaces.h"
#include "tavrel/Singleton.h"

namespace tavrel {

xml::System& xmlSystem() {
  CLibraryManager& libraries = TSingleton<CLibraryManager>::instance();
  xml::System& system = processXmlRecord();
  if (system.createOutStream.empty() && system.parse.empty()) {
    fn::Function<fn::ret<void>, xml::System*> load;
    if (libraries.bindExport(u"XML", fromUtf8(xml::kLoadXMLSubsystemExport), load)) {
      load(&system);
    }
  }
  return system;
}

}  // namespace tavrel
