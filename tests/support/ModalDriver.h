// Drives a modal dialog from a test: the action runs on the dialog once exec() has shown it. A
// dialog that never comes is given up after five seconds, so no action lingers into the next test.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

template <typename Dialog>
void whenModal(std::function<void(Dialog*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto* expiry = new QTimer(timer);
    expiry->setSingleShot(true);
    QObject::connect(expiry, &QTimer::timeout, timer, [timer] {
        timer->stop();
        timer->deleteLater();
    });
    expiry->start(5000);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        }
    });
    timer->start();
}
