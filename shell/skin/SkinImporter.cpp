#include "skin/SkinImporter.h"

#include "skin/SectionImporter.h"
#include "skin/ViewImporter.h"

namespace tavrel {
namespace {

// "nexo": the ROM image and the core plug-in.
class CNexoImporter final : public CSectionImporter {
 public:
  explicit CNexoImporter(SkinDescription& skin) : skin_(skin) {}

 protected:
  void startChild(xml::IXMLParserContext&, const std::u16string& name,
                  const xml::IXMLAttributeList& attributes) override {
    const std::u16string source = attributes.value(u"source");
    if (source.empty()) {
      return;
    }
    if (name == u"rom") {
      skin_.romPath = u"data/ROM/" + source;
    } else if (name == u"lib") {
      skin_.coreLibrary = source;
    }
  }

 private:
  SkinDescription& skin_;
};

// "key_name_index": the labels shown for key names.
class CKeyNameIndexImporter final : public CSectionImporter {
 public:
  explicit CKeyNameIndexImporter(KeyNameIndex& index) : index_(index) {}

 protected:
  void startChild(xml::IXMLParserContext&, const std::u16string& name,
                  const xml::IXMLAttributeList& attributes) override {
    if (name == u"key" && attributes.contains(u"id")) {
      index_[attributes.value(u"id")] = attributes.value(u"label");
    }
  }

 private:
  KeyNameIndex& index_;
};

xml::IXMLSAXContentHandler* handlerOf(const std::function<xml::IXMLSAXContentHandler*()>& make) {
  return make ? make() : nullptr;
}

}  // namespace

CSkinImporter::CSkinImporter(SkinImportTarget target, CSearchPath viewSearchPath)
    : target_(std::move(target)), searchPath_(std::move(viewSearchPath)) {}

void CSkinImporter::startElement(xml::IXMLParserContext& context, const std::u16string& name,
                                 const xml::IXMLAttributeList&) {
  if (depth_ == 0) {
    isSkin_ = name == u"tavrel_skin";
  } else if (depth_ == 1 && isSkin_) {
    startSection(context, name);
  }
  ++depth_;
}

void CSkinImporter::endElement(const std::u16string&, const std::u16string&) {
  --depth_;
}

void CSkinImporter::startSection(xml::IXMLParserContext& context, const std::u16string& name) {
  SkinDescription& skin = target_.skin;
  if (name == u"nexo") {
    context.setChildHandler(new CNexoImporter(skin));
  } else if (name == u"floating_viewport") {
    context.setChildHandler(new CViewImporter(skin.floating, searchPath_, target_.keys.hitMap));
  } else if (name == u"fullscreen_viewport") {
    context.setChildHandler(new CViewImporter(skin.fullscreen, searchPath_));
  } else if (name == u"emu_keys") {
    context.setChildHandler(new CKeyMapImporter(target_.keys, target_.cache, target_.bindPainter));
  } else if (name == u"key_name_index") {
    context.setChildHandler(new CKeyNameIndexImporter(skin.keyNameIndex));
  } else if (name == u"msg_map") {
    context.setChildHandler(handlerOf(target_.sections.messages));
  } else if (name == u"info") {
    context.setChildHandler(handlerOf(target_.sections.info));
  } else if (name == u"menu_bar" && target_.sections.menuBar) {
    context.setChildHandler(target_.sections.menuBar(skin.floating.style != gui::kStylePopup));
  }
}

CSearchPath viewSearchPath(const std::u16string& skinsFolder, const std::u16string& skinFolder) {
  CSearchPath path;
  path.addFolder(skinsFolder);
  path.addFolder(skinsFolder + u'/' + skinFolder);
  return path;
}

}  // namespace tavrel
