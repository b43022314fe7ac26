#pragma once

#include <QCoreApplication>
#include <QThread>
#include <type_traits>
#include <utility>

namespace tavrel::gui {

inline bool onGuiThread() {
  return QCoreApplication::instance() != nullptr &&
         QThread::currentThread() == QCoreApplication::instance()->thread();
}

// Runs work on the GUI thread and gives its result: directly when called there, otherwise
// through a blocking queued call. A call the GUI thread never runs (the application ends
// first) gives a default result.
template <class Work>
auto runOnGuiThread(Work&& work) -> std::invoke_result_t<Work&> {
  using Result = std::invoke_result_t<Work&>;
  QCoreApplication* application = QCoreApplication::instance();
  if (application == nullptr) {
    return Result{};
  }
  if (onGuiThread()) {
    return work();
  }
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(
        application, [&] { work(); }, Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    QMetaObject::invokeMethod(
        application, [&] { result = work(); }, Qt::BlockingQueuedConnection);
    return result;
  }
}

// Runs work on the GUI thread without waiting for it (directly when called there).
template <class Work>
void postToGuiThread(Work&& work) {
  QCoreApplication* application = QCoreApplication::instance();
  if (application == nullptr) {
    return;
  }
  if (onGuiThread()) {
    work();
  } else {
    QMetaObject::invokeMethod(application, std::forward<Work>(work), Qt::QueuedConnection);
  }
}

}  // namespace tavrel::gui
