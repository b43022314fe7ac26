#pragma once

#include <QObject>
#include <mutex>
#include <string>

#include "DisplayPainter.h"
#include "tavrel/nexo/NexoInterface.h"

namespace tavrel::gui {

class CWindowManager;

// Brings the core's display block to the attached skin window. The core calls the hook on
// its own task: the hook copies the block under the core's display lock and asks the GUI
// thread, through a queued call, to repaint; it never waits for the GUI. Repaint requests
// that pile up while the GUI is busy become one.
class CDisplayFeed final : public QObject {
 public:
  explicit CDisplayFeed(CWindowManager& windows);
  ~CDisplayFeed() override;

  // GUI thread: the window of that class shows the core's display from now on.
  void attach(const std::u16string& windowClass, nexo::_NEXOInterface* core, const LCDSettings& lcd,
              const AnnounciatorSettings& announciators);
  // GUI thread: copies the block now and repaints.
  void forceUpdate();

  // Core task: a new picture is in the block.
  void displayChanged();

 private:
  void copyBlock(DisplayBlock& into);
  void deliver();

  CWindowManager& windows_;
  std::mutex mutex_;  // taken before the core's display lock, never the other way round
  std::u16string windowClass_;
  const unsigned char* block_ = nullptr;
  std::mutex* displayLock_ = nullptr;
  DisplayBlock latest_{};
  bool pending_ = false;
};

// The function object stored in the core's displayChanged: it lives as long as the process
// and forwards to the feed in use, or to nothing once the service is closed.
fn::IFunctionBase* displayHook();
void setDisplayHookTarget(CDisplayFeed* feed);

}  // namespace tavrel::gui
