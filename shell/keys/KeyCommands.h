#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>

#include "keys/EmulatorKeySet.h"
#include "keys/KeyMessageSink.h"
#include "keys/RegionManager.h"
#include "tavrel/command/CommandInterface.h"

namespace tavrel {

// Key name -> label shown for it ("key_name_index" of the skin).
using KeyNameIndex = std::map<std::u16string, std::u16string>;

// The commands "key_down" and "key_up" with a key name: light or unlight the key's regions
// on the windowed skin and post the key's press or release message. Registered for the
// object's life; every reference given must outlive it.
class CKeyCommands {
 public:
  CKeyCommands(CommandInterface& commands, const CEmulatorKeySet& keys,
               const CRegionManager& regions, const KeyNameIndex& labels);
  ~CKeyCommands();
  CKeyCommands(const CKeyCommands&) = delete;
  CKeyCommands& operator=(const CKeyCommands&) = delete;

  // Where messages go; null (no core) posts nothing. The sink must stay alive while set.
  void setSink(IKeyMessageSink* sink) { sink_.store(sink); }

  void keyDown(std::u16string name);
  void keyUp(std::u16string name);
  // "Pressed key " / "Released key " followed by the key's label, or its name without one.
  std::u16string describeDown(std::u16string name);
  std::u16string describeUp(std::u16string name);

 private:
  using Painter = RegionPainter KeyRegion::*;

  void light(const EmulatorKey& key, Painter painter) const;
  std::u16string describe(std::map<std::u16string, std::u16string>& cache,
                          std::u16string_view prefix, const std::u16string& name);
  void registerCommand(const char16_t* name, void (CKeyCommands::*handler)(std::u16string),
                       std::u16string (CKeyCommands::*describer)(std::u16string));

  CommandInterface& commands_;
  const CEmulatorKeySet& keys_;
  const CRegionManager& regions_;
  const KeyNameIndex& labels_;
  std::atomic<IKeyMessageSink*> sink_{nullptr};
  std::mutex descriptionMutex_;
  std::map<std::u16string, std::u16string> downDescriptions_;
  std::map<std::u16string, std::u16string> upDescriptions_;
};

}  // namespace tavrel
