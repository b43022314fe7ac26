#include <algorithm>
#include <vector>

#include "FileParser.h"
#include "OutStream.h"
#include "tavrel/command/PluginEntry.h"
#include "tavrel/xml/System.h"

namespace tavrel::xml {
namespace {

// The records this plug-in filled: their functions run code of this library and have to be
// emptied before it is unloaded.
std::vector<System*> filledSystems;

IXMLOutStream* createOutStream() {
  return new COutStream;
}

}  // namespace
}  // namespace tavrel::xml

// The service registers no commands; the shell reaches it through loadXMLSubsystem.
TAVREL_PLUGIN_EXPORT void import(tavrel::excpt::CExceptionHub*, tavrel::CommandInterface*) {}

TAVREL_PLUGIN_EXPORT void loadXMLSubsystem(tavrel::xml::System* system) {
  using namespace tavrel::xml;
  if (system == nullptr) {
    return;
  }
  system->createOutStream = &createOutStream;
  system->parse = &parseFile;
  if (std::find(filledSystems.begin(), filledSystems.end(), system) == filledSystems.end()) {
    filledSystems.push_back(system);
  }
}

TAVREL_PLUGIN_EXPORT void closeLibrary() {
  using namespace tavrel::xml;
  for (System* system : filledSystems) {
    system->createOutStream = {};
    system->parse = {};
  }
  filledSystems.clear();
}
