// Acting on a modal window from inside its own event loop: the test arranges what to do,
// then opens the window; the action runs once a window of the wanted type is on top.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

template <typename TWindow>
void WhenModal(std::function<void(TWindow*)> act) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(5);
  // Bounded, so that a window that never shows fails the test instead of hanging it.
  int tries = 2000;
  QObject::connect(timer, &QTimer::timeout, timer, [timer, act, tries]() mutable {
    auto* w = qobject_cast<TWindow*>(QApplication::activeModalWidget());
    const bool found = w && w->isVisible();
    if (found || --tries == 0) {
      timer->stop();
      timer->deleteLater();
    }
    if (found) act(w);
  });
  timer->start();
}
