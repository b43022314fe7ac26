// The receive dialog: following the calculator, starting and cancelling the receive, status
// texts from the worker, and the received image.
#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "FolioBuilder.h"
#include "GuiTestSupport.h"
#include "LinkTestSupport.h"
#include "MemoryTransport.h"
#include "ReceiveAnimation.h"
#include "ReceiveFolioDialog.h"
#include "SampleFolios.h"
#include "StatTableDialog.h"

namespace tavrel::statexport::test {
namespace {

using State = CReceiveFolioDialog::State;
using namespace std::chrono_literals;

// A calculator that can be plugged in and out, may refuse to open, and never sends anything.
class SilentCalculator final : public link::IByteTransport {
 public:
  std::atomic<bool> present{false};
  std::atomic<bool> opens{true};

  bool isPresent() override { return present; }
  bool open() override { return open_ = opens.load(); }
  bool isOpen() const override { return open_; }
  void close() override { open_ = false; }
  link::TransportRead read(std::uint8_t*, std::size_t, std::chrono::milliseconds timeout) override {
    std::unique_lock<std::mutex> guard(lock_);
    wake_.wait_for(guard, timeout, [this] { return interrupted_; });
    interrupted_ = false;
    return {0, false};
  }
  void interruptRead() override {
    {
      std::lock_guard<std::mutex> guard(lock_);
      interrupted_ = true;
    }
    wake_.notify_all();
  }
  std::size_t write(const std::uint8_t*, std::size_t count, std::chrono::milliseconds) override {
    return count;
  }

 private:
  std::atomic<bool> open_{false};
  std::mutex lock_;
  std::condition_variable wake_;
  bool interrupted_ = false;
};

link::ReceiveTiming quickTiming() {
  link::ReceiveTiming timing;
  timing.statusPause = 0ms;
  timing.headerWait = 100ms;
  timing.purgeQuiet = 50ms;
  return timing;
}

class ReceiveDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ensureTestApplication(); }
  ScopedScriptedUi scripted_;
};

TEST_F(ReceiveDialogTest, FollowsTheCalculatorComingAndGoing) {
  SilentCalculator calculator;
  CReceiveFolioDialog dialog(calculator, quickTiming());
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "Receive Statistics Folio");
  EXPECT_EQ(dialog.pollTimer().interval(), 1000);
  EXPECT_TRUE(dialog.pollTimer().isActive());
  EXPECT_EQ(dialog.state(), State::kWaitingForCalculator);
  EXPECT_EQ(dialog.messageText(), "Connect calculator to computer and turn ON");
  EXPECT_FALSE(dialog.nextButton()->isVisible());
  EXPECT_FALSE(dialog.animation()->isVisible());

  dialog.checkCalculator();
  EXPECT_EQ(dialog.state(), State::kWaitingForCalculator);

  calculator.present = true;
  dialog.checkCalculator();
  EXPECT_EQ(dialog.state(), State::kCalculatorPresent);
  EXPECT_TRUE(dialog.messageText().startsWith("On the calculator...\n\t1) Press FOLIO"));
  EXPECT_TRUE(
      dialog.messageText().endsWith("On the computer...\n\tPress the NEXT button in this dialog"));
  EXPECT_TRUE(dialog.nextButton()->isVisible());
  EXPECT_TRUE(dialog.animation()->isVisible());
  EXPECT_TRUE(dialog.animation()->playing());

  calculator.present = false;
  dialog.checkCalculator();
  EXPECT_EQ(dialog.state(), State::kWaitingForCalculator);
  EXPECT_FALSE(dialog.nextButton()->isVisible());
  EXPECT_FALSE(dialog.animation()->playing());
}

TEST_F(ReceiveDialogTest, ReceivesAFolioImageAndEndsWithOk) {
  const std::vector<std::uint8_t> image = testing::folioImage("Sent", mixedColumnsFolio());
  ASSERT_LE(image.size(), 1024u);
  std::vector<std::uint8_t> padded = image;
  padded.resize(1024, 0x1A);
  link::testing::MemoryTransport calculator(
      {link::test::block(1, padded, true), {}, {link::kEndOfTransmission}});
  CReceiveFolioDialog dialog(calculator, quickTiming());
  whenModalShown("Receive Statistics Folio", [&dialog](QWidget*) {
    dialog.checkCalculator();
    ASSERT_EQ(dialog.state(), State::kCalculatorPresent);
    dialog.nextButton()->click();
    EXPECT_EQ(dialog.state(), State::kReceiving);
    EXPECT_FALSE(dialog.nextButton()->isVisible());
  });
  ASSERT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(dialog.messageText(), "Received Packet# 1...");
  const std::vector<std::uint8_t> received = dialog.takeImage();
  EXPECT_EQ(received, padded);

  CZRStatFolioExportDlg table;
  ASSERT_TRUE(table.data().loadFromReceived(received.data(), received.size()));
  EXPECT_EQ(table.data().title(), "Sent");
  EXPECT_EQ(table.data().rowCount(), 5u);
}

TEST_F(ReceiveDialogTest, ShowsWhyTheWorkerCouldNotConnect) {
  SilentCalculator calculator;
  calculator.present = true;
  calculator.opens = false;
  CReceiveFolioDialog dialog(calculator, quickTiming());
  whenModalShown("Receive Statistics Folio", [&dialog](QWidget*) {
    dialog.checkCalculator();
    dialog.nextButton()->click();
  });
  ASSERT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(dialog.messageText(), "Could not Connect to Calculator");
  EXPECT_TRUE(dialog.takeImage().empty());
  EXPECT_TRUE(scripted_.messages().empty());
}

TEST_F(ReceiveDialogTest, CancelStopsTheWorkerAndEndsWithCancel) {
  SilentCalculator calculator;
  calculator.present = true;
  CReceiveFolioDialog dialog(calculator, quickTiming());
  whenModalShown("Receive Statistics Folio", [&dialog](QWidget*) {
    dialog.checkCalculator();
    dialog.nextButton()->click();
    dialog.cancelButton()->click();
  });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  EXPECT_TRUE(dialog.takeImage().empty());
  // The worker has let go of the process-wide receive lock.
  std::unique_lock<std::mutex> free(link::processReceiveLock(), std::try_to_lock);
  EXPECT_TRUE(free.owns_lock());
}

TEST_F(ReceiveDialogTest, AnimationAdvancesOnlyWhilePlaying) {
  ReceiveAnimation animation;
  animation.resize(animation.sizeHint());
  EXPECT_FALSE(animation.playing());
  animation.setPlaying(true);
  EXPECT_TRUE(animation.playing());
  QImage frame(animation.size(), QImage::Format_ARGB32);
  frame.fill(Qt::white);
  animation.render(&frame);
  int drawn = 0;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      drawn += frame.pixel(x, y) != QColor(Qt::white).rgb();
    }
  }
  EXPECT_GT(drawn, frame.width());
  animation.setPlaying(false);
  EXPECT_EQ(animation.frame(), 0);
}

}  // namespace
}  // namespace tavrel::statexport::test
