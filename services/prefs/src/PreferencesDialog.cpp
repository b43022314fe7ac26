#include "PreferencesDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "EntryWidgets.h"
#include "PreferencePages.h"
#include "PreferenceStore.h"

namespace tavrel::prefs {
namespace {

// Where an entry's page keeps the entry's name, so that a page can be found by it.
constexpr int kEntryNamesRole = Qt::UserRole;

}  // namespace

CPreferencesDialog::CPreferencesDialog(CPreferenceStore& store, QWidget* parent)
    : QDialog(parent), store_(store) {
  setObjectName(QStringLiteral("preferences"));
  setWindowTitle(QStringLiteral("Preferences"));
  pageList_ = new QListWidget(this);
  pageList_->setObjectName(QStringLiteral("pages"));
  pageList_->setMaximumWidth(160);
  pages_ = new QStackedWidget(this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  auto* body = new QHBoxLayout;
  body->addWidget(pageList_);
  body->addWidget(pages_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(pageList_, &QListWidget::currentRowChanged, pages_, &QStackedWidget::setCurrentIndex);
  // Queued: a handler that changes the store runs inside a widget's signal, and that widget
  // must outlive the signal.
  connect(&store_, &CPreferenceStore::changed, this, &CPreferencesDialog::rebuild,
          Qt::QueuedConnection);
  rebuild();
}

void CPreferencesDialog::rebuild() {
  const QString shownTitle =
      pageList_->currentItem() ? pageList_->currentItem()->text() : QString();
  pageList_->clear();
  while (QWidget* page = pages_->widget(0)) {
    pages_->removeWidget(page);
    delete page;
  }
  for (const PreferencePage& page : groupIntoPages(store_.entries())) {
    auto* widget = new QWidget(pages_);
    auto* layout = new QVBoxLayout(widget);
    QStringList names;
    for (const auto& entry : page.entries) {
      layout->addWidget(makeEntryWidget(entry, widget));
      names << QString::fromStdU16String(entry->name())
            << QString::fromStdU16String(displayName(entry->name()));
    }
    layout->addStretch(1);
    pages_->addWidget(widget);
    auto* item = new QListWidgetItem(page.title, pageList_);
    item->setData(kEntryNamesRole, names);
  }
  const QList<QListWidgetItem*> shown = pageList_->findItems(shownTitle, Qt::MatchExactly);
  pageList_->setCurrentRow(shown.isEmpty() ? 0 : pageList_->row(shown.front()));
}

void CPreferencesDialog::showPageOf(const std::u16string& entryName) {
  const QString name = QString::fromStdU16String(entryName);
  for (int row = 0; row < pageList_->count(); ++row) {
    if (pageList_->item(row)->data(kEntryNamesRole).toStringList().contains(name)) {
      pageList_->setCurrentRow(row);
      return;
    }
  }
  pageList_->setCurrentRow(0);
}

}  // namespace tavrel::prefs
