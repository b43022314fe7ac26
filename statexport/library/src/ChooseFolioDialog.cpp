#include "ChooseFolioDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "CodePage.h"

namespace tavrel::statexport {

namespace {
// Each entry remembers its place in the given list, so sorting (and equal titles) never
// changes which folio an entry stands for.
constexpr int kIndexRole = Qt::UserRole;
}  // namespace

CChooseFolioDialog::CChooseFolioDialog(const std::vector<std::string>& titles, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Choose Folio"));
  setAttribute(Qt::WA_QuitOnClose, false);
  list_->setSortingEnabled(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  for (std::size_t i = 0; i < titles.size(); ++i) {
    auto* item = new QListWidgetItem(QString::fromStdU16String(fromCodePage(titles[i])));
    item->setData(kIndexRole, static_cast<int>(i));
    list_->addItem(item);
  }
  list_->setCurrentRow(-1);
  list_->clearSelection();
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (!selected.isEmpty()) {
      chosen_ = selected.front()->data(kIndexRole).toInt();
    }
  });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  resize(220, 260);
}

int CChooseFolioDialog::chosenIndex() const {
  return chosen_;
}

std::optional<int> DialogFolioChooser::chooseFolio(const std::vector<std::string>& titles) {
  CChooseFolioDialog dialog(titles);
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.chosenIndex();
}

}  // namespace tavrel::statexport
