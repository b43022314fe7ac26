#include "skin_model.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>
#include <cstdlib>

namespace tavrel::skintest {
namespace {

QString environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? QString::fromLocal8Bit(value) : QString(".");
}

int number(const QXmlStreamReader& xml, const char* name) {
  return xml.attributes().value(name).toInt();
}

QPoint point(const QXmlStreamReader& xml) {
  return QPoint(number(xml, "x"), number(xml, "y"));
}
QSize size(const QXmlStreamReader& xml) {
  return QSize(number(xml, "width"), number(xml, "height"));
}
QString text(const QXmlStreamReader& xml, const char* name) {
  return xml.attributes().value(name).toString();
}

// Reads the content of "floating_viewport" or "fullscreen_viewport".
void readView(QXmlStreamReader& xml, ViewEntry& view) {
  QString section;  // "lcd", "announciator" or empty
  int icon = -1;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isEndElement()) {
      const auto name = xml.name();
      if (name == u"floating_viewport" || name == u"fullscreen_viewport") {
        return;
      }
      if (name == u"lcd" || name == u"announciator") {
        section.clear();
      } else if (name == u"icon") {
        icon = -1;
      }
      continue;
    }
    if (!xml.isStartElement()) {
      continue;
    }
    const auto name = xml.name();
    if (name == u"lcd" || name == u"announciator") {
      section = name.toString();
    } else if (name == u"icon") {
      icon = number(xml, "index");
      view.icons[icon];
    } else if (icon >= 0 && name == u"image_offset") {
      view.icons[icon].imageOffset = point(xml);
    } else if (icon >= 0 && name == u"icon_offset") {
      view.icons[icon].iconOffset = point(xml);
    } else if (icon >= 0 && name == u"dimensions") {
      view.icons[icon].size = size(xml);
    } else if (section == "lcd" && name == u"offset") {
      view.lcdOffset = point(xml);
    } else if (section == "lcd" && name == u"dimensions") {
      view.lcdSize = size(xml);
    } else if (section == "lcd" && name == u"pixel_size") {
      view.pixelSize = number(xml, "value");
    } else if (section == "announciator" && name == u"offset") {
      view.stripOffset = point(xml);
    } else if (section == "announciator" && name == u"dimensions") {
      view.stripSize = size(xml);
    } else if (section == "announciator" && name == u"image") {
      view.stripImage = text(xml, "name");
    } else if (section.isEmpty() && name == u"dimensions") {
      view.window = size(xml);
    } else if (name == u"title") {
      view.title = text(xml, "value");
    } else if (name == u"image") {
      view.image = text(xml, "name");
    } else if (name == u"region") {
      view.region = text(xml, "name");
    }
  }
}

void readKeys(QXmlStreamReader& xml, SkinModel& skin) {
  QString current;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isEndElement() && xml.name() == u"emu_keys") {
      return;
    }
    if (!xml.isStartElement()) {
      continue;
    }
    const auto name = xml.name();
    if (name == u"emu_key_code" || name == u"command") {
      current = text(xml, "name");
      skin.regions.push_back({current, name == u"command", text(xml, "down"), QRect(), {}});
    } else if (skin.regions.empty()) {
      continue;
    } else if (name == u"origin") {
      skin.regions.back().rect.moveTopLeft(point(xml));
    } else if (name == u"dimensions") {
      skin.regions.back().rect.setSize(size(xml));
    } else if (name == u"function") {
      skin.regions.back().painter = text(xml, "name");
    } else if (name == u"win_os_key_msg") {
      skin.pcKeys.emplace_back(xml.readElementText().toInt(), current);
    }
  }
}

void readMenu(QXmlStreamReader& xml, SkinModel& skin) {
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isEndElement() && xml.name() == u"menu_bar") {
      return;
    }
    if (!xml.isStartElement()) {
      continue;
    }
    if (xml.name() == u"menu") {
      ++skin.menuCount;
      if (xml.attributes().hasAttribute("fill")) {
        skin.menuItems.push_back({text(xml, "label"), {}, text(xml, "fill"), text(xml, "name")});
      }
    } else if (xml.name() == u"item") {
      skin.menuItems.push_back({text(xml, "label"), text(xml, "command"), {}, {}});
    }
  }
}

}  // namespace

QString sourceDir() {
  return environment("TAVREL_SOURCE_DIR");
}
QString buildDir() {
  return environment("TAVREL_BUILD_DIR");
}
QString builtSkinDir(const QString& skin) {
  return buildDir() + "/data/skins/" + skin;
}
QStringList builtSkins() {
  return QDir(buildDir() + "/data/skins").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

SkinModel readSkin(const QString& skinXmlPath) {
  SkinModel skin;
  QFile file(skinXmlPath);
  if (!file.open(QIODevice::ReadOnly)) {
    skin.parseError = skinXmlPath + " cannot be read";
    return skin;
  }
  QXmlStreamReader xml(&file);
  if (!xml.readNextStartElement() || xml.name() != u"tavrel_skin") {
    skin.parseError = "the root is not tavrel_skin";
    return skin;
  }
  skin.name = text(xml, "name");
  skin.dir = text(xml, "dir");
  while (xml.readNextStartElement()) {
    const auto name = xml.name();
    if (name == u"nexo") {
      while (xml.readNextStartElement()) {
        (xml.name() == u"rom" ? skin.rom : skin.lib) = text(xml, "source");
        xml.skipCurrentElement();
      }
    } else if (name == u"floating_viewport") {
      skin.hasFloating = true;
      readView(xml, skin.floating);
    } else if (name == u"fullscreen_viewport") {
      skin.hasFullscreen = true;
      readView(xml, skin.fullscreen);
    } else if (name == u"emu_keys") {
      skin.hasEmuKeys = true;
      readKeys(xml, skin);
    } else if (name == u"key_name_index") {
      skin.hasIndex = true;
      while (xml.readNextStartElement()) {
        skin.labels[text(xml, "id")] = text(xml, "label");
        xml.skipCurrentElement();
      }
    } else if (name == u"info") {
      while (xml.readNextStartElement()) {
        skin.info[xml.name().toString()] = xml.readElementText();
      }
    } else if (name == u"menu_bar") {
      readMenu(xml, skin);
    } else {
      xml.skipCurrentElement();
    }
  }
  if (xml.hasError()) {
    skin.parseError = xml.errorString() + " at line " + QString::number(xml.lineNumber());
  }
  return skin;
}

QStringList emuKeyNames() {
  QStringList names;
  QFile file(sourceDir() + "/data/emu_keys.xml");
  if (!file.open(QIODevice::ReadOnly)) {
    return names;
  }
  QXmlStreamReader xml(&file);
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"id") {
      names << xml.readElementText();
    }
  }
  return names;
}

LangModel readLang(const QString& path) {
  LangModel lang;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    lang.parseError = path + " cannot be read";
    return lang;
  }
  QXmlStreamReader xml(&file);
  if (!xml.readNextStartElement() || xml.name() != u"tavrel_lang") {
    lang.parseError = "the root is not tavrel_lang";
    return lang;
  }
  lang.rootLang = text(xml, "lang");
  while (xml.readNextStartElement()) {
    if (xml.name() == u"msg") {
      bool ok = false;
      const int id = xml.attributes().value("id").toInt(&ok);
      lang.texts.emplace_back(ok ? id : -1, xml.readElementText());
    } else {
      xml.skipCurrentElement();
    }
  }
  if (xml.hasError()) {
    lang.parseError = xml.errorString();
  }
  return lang;
}

}  // namespace tavrel::skintest
