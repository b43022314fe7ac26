#include "skin/SkinFile.h"

namespace tavrel {
namespace {

class CSkinNameReader final : public xml::IXMLSAXContentHandler {
 public:
  explicit CSkinNameReader(SkinName& result) : result_(result) {}

  void startElement(xml::IXMLParserContext&, const std::u16string& name,
                    const xml::IXMLAttributeList& attributes) override {
    if (!seenRoot_ && name == u"tavrel_skin") {
      result_.name = attributes.value(u"name");
      result_.dir = attributes.value(u"dir");
    }
    seenRoot_ = true;
  }
  void endElement(const std::u16string&, const std::u16string&) override {}

 private:
  SkinName& result_;
  bool seenRoot_ = false;
};

}  // namespace

SkinName readSkinName(const xml::System& xml, const std::u16string& file) {
  SkinName result;
  xml.parse(new CSkinNameReader(result), file);
  return result;
}

void importSkin(const xml::System& xml, const std::u16string& folder, SkinImportTarget target) {
  CSearchPath skins;
  skins.addFolder(kSkinsFolder);
  const std::u16string file = skins.find(folder + u'/' + kSkinFileName);
  target.skin.prepareLoad();
  target.keys.regions.clear();
  // Pixels of the skin read before are no key pixels of this one.
  target.keys.hitMap.resize(0, 0);
  CSearchPath pictures = viewSearchPath(kSkinsFolder, folder);
  xml.parse(new CSkinImporter(std::move(target), std::move(pictures)), file);
}

}  // namespace tavrel
