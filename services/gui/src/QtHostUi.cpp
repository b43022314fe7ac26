#include "QtHostUi.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>

#include "GuiThread.h"

namespace tavrel::gui {
namespace {

QMessageBox::Icon iconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return QMessageBox::Ok;
    case MessageButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel:
      return QMessageBox::Retry | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

// What closing the box without a button means for each button set.
MessageAnswer escapeAnswerOf(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return MessageAnswer::Ok;
    case MessageButtons::YesNo:
      return MessageAnswer::No;
    default:
      return MessageAnswer::Cancel;
  }
}

MessageAnswer answerOf(int button, MessageButtons buttons) {
  switch (button) {
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    case QMessageBox::Cancel:
      return MessageAnswer::Cancel;
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Retry:
      return MessageAnswer::Retry;
    default:
      return escapeAnswerOf(buttons);
  }
}

std::optional<std::u16string> runFileDialog(const FileDialogRequest& request, bool save) {
  QFileDialog dialog(nullptr, QString::fromStdU16String(request.title));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode((request.flags & kFileMustExist) != 0 ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, (request.flags & kOverwritePrompt) == 0);
  const QStringList filters = nameFiltersOf(request.filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
  }
  dialog.setDefaultSuffix(QString::fromStdU16String(request.defaultExtension));
  if (!request.initialName.empty()) {
    dialog.selectFile(QString::fromStdU16String(request.initialName));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  const QString chosen =
      withDefaultExtension(dialog.selectedFiles().constFirst(), request.defaultExtension);
  if ((request.flags & kPathMustExist) != 0 && !QFileInfo(chosen).dir().exists()) {
    return std::nullopt;
  }
  return chosen.toStdU16String();
}

}  // namespace

QStringList nameFiltersOf(const std::u16string& filter) {
  QStringList filters;
  for (QString entry :
       QString::fromStdU16String(filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
    // The toolkit separates the patterns inside the parentheses by blanks.
    const qsizetype open = entry.indexOf(u'(');
    const qsizetype close = entry.lastIndexOf(u')');
    if (open >= 0 && close > open) {
      QString patterns = entry.mid(open + 1, close - open - 1);
      patterns.replace(u';', u' ');
      entry = entry.left(open + 1) + patterns.simplified() + entry.mid(close);
    }
    filters.push_back(entry.trimmed());
  }
  return filters;
}

QString withDefaultExtension(const QString& path, const std::u16string& extension) {
  if (extension.empty() || QFileInfo(path).fileName().contains(u'.')) {
    return path;
  }
  return path + u'.' + QString::fromStdU16String(extension);
}

MessageAnswer CQtHostUi::messageBox(const MessageBoxRequest& request) {
  // A box that was never shown (the application ended first) counts as closed unanswered.
  const std::optional<MessageAnswer> answer = runOnGuiThread([&] {
    QMessageBox box(iconOf(request.icon), QString::fromStdU16String(request.title),
                    QString::fromStdU16String(request.text), buttonsOf(request.buttons));
    if (request.topmost) {
      box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    return std::optional<MessageAnswer>(answerOf(box.exec(), request.buttons));
  });
  return answer.value_or(escapeAnswerOf(request.buttons));
}

std::optional<std::u16string> CQtHostUi::openFileName(const FileDialogRequest& request) {
  return runOnGuiThread([&] { return runFileDialog(request, false); });
}

std::optional<std::u16string> CQtHostUi::saveFileName(const FileDialogRequest& request) {
  return runOnGuiThread([&] { return runFileDialog(request, true); });
}

std::optional<std::u16string> CQtHostUi::clipboardText() {
  return runOnGuiThread([]() -> std::optional<std::u16string> {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
      return std::nullopt;
    }
    return data->text().toStdU16String();
  });
}

bool CQtHostUi::setClipboardText(const std::u16string& text) {
  return runOnGuiThread([&] {
    QGuiApplication::clipboard()->setText(QString::fromStdU16String(text));
    return true;
  });
}

}  // namespace tavrel::gui
