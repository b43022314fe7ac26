#pragma once

#include <QDialog>

#include "AboutBox.h"

namespace tavrel::info {

// The about box with the skin's picture ("picture") beside its text ("text").
class CAboutDialog final : public QDialog {
 public:
  explicit CAboutDialog(const AboutBox& box, QWidget* parent = nullptr);
};

}  // namespace tavrel::info
