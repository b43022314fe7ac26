#include "ReceiveFolioDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ReceiveAnimation.h"

namespace tavrel::statexport {

const char* const CReceiveFolioDialog::kWaitingText = "Connect calculator to computer and turn ON";
const char* const CReceiveFolioDialog::kInstructionsText =
    "On the calculator...\n"
    "\t1) Press FOLIO on calculator and select a Statistics folio.\n"
    "\t2) Press the SEND menu key on the calculator.\n"
    "\t3) Select ZRT7/T8 (USB)\n"
    "\t4) Press the OK menu key on the calculator.\n"
    "On the computer...\n"
    "\tPress the NEXT button in this dialog";
const char* const CReceiveFolioDialog::kReceivingText = "Receiving...";

CReceiveFolioDialog::CReceiveFolioDialog(link::IByteTransport& transport,
                                         link::ReceiveTiming timing, QWidget* parent)
    : QDialog(parent),
      transport_(transport),
      timing_(timing),
      message_(new QLabel(this)),
      animation_(new ReceiveAnimation(this)),
      next_(new QPushButton(QStringLiteral("Next"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
  setWindowTitle(QStringLiteral("Receive Statistics Folio"));
  setAttribute(Qt::WA_QuitOnClose, false);
  message_->setWordWrap(true);
  message_->setTextFormat(Qt::PlainText);
  message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  message_->setMinimumHeight(110);
  next_->setAutoDefault(false);
  cancel_->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(next_);
  buttons->addStretch(1);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(message_);
  layout->addWidget(animation_, 1, Qt::AlignHCenter);
  layout->addLayout(buttons);

  connect(next_, &QPushButton::clicked, this, &CReceiveFolioDialog::startReceive);
  connect(cancel_, &QPushButton::clicked, this, &CReceiveFolioDialog::reject);
  poll_.setInterval(kPollInterval);
  connect(&poll_, &QTimer::timeout, this, &CReceiveFolioDialog::checkCalculator);
  poll_.start();
  setState(State::kWaitingForCalculator);
  resize(460, 340);
}

CReceiveFolioDialog::~CReceiveFolioDialog() {
  if (job_) {
    job_->cancel();
  }
}

QString CReceiveFolioDialog::messageText() const {
  return message_->text();
}

void CReceiveFolioDialog::setState(State state) {
  state_ = state;
  const bool present = state == State::kCalculatorPresent;
  const char* text = state == State::kWaitingForCalculator ? kWaitingText
                     : present                             ? kInstructionsText
                                                           : kReceivingText;
  message_->setText(QString::fromLatin1(text));
  next_->setVisible(present);
  animation_->setVisible(present);
  animation_->setPlaying(present);
}

void CReceiveFolioDialog::checkCalculator() {
  if (state_ == State::kWaitingForCalculator && transport_.isPresent()) {
    setState(State::kCalculatorPresent);
  } else if (state_ == State::kCalculatorPresent && !transport_.isPresent()) {
    setState(State::kWaitingForCalculator);
  }
}

void CReceiveFolioDialog::startReceive() {
  if (state_ != State::kCalculatorPresent || job_) {
    return;
  }
  setState(State::kReceiving);
  // The worker reports on its own thread; both events are queued to this dialog's thread
  // and dropped if the dialog is gone by then.
  link::ReceiveJobEvents events;
  events.newStatus = [this](const std::string& text) {
    QMetaObject::invokeMethod(
        this, [this, status = QString::fromStdString(text)] { showStatus(status); },
        Qt::QueuedConnection);
  };
  events.finished = [this] {
    QMetaObject::invokeMethod(
        this, [this] { workerFinished(); }, Qt::QueuedConnection);
  };
  job_ = std::make_unique<link::ReceiveJob>(transport_, timing_, std::move(events));
  job_->start();
}

void CReceiveFolioDialog::showStatus(const QString& text) {
  if (state_ == State::kReceiving) {
    message_->setText(text);
  }
}

void CReceiveFolioDialog::workerFinished() {
  if (!cancelled_) {
    accept();
  }
}

void CReceiveFolioDialog::reject() {
  cancelled_ = true;
  poll_.stop();
  if (job_) {
    job_->cancel();
  }
  QDialog::reject();
}

std::vector<std::uint8_t> CReceiveFolioDialog::takeImage() {
  if (!job_ || cancelled_ || job_->running() ||
      job_->outcome() != link::ReceiveOutcome::kReceived) {
    return {};
  }
  return job_->takeData();
}

}  // namespace tavrel::statexport
