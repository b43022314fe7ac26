#include "keys/KeyCommands.h"

#include <cstdio>

#include "tavrel/gui/SkinView.h"

namespace tavrel {

CKeyCommands::CKeyCommands(CommandInterface& commands, const CEmulatorKeySet& keys,
                           const CRegionManager& regions, const KeyNameIndex& labels)
    : commands_(commands), keys_(keys), regions_(regions), labels_(labels) {
  registerCommand(u"key_down", &CKeyCommands::keyDown, &CKeyCommands::describeDown);
  registerCommand(u"key_up", &CKeyCommands::keyUp, &CKeyCommands::describeUp);
}

CKeyCommands::~CKeyCommands() {
  if (commands_.getRegistry.empty()) {
    return;
  }
  if (ICommandRegistry* registry = commands_.getRegistry()) {
    registry->remove(u"key_down");
    registry->remove(u"key_up");
  }
}

void CKeyCommands::registerCommand(const char16_t* name,
                                   void (CKeyCommands::*handler)(std::u16string),
                                   std::u16string (CKeyCommands::*describer)(std::u16string)) {
  if (commands_.createCommand.empty() || commands_.getRegistry.empty()) {
    return;
  }
  auto run = fn::bind(this, handler);
  auto description = fn::bind(this, describer);
  ICommandBase* command =
      commands_.createCommand(name, run.detach(), description.detach(), fn::ParameterList{});
  if (command != nullptr) {
    commands_.getRegistry()->add(command);
  }
}

void CKeyCommands::keyDown(std::u16string name) {
  const EmulatorKey* key = keys_.find(name);
  if (key == nullptr) {
    std::fputs("pressKey: not a KEY\n", stdout);
    std::fflush(stdout);
    return;
  }
  light(*key, &KeyRegion::drawPressed);
  if (IKeyMessageSink* sink = sink_.load()) {
    sink->post(key->press.type, key->press.first, key->press.second);
  }
}

void CKeyCommands::keyUp(std::u16string name) {
  const EmulatorKey* key = keys_.find(name);
  if (key == nullptr) {
    return;
  }
  light(*key, &KeyRegion::drawNormal);
  if (IKeyMessageSink* sink = sink_.load()) {
    sink->post(key->release.type, key->release.first, key->release.second);
  }
}

void CKeyCommands::light(const EmulatorKey& key, Painter painter) const {
  for (const std::u16string& name : key.names) {
    for (const auto& region : regions_.regionsNamed(name)) {
      const RegionPainter& paint = (*region).*painter;
      if (!paint.empty()) {
        paint(gui::kFloatingWindowClass);
      }
    }
  }
}

std::u16string CKeyCommands::describeDown(std::u16string name) {
  return describe(downDescriptions_, u"Pressed key ", name);
}

std::u16string CKeyCommands::describeUp(std::u16string name) {
  return describe(upDescriptions_, u"Released key ", name);
}

std::u16string CKeyCommands::describe(std::map<std::u16string, std::u16string>& cache,
                                      std::u16string_view prefix, const std::u16string& name) {
  std::lock_guard lock(descriptionMutex_);
  auto known = cache.find(name);
  if (known == cache.end()) {
    auto label = labels_.find(name);
    known =
        cache
            .emplace(name, std::u16string(prefix) + (label != labels_.end() ? label->second : name))
            .first;
  }
  return known->second;
}

}  // namespace tavrel
