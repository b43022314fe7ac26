#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "tavrel/command/CommandInterface.h"
#include "tavrel/gui/GuiService.h"
#include "tavrel/gui/Window.h"
#include "tavrel/xml/System.h"

namespace tavrel::test {

// The built command.so, xml.so and gui.so, imported once for the whole test program as the
// shell imports them (the GUI service makes the application object on this thread).
struct GuiPlugins {
  CommandInterface commands;
  xml::System xml;
  gui::IWindowManager* windows = nullptr;
  gui::AttachNexo attachNexo = nullptr;
  gui::RegionDrawing pressRegion = nullptr;
  gui::RegionDrawing resetRegion = nullptr;
  gui::LoadOverlay loadOverlay = nullptr;
};

GuiPlugins& plugins();

// "<build>/data/skins/demo/<name>".
std::u16string demoFile(const std::string& name);
// The windowed view of the demo skin, as the shell reads it from its skin.xml.
gui::SkinViewDescription demoFloatingView();

// Runs a command line through the command service.
void* run(const std::u16string& line);
// Registers a command that runs the function; removed again by removeCommand.
void addCommand(const std::u16string& name, std::function<void()> action);
void addCommand(const std::u16string& name, std::function<void(std::u16string)> action);
void removeCommand(const std::u16string& name);

// Handles events until the condition holds or 10 seconds have passed.
bool waitFor(const std::function<bool()>& condition);

// The visible top-level widget with that title.
QWidget* topLevel(const QString& title);

// Records every message a window's procedure sees and answers hit tests as told.
struct MessageLog {
  std::vector<gui::WindowMessage> messages;
  std::intptr_t hitAnswer = gui::kHitClient;

  gui::WindowProcedure procedure();
  std::vector<gui::WindowMessage> of(gui::MessageKind kind) const;
};

}  // namespace tavrel::test
