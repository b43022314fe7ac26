#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MenuOutline.h"
#include "tavrel/gui/MenuManager.h"

class QMenu;
class QMenuBar;

namespace tavrel::gui {

class CSkinWindow;
class CWindowManager;

// The skin windows' menus, built from the skins' "menu_bar": one context menu per window
// class, which a rectangular window also shows as its menu bar. Choosing an item sends the
// window procedure a Command with the command cache's id of the item's line; opening and
// closing a menu send EnterMenuLoop and ExitMenuLoop. GUI thread only.
class CMenuManager final : public QObject, public IMenuManager {
 public:
  explicit CMenuManager(CWindowManager& windows);
  ~CMenuManager() override;

  void refreshMenu(const std::u16string& windowClass) override;
  xml::IXMLSAXContentHandler* menuBarHandler(const std::u16string& windowClass,
                                             bool notPopup) override;
  void addItem(const std::u16string& menu, const std::u16string& label,
               const std::u16string& commandLine) override;
  void clearMenu(const std::u16string& menu) override;

  // Replaces the menus of a window class.
  void install(const std::u16string& windowClass, bool notPopup, const MenuOutline& bar);
  // Opens the context menu of the class at a screen point; false when it has none.
  bool popup(const std::u16string& windowClass, const QPoint& screenPoint);
  // Gives a new window the menu bar of its class.
  void windowCreated(CSkinWindow& window);

 private:
  struct FillMenu {
    std::u16string name;
    std::u16string fill;
  };
  struct Tree {
    std::unique_ptr<QMenu> root;
    bool notPopup = false;
    std::vector<FillMenu> fills;
    int openMenus = 0;
  };
  struct NamedMenu {
    QPointer<QMenu> menu;
    std::u16string windowClass;
  };

  QMenu* contextMenu(const std::u16string& windowClass) const;
  void build(const MenuOutline& outline, QMenu& into, const std::u16string& windowClass,
             Tree& tree);
  void addCommand(QMenu& menu, const QString& label, const std::u16string& commandLine,
                  const std::u16string& windowClass);
  void trackOpening(QMenu& menu, const std::u16string& windowClass);
  void menuOpened(const std::u16string& windowClass);
  void menuClosed(const std::u16string& windowClass);
  void choose(const std::u16string& windowClass, const std::u16string& commandLine);
  void fill(const FillMenu& menu);
  QMenuBar* makeMenuBar(const Tree& tree) const;

  CWindowManager& windows_;
  std::map<std::u16string, Tree> trees_;
  std::map<std::u16string, NamedMenu> named_;
};

}  // namespace tavrel::gui
