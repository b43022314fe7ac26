// The desktop's message boxes, file dialogs and clipboard as the GUI service installs them:
// from the GUI thread and from other threads, which wait for the GUI thread.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <thread>

#include "GuiEnvironment.h"
#include "QtHostUi.h"
#include "tavrel/HostUi.h"

namespace tavrel::test {
namespace {

using gui::MessageAnswer;

// Answers the next modal dialog of type T with the action, from inside its own event loop.
template <class T>
class DialogAnswer {
 public:
  explicit DialogAnswer(std::function<void(T&)> action) : action_(std::move(action)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
        timer_.stop();
        seen = true;
        action_(*dialog);
      }
    });
    timer_.start(5);
  }
  bool seen = false;

 private:
  std::function<void(T&)> action_;
  QTimer timer_;
};

TEST(HostUiTest, MessageBoxFromAnotherThreadWaitsForTheUsersAnswer) {
  QString text;
  bool topmost = false;
  DialogAnswer<QMessageBox> answer([&](QMessageBox& box) {
    text = box.text();
    topmost = box.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    EXPECT_EQ(box.icon(), QMessageBox::Warning);
    box.button(QMessageBox::No)->click();
  });
  std::atomic<bool> done = false;
  MessageAnswer result = MessageAnswer::Ok;
  std::thread task([&] {
    result = gui::hostUi().messageBox({u"Delete the skin?", u"Skins", gui::MessageIcon::Warning,
                                       gui::MessageButtons::YesNo, true});
    done = true;
  });
  const bool finished = waitFor([&] { return done.load(); });
  task.join();
  ASSERT_TRUE(finished);
  EXPECT_EQ(result, MessageAnswer::No);
  EXPECT_EQ(text, "Delete the skin?");
  EXPECT_TRUE(topmost);
}

TEST(HostUiTest, MessageBoxOnTheGuiThreadIsShownDirectly) {
  DialogAnswer<QMessageBox> answer(
      [](QMessageBox& box) { box.button(QMessageBox::Retry)->click(); });
  EXPECT_EQ(gui::showMessage(u"Again?", u"Title", gui::MessageIcon::Error,
                             gui::MessageButtons::RetryCancel),
            MessageAnswer::Retry);
  DialogAnswer<QMessageBox> closing([](QMessageBox& box) { box.reject(); });
  EXPECT_EQ(
      gui::showMessage(u"Sure?", u"Title", gui::MessageIcon::Question, gui::MessageButtons::YesNo),
      MessageAnswer::No)
      << "closed without a button";
}

TEST(HostUiTest, ClipboardRoundTripFromAnotherThread) {
  std::optional<std::u16string> read;
  std::atomic<bool> done = false;
  std::thread task([&] {
    EXPECT_TRUE(gui::hostUi().setClipboardText(u"1.5E3 \u00b5"));
    read = gui::hostUi().clipboardText();
    done = true;
  });
  const bool finished = waitFor([&] { return done.load(); });
  task.join();
  ASSERT_TRUE(finished);
  EXPECT_EQ(read, std::optional<std::u16string>(u"1.5E3 \u00b5"));
  QGuiApplication::clipboard()->clear();
  EXPECT_EQ(gui::hostUi().clipboardText(), std::nullopt);
}

TEST(HostUiTest, SaveDialogProposesTheNameAndAddsTheDefaultExtension) {
  QTemporaryDir folder;
  QString proposed;
  QStringList filters;
  DialogAnswer<QFileDialog> answer([&](QFileDialog& dialog) {
    proposed = dialog.selectedFiles().value(0);
    filters = dialog.nameFilters();
    dialog.selectFile(folder.filePath("mine"));
    static_cast<QDialog&>(dialog).accept();  // the file dialog's own accept checks the name
  });
  gui::FileDialogRequest request{u"Save State", u"State files (*.vstate);;All files (*.*)",
                                 u"vstate", gui::kOverwritePrompt, u"first"};
  const auto chosen = gui::hostUi().saveFileName(request);
  ASSERT_TRUE(answer.seen);
  EXPECT_EQ(QFileInfo(proposed).completeBaseName(), "first");
  EXPECT_EQ(filters, (QStringList{"State files (*.vstate)", "All files (*.*)"}));
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(QString::fromStdU16String(*chosen), folder.filePath("mine.vstate"));
}

TEST(HostUiTest, CancelledOpenDialogGivesNothing) {
  DialogAnswer<QFileDialog> answer([](QFileDialog& dialog) {
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    dialog.reject();
  });
  EXPECT_EQ(gui::hostUi().openFileName({u"Open", u"", u"", gui::kFileMustExist, u""}),
            std::nullopt);
}

TEST(HostUiTest, FiltersAndDefaultExtension) {
  EXPECT_EQ(gui::nameFiltersOf(u"Objects (*.vobj;*.vob);;Text (*.txt)"),
            (QStringList{"Objects (*.vobj *.vob)", "Text (*.txt)"}));
  EXPECT_TRUE(gui::nameFiltersOf(u"").isEmpty());
  EXPECT_EQ(gui::withDefaultExtension("/a.b/state", u"vstate"), "/a.b/state.vstate");
  EXPECT_EQ(gui::withDefaultExtension("/a/state.old", u"vstate"), "/a/state.old");
  EXPECT_EQ(gui::withDefaultExtension("/a/state", u""), "/a/state");
}

}  // namespace
}  // namespace tavrel::test
