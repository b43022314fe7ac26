#include "ShellAppFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <cstdlib>

#include "tavrel/HostUi.h"
#include "tavrel/Text.h"

namespace tavrel::apptest {

std::uint32_t point(std::int32_t x, std::int32_t y) {
  return (static_cast<std::uint32_t>(x) & 0xFFFFu) |
         ((static_cast<std::uint32_t>(y) & 0xFFFFu) << 16);
}

std::filesystem::path ShellAppTest::buildFolder() {
  const char* build = std::getenv("TAVREL_BUILD_DIR");
  return build != nullptr ? build : ".";
}

void ShellAppTest::SetUp() {
  ASSERT_TRUE(folder.isValid());
  const QString screen = folder.filePath("screen.json");
  QFile json(screen);
  ASSERT_TRUE(json.open(QIODevice::WriteOnly));
  json.write(R"({"screens":[{"name":"test","x":0,"y":0,"width":1024,"height":768,)"
             R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
  json.close();
  ::setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screen).toUtf8().constData(), 1);
  ::setenv("XDG_CONFIG_HOME", folder.filePath("user").toUtf8().constData(), 1);
  ::setenv("XDG_CONFIG_DIRS", folder.filePath("machine").toUtf8().constData(), 1);

  // The build folder is laid out as the installed program: data/ and components/.
  previousFolder_ = std::filesystem::current_path();
  std::filesystem::current_path(buildFolder());
  registry = std::make_unique<CRegistry>();
  commands.settingsKeyPath = CRegistry::kApplicationKey;
  ASSERT_TRUE(registry->createKey(u"", u"lib"));
  ASSERT_TRUE(registry->writeText(u"lib", u"dir",
                                  fromUtf8((std::filesystem::absolute("components")).string())));
  libraries = std::make_unique<CLibraryManager>(*registry, hub, commands);
  libraries->loadList();
  fn::Function<fn::ret<void>, xml::System*> loadXml;
  ASSERT_TRUE(libraries->bindExport(u"XML", u"loadXMLSubsystem", loadXml));
  loadXml(&xml);
  commands.getDispatcher()->addObserver(&recorder);
  hostUi.setEcho(false);
  replacedHostUi_ = gui::setHostUi(&hostUi);
}

void ShellAppTest::TearDown() {
  shell.reset();
  gui::setHostUi(replacedHostUi_);
  if (!commands.getDispatcher.empty()) {
    commands.getDispatcher()->removeObserver(&recorder);
  }
  libraries.reset();
  registry.reset();
  std::filesystem::current_path(previousFolder_);
}

CShell& ShellAppTest::newShell() {
  shell.reset();
  shell = std::make_unique<CShell>(*registry, commands, *libraries, xml,
                                   fromUtf8((buildFolder() / "tavrel").string()));
  return *shell;
}

int ShellAppTest::runThenClose(const std::function<void(CShell&)>& inLoop) {
  CShell& running = shell ? *shell : newShell();
  QTimer::singleShot(0, QCoreApplication::instance(), [&] {
    if (inLoop) {
      inLoop(running);
    }
    deliver(gui::kFloatingWindowClass, {gui::MessageKind::Close, 0, 0, {}});
  });
  return running.run();
}

gui::IWindow* ShellAppTest::window(const std::u16string& windowClass) {
  gui::IWindowManager* manager = shell->gui().windowManager();
  return manager != nullptr ? manager->window(windowClass) : nullptr;
}

std::optional<std::intptr_t> ShellAppTest::deliver(const std::u16string& windowClass,
                                                   gui::WindowMessage message) {
  gui::IWindow* target = window(windowClass);
  if (target == nullptr || shell->skin() == nullptr) {
    ADD_FAILURE() << "no window " << toUtf8(windowClass);
    return std::nullopt;
  }
  return shell->skin()->windowProcedure()(*target, message);
}

std::vector<std::u16string> ShellAppTest::messages() const {
  std::vector<std::u16string> texts;
  for (const gui::HostUiCall& call : hostUi.calls()) {
    if (call.kind == gui::HostUiCall::Kind::Message) {
      texts.push_back(call.message.text);
    }
  }
  return texts;
}

std::size_t ShellAppTest::saveDialogs() const {
  std::size_t count = 0;
  for (const gui::HostUiCall& call : hostUi.calls()) {
    count += call.kind == gui::HostUiCall::Kind::SaveFile ? 1 : 0;
  }
  return count;
}

}  // namespace tavrel::apptest
