#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "MenuOutline.h"
#include "tavrel/xml/ContentHandler.h"

namespace tavrel::gui {

// The content of a skin's "menu_bar": "menu" (label, optional name and fill; menus nest),
// "item" (label, command) and "separator". Other elements are skipped with their content.
// When the parser releases the handler the finished bar (a menu of the top menus) is handed
// on.
class CMenuBarImporter final : public xml::IXMLSAXContentHandler {
 public:
  using Finished = std::function<void(std::shared_ptr<MenuOutline> bar)>;

  explicit CMenuBarImporter(Finished finished);

  void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                    const xml::IXMLAttributeList& attributes) override;
  void endElement(const std::u16string& name, const std::u16string& text) override;
  void destroy() override;

  static constexpr int kMaxDepth = 8;
  static constexpr std::size_t kMaxEntries = 4096;

 private:
  Finished finished_;
  std::shared_ptr<MenuOutline> bar_;
  std::vector<MenuOutline*> open_;  // the menus being read, innermost last
  int skipped_ = 0;                 // depth inside an element that is not read
  std::size_t entries_ = 0;
};

}  // namespace tavrel::gui
