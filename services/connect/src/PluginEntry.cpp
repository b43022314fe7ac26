#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "DevicePort.h"
#include "HostPorts.h"
#include "PortMapping.h"
#include "PtyEndpoint.h"
#include "PtyPort.h"
#include "tavrel/Registry.h"
#include "tavrel/command/PluginEntry.h"

namespace tavrel::connect {
namespace {

constexpr std::u16string_view kPortCommand = u"getIOPortForVPort";
constexpr std::u16string_view kListCommand = u"list_host_serial_ports";

// What the service keeps while it is loaded.
struct Service {
  fn::Function<fn::ret<ICommandRegistry*>> getRegistry;
  std::unique_ptr<CRegistry> settings;
  std::mutex mutex;
  // One pseudo-terminal per virtual port, made on first request, so its path stays put.
  std::map<std::u16string, std::shared_ptr<PtyEndpoint>> endpoints;
};

Service& service() {
  static Service instance;
  return instance;
}

std::shared_ptr<PtyEndpoint> endpointFor(const std::u16string& name, const PortMapping& mapping) {
  Service& s = service();
  std::lock_guard lock(s.mutex);
  std::shared_ptr<PtyEndpoint>& endpoint = s.endpoints[name];
  if (!endpoint) {
    endpoint = PtyEndpoint::create(*s.settings, name, mapping.linkPath);
  }
  return endpoint;
}

// The port object for a virtual port, owned by the caller (release()); null when the port
// is not mapped.
IVirtualPort* portForVirtualPort(std::u16string name) {
  PortMapping mapping = readMapping(*service().settings, name);
  switch (mapping.kind) {
    case PortMapping::Kind::Device:
      return new DevicePort(QString::fromStdU16String(mapping.device));
    case PortMapping::Kind::Pty:
      if (std::shared_ptr<PtyEndpoint> endpoint = endpointFor(name, mapping)) {
        return new PtyPort(std::move(endpoint));
      }
      return nullptr;
    case PortMapping::Kind::None:
      break;
  }
  return nullptr;
}

std::u16string hostSerialPortsText() {
  return formatHostSerialPorts(listHostSerialPorts());
}

}  // namespace
}  // namespace tavrel::connect

TAVREL_PLUGIN_EXPORT void import(tavrel::excpt::CExceptionHub*,
                                 tavrel::CommandInterface* commands) {
  using namespace tavrel;
  using namespace tavrel::connect;
  Service& s = service();
  if (commands == nullptr || commands->getRegistry.empty() || s.settings) {
    return;
  }
  s.settings = std::make_unique<CRegistry>();
  s.getRegistry = commands->getRegistry;
  fn::Function<fn::ret<IVirtualPort*>, std::u16string> port(&portForVirtualPort);
  fn::Function<fn::ret<std::u16string>> list(&hostSerialPortsText);
  for (auto [name, handler] :
       {std::pair{kPortCommand, port.detach()}, std::pair{kListCommand, list.detach()}}) {
    ICommandBase* command =
        commands->createCommand(std::u16string(name), handler, nullptr, fn::ParameterList{});
    if (command != nullptr) {
      s.getRegistry()->add(command);
    }
  }
}

TAVREL_PLUGIN_EXPORT void closeLibrary() {
  using namespace tavrel::connect;
  Service& s = service();
  if (!s.getRegistry.empty()) {
    s.getRegistry()->remove(std::u16string(kPortCommand));
    s.getRegistry()->remove(std::u16string(kListCommand));
  }
  s.getRegistry = {};
  std::lock_guard lock(s.mutex);
  s.endpoints.clear();
  s.settings.reset();
}
