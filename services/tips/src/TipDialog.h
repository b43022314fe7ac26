#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace tavrel::tips {

// The tip of the day, with "Next tip" and the "Show tips at startup" box. Its widgets are
// named "tip", "next" and "startup".
class CTipDialog final : public QDialog {
 public:
  // startupChanged runs each time the user ticks or unticks the box.
  CTipDialog(QStringList tips, int first, bool showAtStartup,
             std::function<void(bool)> startupChanged, QWidget* parent = nullptr);

  // The index of the tip on display.
  int shownTip() const { return shown_; }

 private:
  void showTip(int index);

  const QStringList tips_;
  int shown_ = 0;
  QLabel* tip_;
  QPushButton* next_;
};

}  // namespace tavrel::tips
