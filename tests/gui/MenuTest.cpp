// The menus built from the demo skin's "menu_bar", their fill commands, the Command ids that
// choosing an item sends, the menu loop messages, and the skin's "info".
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>

#include "GuiEnvironment.h"
#include "tavrel/gui/MenuManager.h"
#include "tavrel/gui/SkinInfo.h"

namespace tavrel::test {
namespace {

using gui::MessageKind;

// Hands a skin file's "menu_bar" and "info" to the GUI service, as the shell's skin reader
// does, and skips the rest.
class SectionRouter final : public xml::IXMLSAXContentHandler {
 public:
  explicit SectionRouter(bool notPopup) : notPopup_(notPopup) {}
  void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                    const xml::IXMLAttributeList&) override {
    if (name == u"menu_bar") {
      context.setChildHandler(menus()->menuBarHandler(gui::kFloatingWindowClass, notPopup_));
    } else if (name == u"info") {
      context.setChildHandler(static_cast<xml::IXMLSAXContentHandler*>(run(u"loadSkinInfo")));
    }
  }
  void endElement(const std::u16string&, const std::u16string&) override {}

  static gui::IMenuManager* menus() {
    return static_cast<gui::IMenuManager*>(run(u"loadMenuManager"));
  }

 private:
  bool notPopup_;
};

QMenu* submenu(QMenu* menu, const QString& label) {
  for (QAction* action : menu->actions()) {
    if (action->text() == label) {
      return action->menu();
    }
  }
  return nullptr;
}

QAction* item(QMenu* menu, const QString& label) {
  for (QAction* action : menu->actions()) {
    if (action->text() == label) {
      return action;
    }
  }
  return nullptr;
}

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plugins().xml.parse(new SectionRouter(true), demoFile("skin.xml"));
    window = plugins().windows->createWindow(gui::kFloatingWindowClass, demoFloatingView());
    window->setWindowProcedure(
        [this](gui::IWindow&, const gui::WindowMessage& message) -> std::optional<std::intptr_t> {
          if (message.kind != MessageKind::Paint && message.kind != MessageKind::HitTest) {
            log.messages.push_back(message);
          }
          if (message.kind == MessageKind::Command) {
            plugins().commands.getCache()->execute(static_cast<std::uint16_t>(message.wParam));
          }
          return std::nullopt;
        });
    window->show();
    widget = topLevel("Tavrel Demo");
    ASSERT_NE(widget, nullptr);
    ASSERT_NE(widget->findChild<QMenuBar*>(), nullptr);
    context = contextMenu();
    ASSERT_NE(context, nullptr);
  }

  void TearDown() override {
    window->setWindowProcedure(nullptr);
    window->close();
    // The next skin is a shaped one: its windows get no menu bar.
    plugins().xml.parse(new SectionRouter(false), demoFile("skin.xml"));
  }

  // The menu bar shows the context menu's menus: the context menu is the other holder of
  // the bar's first action.
  QMenu* contextMenu() const {
    QAction* first = widget->findChild<QMenuBar*>()->actions().value(0);
    for (QObject* holder : first != nullptr ? first->associatedObjects() : QObjectList{}) {
      if (auto* menu = qobject_cast<QMenu*>(holder)) {
        return menu;
      }
    }
    return nullptr;
  }

  gui::IWindow* window = nullptr;
  QWidget* widget = nullptr;
  QMenu* context = nullptr;
  MessageLog log;
};

TEST_F(MenuTest, RectangularWindowShowsTheMenuBarAboveTheSkin) {
  auto* bar = widget->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  QStringList titles;
  for (QAction* action : bar->actions()) {
    titles << action->text();
  }
  EXPECT_EQ(titles, (QStringList{"&File", "&Calculator", "&View", "&Help"}));
  EXPECT_EQ(window->rect().top, 40 + bar->height()) << "window coordinates start below the bar";
  EXPECT_EQ(widget->height(), 624 + bar->height());
  QMenu* file = bar->actions()[0]->menu();
  EXPECT_EQ(file->actions().size(), 12);
  EXPECT_TRUE(file->actions()[3]->isSeparator());
  EXPECT_EQ(file->actions()[11]->text(), "E&xit");
}

TEST_F(MenuTest, ChoosingAnItemSendsTheCommandIdOfItsLine) {
  std::u16string speed;
  addCommand(u"show_prefs", [&](std::u16string page) { speed = page; });
  QMenu* calculator = submenu(context, "&Calculator");
  ASSERT_NE(calculator, nullptr);
  item(calculator, "&Speed...")->trigger();
  ASSERT_TRUE(waitFor([&] { return !speed.empty(); }));
  removeCommand(u"show_prefs");
  EXPECT_EQ(speed, u"90 Throttle");
  const auto commands = log.of(MessageKind::Command);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wParam, plugins().commands.getCache()->id(u"show_prefs 90#Throttle"));
}

TEST_F(MenuTest, FillCommandRefillsItsMenuEachTime) {
  int fills = 0;
  addCommand(u"skin_list", [&](std::u16string menu) {
    ++fills;
    gui::IMenuManager* menus = SectionRouter::menus();
    menus->addItem(menu, u"Tavrel Demo", u"load_skin Tavrel#Demo");
    menus->addItem(menu, u"Tavrel Demo Large", u"load_skin Tavrel#Demo#Large");
  });
  QMenu* skins = submenu(submenu(context, "&View"), "S&kins");
  ASSERT_NE(skins, nullptr);
  SectionRouter::menus()->refreshMenu(gui::kFloatingWindowClass);
  emit skins->aboutToShow();  // opening the menu fills it too
  removeCommand(u"skin_list");
  EXPECT_EQ(fills, 2);
  ASSERT_EQ(skins->actions().size(), 2);
  EXPECT_EQ(skins->actions()[1]->text(), "Tavrel Demo Large");
  SectionRouter::menus()->clearMenu(u"skins");
  EXPECT_TRUE(skins->actions().isEmpty());
}

TEST_F(MenuTest, LaunchMenuOpensAtTheWindowPointInsideOneMenuLoop) {
  run(u"launchMenu TavrelSkinFloating 10 20");
  ASSERT_TRUE(waitFor([&] { return context->isVisible(); }));
  const gui::WindowRect place = window->rect();
  EXPECT_EQ(context->pos(), QPoint(place.left + 10, place.top + 20));
  EXPECT_EQ(log.of(MessageKind::EnterMenuLoop).size(), 1u);
  context->hide();
  ASSERT_TRUE(waitFor([&] { return !log.of(MessageKind::ExitMenuLoop).empty(); }));
  EXPECT_EQ(log.of(MessageKind::EnterMenuLoop).size(), 1u);
}

TEST_F(MenuTest, SkinInfoHoldsTheInfoTexts) {
  const auto* info = static_cast<const gui::SkinInfo*>(run(u"getSkinInfo"));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->name, u"Tavrel Demo");
  EXPECT_EQ(info->version, u"1.0");
  EXPECT_EQ(info->author, u"The Tavrel developers");
  EXPECT_EQ(info->license, u"Free to use, copy and change.");
  EXPECT_FALSE(info->description.empty());
}

}  // namespace
}  // namespace tavrel::test
