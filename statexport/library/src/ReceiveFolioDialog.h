// The receive dialog: waits for the calculator, tells the user how to send a statistics
// folio, and runs the receive worker while showing its status texts.
#pragma once

#include <QDialog>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "tavrel/statexport/link/ByteTransport.h"
#include "tavrel/statexport/link/Protocol.h"
#include "tavrel/statexport/link/ReceiveJob.h"

class QLabel;
class QPushButton;

namespace tavrel::statexport {

class ReceiveAnimation;

class CReceiveFolioDialog final : public QDialog {
  Q_OBJECT

 public:
  enum class State { kWaitingForCalculator = 1, kCalculatorPresent = 2, kReceiving = 3 };
  static constexpr std::chrono::milliseconds kPollInterval{1000};

  static const char* const kWaitingText;
  static const char* const kInstructionsText;
  static const char* const kReceivingText;

  explicit CReceiveFolioDialog(link::IByteTransport& transport, link::ReceiveTiming timing = {},
                               QWidget* parent = nullptr);
  // Cancels a receive still running and waits for its worker.
  ~CReceiveFolioDialog() override;

  State state() const { return state_; }
  QString messageText() const;
  QPushButton* nextButton() const { return next_; }
  QPushButton* cancelButton() const { return cancel_; }
  ReceiveAnimation* animation() const { return animation_; }
  const QTimer& pollTimer() const { return poll_; }

  // One tick of the poll timer: follows the calculator coming and going while not receiving.
  void checkCalculator();
  // "Next": starts the receive.
  void startReceive();
  // The received folio image; empty unless the receive brought one whole.
  std::vector<std::uint8_t> takeImage();

 public slots:
  // Cancel, Escape and the close box: stops a running receive first.
  void reject() override;

 private:
  void setState(State state);
  void showStatus(const QString& text);
  void workerFinished();

  link::IByteTransport& transport_;
  link::ReceiveTiming timing_;
  std::unique_ptr<link::ReceiveJob> job_;
  State state_ = State::kWaitingForCalculator;
  bool cancelled_ = false;
  QTimer poll_;
  QLabel* message_;
  ReceiveAnimation* animation_;
  QPushButton* next_;
  QPushButton* cancel_;
};

}  // namespace tavrel::statexport
