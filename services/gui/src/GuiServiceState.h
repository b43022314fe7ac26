#pragma once

#include <QApplication>
#include <memory>

#include "DisplayFeed.h"
#include "MenuManager.h"
#include "QtHostUi.h"
#include "ViewportManager.h"
#include "WindowManager.h"
#include "tavrel/gui/SkinInfo.h"

namespace tavrel::gui {

// Everything the GUI service owns while it is loaded, made by import on the GUI thread (the
// thread that makes the application object) and destroyed by closeLibrary in reverse order.
struct GuiServiceState {
  GuiServiceState();
  ~GuiServiceState();
  GuiServiceState(const GuiServiceState&) = delete;
  GuiServiceState& operator=(const GuiServiceState&) = delete;

  std::unique_ptr<QApplication> ownApplication;  // null when the host made one
  CWindowManager windows;
  CMenuManager menus{windows};
  CViewportManager viewports{windows};
  CDisplayFeed display{windows};
  SkinInfo skinInfo;
  CQtHostUi hostUi;
  IHostUi* replacedHostUi = nullptr;
};

// The state of the loaded service, or null outside import..closeLibrary.
GuiServiceState* guiService();
// Makes the state (and the application object when there is none); false with a message
// on standard error when the process already has a non-widget application object.
bool startGuiService();
void stopGuiService();

}  // namespace tavrel::gui
