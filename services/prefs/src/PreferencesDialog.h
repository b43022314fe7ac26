#pragma once

#include <QDialog>
#include <string>

class QListWidget;
class QStackedWidget;

namespace tavrel::prefs {

class CPreferenceStore;

// The preferences: a list of pages and the entries of the chosen page. Changes take effect
// at once through the entries' handlers; the dialog follows every change of the store.
class CPreferencesDialog final : public QDialog {
 public:
  explicit CPreferencesDialog(CPreferenceStore& store, QWidget* parent = nullptr);

  // Shows the page of the entry named "90 Throttle" (or "Throttle"), or the first page when
  // no entry has that name.
  void showPageOf(const std::u16string& entryName);

 private:
  void rebuild();

  CPreferenceStore& store_;
  QListWidget* pageList_;
  QStackedWidget* pages_;
};

}  // namespace tavrel::prefs
