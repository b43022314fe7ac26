#include "MenuBarImporter.h"

#include <cstdio>

namespace tavrel::gui {

CMenuBarImporter::CMenuBarImporter(Finished finished)
    : finished_(std::move(finished)), bar_(std::make_shared<MenuOutline>()) {
  open_.push_back(bar_.get());
}

void CMenuBarImporter::startElement(xml::IXMLParserContext&, const std::u16string& name,
                                    const xml::IXMLAttributeList& attributes) {
  const bool known = name == u"menu" || name == u"item" || name == u"separator";
  const bool nested = name == u"menu" && static_cast<int>(open_.size()) > kMaxDepth;
  if (skipped_ > 0 || !known || nested || entries_ >= kMaxEntries) {
    if (skipped_ == 0 && (nested || (known && entries_ >= kMaxEntries))) {
      std::fputs("gui: menu_bar: too deep or too long; the rest is left out\n", stderr);
    }
    ++skipped_;
    return;
  }
  MenuOutline& menu = *open_.back();
  MenuEntry entry;
  entry.label = attributes.value(u"label");
  ++entries_;
  if (name == u"menu") {
    entry.kind = MenuEntry::Kind::Submenu;
    entry.submenu = std::make_shared<MenuOutline>();
    entry.submenu->label = entry.label;
    entry.submenu->name = attributes.value(u"name");
    entry.submenu->fill = attributes.value(u"fill");
    MenuOutline* submenu = entry.submenu.get();
    menu.entries.push_back(std::move(entry));
    open_.push_back(submenu);
    return;
  }
  if (name == u"separator") {
    entry.kind = MenuEntry::Kind::Separator;
  } else {
    entry.commandLine = attributes.value(u"command");
  }
  menu.entries.push_back(std::move(entry));
  ++skipped_;  // items and separators have no content that is read
}

void CMenuBarImporter::endElement(const std::u16string&, const std::u16string&) {
  if (skipped_ > 0) {
    --skipped_;
  } else if (open_.size() > 1) {
    open_.pop_back();
  }
}

void CMenuBarImporter::destroy() {
  if (finished_) {
    finished_(std::move(bar_));
    finished_ = nullptr;
  }
}

}  // namespace tavrel::gui
