// The moving picture of the receive dialog: a calculator sending dots into a computer,
// drawn frame by frame.
#pragma once

#include <QTimer>
#include <QWidget>

namespace tavrel::statexport {

class ReceiveAnimation final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kFrameCount = 12;
  static constexpr int kFrameMilliseconds = 120;

  explicit ReceiveAnimation(QWidget* parent = nullptr);

  void setPlaying(bool playing);
  bool playing() const { return timer_.isActive(); }
  int frame() const { return frame_; }
  QSize sizeHint() const override { return {270, 130}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QTimer timer_;
  int frame_ = 0;
};

}  // namespace tavrel::statexport
