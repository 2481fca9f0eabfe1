// Answers the next modal dialog a window opens, as a user would, from the event loop.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

#include <functional>

// Polls for a modal widget of type T and hands it to `act` until `act` says it took it.
// The polling belongs to `owner` and ends with it at the latest.
template <typename T>
void OnNextModal(QObject* owner, std::function<bool(T*)> act) {
  auto* timer = new QTimer(owner);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!dialog || !act(dialog)) return;
    timer->stop();
    timer->deleteLater();
  });
  timer->start();
}

struct TMessageSeen {
  QString Title;
  QString Text;
  int Count = 0;
};

// Clicks `button` in the next message box and notes what it said.
inline void AnswerNextMessageBox(QObject* owner, QMessageBox::StandardButton button, TMessageSeen* seen = nullptr) {
  OnNextModal<QMessageBox>(owner, [button, seen](QMessageBox* box) {
    if (seen) {
      seen->Title = box->windowTitle();
      seen->Text = box->text();
      ++seen->Count;
    }
    box->button(button)->click();
    return true;
  });
}
