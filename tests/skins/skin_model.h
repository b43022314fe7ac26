#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <map>
#include <set>
#include <vector>

namespace tavrel::skintest {

// The folders the tests read: the source tree and the build tree's data folder.
QString sourceDir();
QString buildDir();
QString builtSkinDir(const QString& skin);
// The skins the build paints (the folders below data/skins of the build tree).
QStringList builtSkins();

struct KeyRegionEntry {
  QString name;  // key name or command name
  bool isCommand = false;
  QString down;  // command keys only
  QRect rect;
  QString painter;  // the "function" name
};

struct IconEntry {
  QPoint imageOffset, iconOffset;
  QSize size;
};

struct ViewEntry {
  QSize window;
  QString title, image, region;
  QPoint lcdOffset;
  QSize lcdSize;
  int pixelSize = 0;
  QPoint stripOffset;
  QSize stripSize;
  QString stripImage;
  std::map<int, IconEntry> icons;
};

struct MenuItem {
  QString label;
  QString command;  // for items
  QString fill;     // for filled menus
  QString name;
};

// What a skin.xml holds, as read with QXmlStreamReader; parseError is empty when it parsed.
struct SkinModel {
  QString parseError;
  QString name, dir, rom, lib;
  ViewEntry floating, fullscreen;
  bool hasFloating = false, hasFullscreen = false, hasEmuKeys = false, hasIndex = false;
  std::vector<KeyRegionEntry> regions;
  std::vector<std::pair<int, QString>> pcKeys;  // virtual-key code, key or command name
  std::map<QString, QString> labels;
  std::map<QString, QString> info;
  std::vector<MenuItem> menuItems;  // items and filled menus, in file order
  int menuCount = 0;
};

SkinModel readSkin(const QString& skinXmlPath);

// The key names of data/emu_keys.xml, in file order.
QStringList emuKeyNames();

// Every (id, text) of a language file; ids in file order. rootLang is the root's "lang".
struct LangModel {
  QString parseError;
  QString rootLang;
  std::vector<std::pair<int, QString>> texts;
};
LangModel readLang(const QString& path);

}  // namespace tavrel::skintest
