#include "TipDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrel::tips {

CTipDialog::CTipDialog(QStringList tips, int first, bool showAtStartup,
                       std::function<void(bool)> startupChanged, QWidget* parent)
    : QDialog(parent), tips_(std::move(tips)) {
  setObjectName(QStringLiteral("tip_of_the_day"));
  setWindowTitle(QStringLiteral("Tip of the Day"));
  auto* heading = new QLabel(QStringLiteral("<b>Did you know...</b>"), this);
  tip_ = new QLabel(this);
  tip_->setObjectName(QStringLiteral("tip"));
  tip_->setWordWrap(true);
  tip_->setMinimumSize(360, 80);
  tip_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* startup = new QCheckBox(QStringLiteral("Show tips at startup"), this);
  startup->setObjectName(QStringLiteral("startup"));
  startup->setChecked(showAtStartup);
  next_ = new QPushButton(QStringLiteral("Next tip"), this);
  next_->setObjectName(QStringLiteral("next"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->addButton(next_, QDialogButtonBox::ActionRole);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(tip_, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(startup);
  bottom->addStretch(1);
  bottom->addWidget(buttons);
  layout->addLayout(bottom);

  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(next_, &QPushButton::clicked, this, [this] { showTip(shown_ + 1); });
  connect(startup, &QCheckBox::toggled, this,
          [changed = std::move(startupChanged)](bool on) { changed(on); });
  showTip(first);
}

void CTipDialog::showTip(int index) {
  if (tips_.isEmpty()) {
    tip_->setText(QStringLiteral("No tips are available."));
    next_->setEnabled(false);
    return;
  }
  shown_ = index % static_cast<int>(tips_.size());
  tip_->setText(tips_[shown_]);
}

}  // namespace tavrel::tips
