#include "controls/screen.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

namespace torvane {

namespace {
// How many open screens keep a caller disabled; it is enabled when the last closes.
const char* const kOpenScreens = "torvaneOpenScreens";

// Remembers who opened a screen, safely if the caller goes away first.
class CallerLink : public QObject {
  public:
    CallerLink(QWidget* screen, QWidget* caller) : QObject(screen), caller(caller) {
        setObjectName(QStringLiteral("torvaneCallerLink"));
    }
    QPointer<QWidget> caller;
};
}  // namespace

void openScreen(QWidget* caller, QWidget* screen) {
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->setWindowFlag(Qt::Window);
    if (caller) {
        caller->setProperty(kOpenScreens, caller->property(kOpenScreens).toInt() + 1);
        caller->setEnabled(false);
        new CallerLink(screen, caller);
        QPointer<QWidget> c(caller);
        QObject::connect(screen, &QObject::destroyed, [c] {
            if (!c) return;
            const int open = c->property(kOpenScreens).toInt() - 1;
            c->setProperty(kOpenScreens, open);
            if (open <= 0) c->setEnabled(true);
        });
    }
    centreOnScreen(screen);
    screen->show();
    screen->raise();
    screen->activateWindow();
}

QWidget* callerOf(QWidget* screen) {
    if (!screen) return nullptr;
    QObject* link = screen->findChild<QObject*>(QStringLiteral("torvaneCallerLink"),
                                                Qt::FindDirectChildrenOnly);
    return link ? static_cast<CallerLink*>(link)->caller.data() : nullptr;
}

void openScreenInstead(QWidget* closing, QWidget* screen) {
    openScreen(callerOf(closing), screen);
    if (closing) closing->close();
}

void centreOnScreen(QWidget* window) {
    QScreen* s = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect area = s->availableGeometry();
    const QSize size = window->sizeHint().expandedTo(window->size());
    window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

}  // namespace torvane
