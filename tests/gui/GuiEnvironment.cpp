#include "GuiEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdlib>

#include "tavrel/DynamicLibrary.h"
#include "tavrel/Text.h"
#include "tavrel/command/PluginEntry.h"

namespace tavrel::test {
namespace {

std::string buildDir() {
  const char* dir = std::getenv("TAVREL_BUILD_DIR");
  return dir != nullptr ? dir : "";
}

class GuiTestEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ASSERT_FALSE(buildDir().empty()) << "TAVREL_BUILD_DIR is not set";
    GuiPlugins& p = plugins();
    load(command_, "command.so");
    load(xml_, "xml.so");
    load(gui_, "gui.so");
    auto* loadXml = xml_.resolveFunction<xml::LoadXMLSubsystemEntry*>(xml::kLoadXMLSubsystemExport);
    ASSERT_NE(loadXml, nullptr);
    loadXml(&p.xml);
    auto* getWindows = gui_.resolveFunction<gui::GetWindowManager>("getWindowManager");
    ASSERT_NE(getWindows, nullptr);
    p.windows = getWindows();
    ASSERT_NE(p.windows, nullptr);
    p.attachNexo = gui_.resolveFunction<gui::AttachNexo>("attachNEXO");
    p.pressRegion = gui_.resolveFunction<gui::RegionDrawing>("pressViewportRegion");
    p.resetRegion = gui_.resolveFunction<gui::RegionDrawing>("resetViewportRegion");
    p.loadOverlay = gui_.resolveFunction<gui::LoadOverlay>("loadOverlay");
    ASSERT_NE(QApplication::instance(), nullptr);
  }

  void TearDown() override {
    for (CDynamicLibrary* library : {&gui_, &xml_, &command_}) {
      if (auto* close = library->resolveFunction<CloseLibraryEntry*>(kCloseLibraryExport)) {
        close();
      }
      if (library == &gui_) {
        for (const char16_t* name : {u"loadViewportManager", u"loadMenuManager", u"loadSkinInfo",
                                     u"getSkinInfo", u"launchMenu", u"menu", u"forceNEXOUpdate"}) {
          EXPECT_EQ(plugins().commands.getRegistry()->get(name), nullptr)
              << "closeLibrary removes its commands";
        }
      }
    }
    EXPECT_EQ(QApplication::instance(), nullptr) << "closeLibrary ends the application object";
    gui_.unload();
    xml_.unload();
    command_.unload();
  }

 private:
  void load(CDynamicLibrary& library, const char* file) {
    ASSERT_TRUE(library.load(fromUtf8(buildDir() + "/components/" + file)))
        << toUtf8(library.error());
    auto* entry = library.resolveFunction<ImportEntry*>(kImportExport);
    ASSERT_NE(entry, nullptr);
    entry(&hub_, &plugins().commands);
  }

  excpt::CExceptionHub hub_;
  CDynamicLibrary command_;
  CDynamicLibrary xml_;
  CDynamicLibrary gui_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new GuiTestEnvironment);

}  // namespace

GuiPlugins& plugins() {
  static GuiPlugins instance;
  return instance;
}

std::u16string demoFile(const std::string& name) {
  return fromUtf8(buildDir() + "/data/skins/demo/" + name);
}

gui::SkinViewDescription demoFloatingView() {
  gui::SkinViewDescription view;
  view.title = u"Tavrel Demo";
  view.width = 330;
  view.height = 624;
  view.originX = 80;
  view.originY = 40;
  view.regionFile = demoFile("face.rgn");
  view.style = gui::kStylePopup;
  view.flag1 = view.flag2 = 1;
  view.lcd = {29, 42, 27, 169, 184, 154, 34, 62, 131, 64, 2};
  view.announciator.image = demoFile("annunciators.png");
  view.announciator.offsetX = 34;
  view.announciator.offsetY = 50;
  view.announciator.width = 262;
  view.announciator.height = 12;
  const int iconX[] = {14, 58, 101, 145, 189, 232};
  for (int i = 0; i < gui::AnnounciatorSettings::kIconCount; ++i) {
    view.announciator.iconOffsets[i] = {iconX[i], 1};
    view.announciator.imageOffsets[i] = {16 * i, 0};
    view.announciator.iconSizes[i] = {16, 10};
  }
  view.overlay.width = view.width;
  view.overlay.height = view.height;
  view.overlay.bitmap = demoFile("face.png");
  return view;
}

void* run(const std::u16string& line) {
  return plugins().commands.getDispatcher()->executeLine(line, 1);
}

namespace {

template <class Handler>
void registerCommand(const std::u16string& name, Handler handler) {
  CommandInterface& commands = plugins().commands;
  ICommandBase* command =
      commands.createCommand(name, handler.detach(), nullptr, fn::ParameterList{});
  ASSERT_NE(command, nullptr);
  ASSERT_TRUE(commands.getRegistry()->add(command));
}

}  // namespace

void addCommand(const std::u16string& name, std::function<void()> action) {
  registerCommand(name, fn::Function<fn::ret<void>>([action] { action(); }));
}

void addCommand(const std::u16string& name, std::function<void(std::u16string)> action) {
  registerCommand(name, fn::Function<fn::ret<void>, std::u16string>(
                            [action](std::u16string argument) { action(std::move(argument)); }));
}

void removeCommand(const std::u16string& name) {
  plugins().commands.getRegistry()->remove(name);
}

bool waitFor(const std::function<bool()>& condition) {
  QElapsedTimer clock;
  clock.start();
  QTimer tick;  // wakes the loop so the condition is checked even without other events
  tick.start(5);
  while (!condition()) {
    if (clock.elapsed() > 10000) {
      return false;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  return true;
}

QWidget* topLevel(const QString& title) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->windowTitle() == title && widget->isVisible()) {
      return widget;
    }
  }
  return nullptr;
}

gui::WindowProcedure MessageLog::procedure() {
  return [this](gui::IWindow&, const gui::WindowMessage& message) -> std::optional<std::intptr_t> {
    if (message.kind == gui::MessageKind::Paint) {
      return std::nullopt;
    }
    messages.push_back(message);
    if (message.kind == gui::MessageKind::HitTest) {
      return hitAnswer;
    }
    return std::nullopt;
  };
}

std::vector<gui::WindowMessage> MessageLog::of(gui::MessageKind kind) const {
  std::vector<gui::WindowMessage> found;
  for (const gui::WindowMessage& message : messages) {
    if (message.kind == kind) {
      found.push_back(message);
    }
  }
  return found;
}

}  // namespace tavrel::test
