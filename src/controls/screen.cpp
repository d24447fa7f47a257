#include "controls/screen.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

namespace torvane {

void openScreen(QWidget* caller, QWidget* screen) {
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->setWindowFlag(Qt::Window);
    if (caller) {
        caller->setEnabled(false);
        QPointer<QWidget> c(caller);
        QObject::connect(screen, &QObject::destroyed, [c] {
            if (c) c->setEnabled(true);
        });
    }
    centreOnScreen(screen);
    screen->show();
    screen->raise();
    screen->activateWindow();
}

void centreOnScreen(QWidget* window) {
    QScreen* s = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect area = s->availableGeometry();
    const QSize size = window->sizeHint().expandedTo(window->size());
    window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

}  // namespace torvane
