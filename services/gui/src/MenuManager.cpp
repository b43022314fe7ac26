#include "MenuManager.h"

#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>

#include "MenuBarImporter.h"
#include "ServiceContext.h"
#include "WindowManager.h"

namespace tavrel::gui {

CMenuManager::CMenuManager(CWindowManager& windows) : windows_(windows) {}

CMenuManager::~CMenuManager() = default;

xml::IXMLSAXContentHandler* CMenuManager::menuBarHandler(const std::u16string& windowClass,
                                                         bool notPopup) {
  QPointer<CMenuManager> self(this);
  return new CMenuBarImporter([self, windowClass, notPopup](std::shared_ptr<MenuOutline> bar) {
    if (self != nullptr && bar != nullptr) {
      self->install(windowClass, notPopup, *bar);
    }
  });
}

void CMenuManager::install(const std::u16string& windowClass, bool notPopup,
                           const MenuOutline& bar) {
  trees_.erase(windowClass);  // its menus go, and with them their actions in any menu bar
  Tree& tree = trees_[windowClass];
  tree.root = std::make_unique<QMenu>();
  tree.notPopup = notPopup;
  build(bar, *tree.root, windowClass, tree);
  trackOpening(*tree.root, windowClass);
  for (QAction* action : tree.root->actions()) {
    if (QMenu* top = action->menu()) {
      trackOpening(*top, windowClass);
    }
  }
  if (CSkinWindow* window = windows_.skinWindow(windowClass)) {
    windowCreated(*window);
  }
}

void CMenuManager::build(const MenuOutline& outline, QMenu& into, const std::u16string& windowClass,
                         Tree& tree) {
  for (const MenuEntry& entry : outline.entries) {
    const QString label = QString::fromStdU16String(entry.label);
    switch (entry.kind) {
      case MenuEntry::Kind::Item:
        addCommand(into, label, entry.commandLine, windowClass);
        break;
      case MenuEntry::Kind::Separator:
        into.addSeparator();
        break;
      case MenuEntry::Kind::Submenu: {
        QMenu* submenu = into.addMenu(label);
        const MenuOutline& inner = *entry.submenu;
        build(inner, *submenu, windowClass, tree);
        if (!inner.name.empty()) {
          named_[inner.name] = NamedMenu{submenu, windowClass};
        }
        if (!inner.fill.empty()) {
          if (inner.name.empty()) {
            std::fputs("gui: menu_bar: a menu with \"fill\" needs a \"name\"; not filled\n",
                       stderr);
            break;
          }
          FillMenu filled{inner.name, inner.fill};
          tree.fills.push_back(filled);
          connect(submenu, &QMenu::aboutToShow, this, [this, filled] { fill(filled); });
        }
        break;
      }
    }
  }
}

void CMenuManager::addCommand(QMenu& menu, const QString& label, const std::u16string& commandLine,
                              const std::u16string& windowClass) {
  QAction* action = menu.addAction(label);
  connect(action, &QAction::triggered, this, [this, windowClass, commandLine] {
    // After the menu has closed: the command may rebuild or remove the menus.
    QTimer::singleShot(0, this,
                       [this, windowClass, commandLine] { choose(windowClass, commandLine); });
  });
}

void CMenuManager::trackOpening(QMenu& menu, const std::u16string& windowClass) {
  connect(&menu, &QMenu::aboutToShow, this, [this, windowClass] { menuOpened(windowClass); });
  connect(&menu, &QMenu::aboutToHide, this, [this, windowClass] { menuClosed(windowClass); });
}

// A menu loop lasts from the first menu of a class that opens to the last that closes.
void CMenuManager::menuOpened(const std::u16string& windowClass) {
  const auto found = trees_.find(windowClass);
  if (found == trees_.end() || found->second.openMenus++ > 0) {
    return;
  }
  if (CSkinWindow* window = windows_.skinWindow(windowClass)) {
    window->deliver({MessageKind::EnterMenuLoop, 0, 0, {}});
  }
}

void CMenuManager::menuClosed(const std::u16string& windowClass) {
  const auto found = trees_.find(windowClass);
  if (found == trees_.end() || found->second.openMenus == 0 || --found->second.openMenus > 0) {
    return;
  }
  if (CSkinWindow* window = windows_.skinWindow(windowClass)) {
    window->deliver({MessageKind::ExitMenuLoop, 0, 0, {}});
  }
}

void CMenuManager::choose(const std::u16string& windowClass, const std::u16string& commandLine) {
  const std::uint16_t id = commandIdOf(commandLine);
  CSkinWindow* window = windows_.skinWindow(windowClass);
  if (id != 0 && window != nullptr) {
    window->deliver({MessageKind::Command, id, 0, {}});
  } else if (id != 0) {
    runCommandId(id);
  } else {
    runCommandLine(commandLine);
  }
}

void CMenuManager::fill(const FillMenu& menu) {
  clearMenu(menu.name);
  runCommandLine(menu.fill + u" " + menu.name);
}

void CMenuManager::refreshMenu(const std::u16string& windowClass) {
  const auto found = trees_.find(windowClass);
  if (found == trees_.end()) {
    return;
  }
  const std::vector<FillMenu> fills = found->second.fills;  // a fill may replace the tree
  for (const FillMenu& menu : fills) {
    fill(menu);
  }
}

void CMenuManager::addItem(const std::u16string& menu, const std::u16string& label,
                           const std::u16string& commandLine) {
  const auto found = named_.find(menu);
  if (found == named_.end() || found->second.menu == nullptr) {
    std::fprintf(stderr, "gui: no menu named \"%s\"\n",
                 QString::fromStdU16String(menu).toLocal8Bit().constData());
    return;
  }
  addCommand(*found->second.menu, QString::fromStdU16String(label), commandLine,
             found->second.windowClass);
}

void CMenuManager::clearMenu(const std::u16string& menu) {
  const auto found = named_.find(menu);
  if (found != named_.end() && found->second.menu != nullptr) {
    found->second.menu->clear();
  }
}

bool CMenuManager::popup(const std::u16string& windowClass, const QPoint& screenPoint) {
  QMenu* menu = contextMenu(windowClass);
  if (menu == nullptr) {
    return false;
  }
  menu->popup(screenPoint);
  return true;
}

QMenu* CMenuManager::contextMenu(const std::u16string& windowClass) const {
  const auto found = trees_.find(windowClass);
  return found != trees_.end() ? found->second.root.get() : nullptr;
}

QMenuBar* CMenuManager::makeMenuBar(const Tree& tree) const {
  auto* bar = new QMenuBar;
  for (QAction* action : tree.root->actions()) {
    bar->addAction(action);
  }
  return bar;
}

void CMenuManager::windowCreated(CSkinWindow& window) {
  const auto found = trees_.find(window.windowClass());
  if (found == trees_.end()) {
    return;
  }
  window.setMenuBar(
      found->second.notPopup && !window.isFullscreenView() ? makeMenuBar(found->second) : nullptr);
}

}  // namespace tavrel::gui
