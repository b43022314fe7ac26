#pragma once

#include <QString>
#include <QStringList>

#include "tavrel/HostUi.h"

namespace tavrel::gui {

// Message boxes, file dialogs and the clipboard of the desktop. Callable from any thread:
// other threads wait while the GUI thread shows the dialog.
class CQtHostUi final : public IHostUi {
 public:
  MessageAnswer messageBox(const MessageBoxRequest& request) override;
  std::optional<std::u16string> openFileName(const FileDialogRequest& request) override;
  std::optional<std::u16string> saveFileName(const FileDialogRequest& request) override;
  std::optional<std::u16string> clipboardText() override;
  bool setClipboardText(const std::u16string& text) override;
};

// "Description (*.a;*.b)" entries separated by ";;" as the toolkit's name filters.
QStringList nameFiltersOf(const std::u16string& filter);
// The chosen name with the default extension added when its file name has none.
QString withDefaultExtension(const QString& path, const std::u16string& extension);

}  // namespace tavrel::gui
