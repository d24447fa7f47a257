#pragma once

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace torvane::testing {

// A small shown and active window to type into: fields are added in tab order.
class HostForm : public QWidget {
  public:
    HostForm() { new QVBoxLayout(this); }

    template <class T>
    T* add(const QString& name) {
        auto* w = new T(this);
        w->setObjectName(name);
        layout()->addWidget(w);
        return w;
    }

    void showActive() {
        show();
        activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(this));
    }

    // Gives a field the focus as a click would.
    static void focus(QWidget* w) {
        w->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
    }

    static QWidget* focused() { return QApplication::focusWidget(); }

    // Types into whatever has the focus, as the user does.
    static void type(const QString& text) {
        for (QChar c : text) {
            // Latin-1 key codes are the upper-case letters, accented ones included.
            const auto key = Qt::Key(c.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Click, focused(), key, QString(c), Qt::NoModifier);
        }
    }
    static void press(Qt::Key key) {
        QTest::keyClick(focused(), key);
        QCoreApplication::processEvents();
    }
};

}  // namespace torvane::testing
