#include "AboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace tavrel::info {

CAboutDialog::CAboutDialog(const AboutBox& box, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("about"));
  setWindowTitle(aboutTitle(box));
  auto* body = new QHBoxLayout;
  if (!box.picture.isNull()) {
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setPixmap(QPixmap::fromImage(box.picture));
    body->addWidget(picture, 0, Qt::AlignTop);
  }
  auto* text = new QLabel(aboutText(box), this);
  text->setObjectName(QStringLiteral("text"));
  text->setWordWrap(true);
  text->setTextFormat(Qt::PlainText);
  text->setMinimumWidth(280);
  body->addWidget(text, 1, Qt::AlignTop);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

}  // namespace tavrel::info
