#pragma once

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace torvane::testing {

// Finds a control by objectName; fails the test when it is missing.
template <class T = QWidget>
T* control(QWidget* form, const QString& name) {
    T* w = form->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << "no control " << name.toStdString();
    return w;
}

// Clicks a command as the user would; a disabled button ignores the click.
inline void click(QWidget* form, const QString& name) {
    auto* b = control<QAbstractButton>(form, name);
    if (b) QTest::mouseClick(b, Qt::LeftButton);
}

inline bool enabled(QWidget* form, const QString& name) {
    auto* w = control(form, name);
    return w && w->isEnabled();
}

// Types into a field through the key events, so the keyboard classes apply.
inline void type(QWidget* form, const QString& name, const QString& text) {
    auto* e = control<QLineEdit>(form, name);
    if (!e) return;
    e->setFocus();
    QTest::keyClicks(e, text);
}

inline QString textOf(QWidget* form, const QString& name) {
    auto* e = control<QLineEdit>(form, name);
    return e ? e->text() : QString();
}

// Clicks a grid row on screen, on its first visible cell; with `twice`, as the system
// delivers a double click: press, release, then the double click.
inline void clickRow(QTableView* grid, int row, bool twice = false) {
    ASSERT_NE(grid, nullptr);
    int column = 0;
    while (grid->isColumnHidden(column)) ++column;
    const QRect r = grid->visualRect(grid->model()->index(row, column));
    ASSERT_TRUE(r.isValid()) << "row " << row << " not on screen";
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    if (twice) QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

inline void doubleClickRow(QTableView* grid, int row) {
    clickRow(grid, row, true);
}

inline void selectTab(QWidget* form, const QString& tabs, int index) {
    auto* t = control<QTabWidget>(form, tabs);
    if (!t) return;
    ASSERT_TRUE(t->isTabEnabled(index)) << "tab " << index << " disabled";
    t->setCurrentIndex(index);
}

// The visible top-level screen with this objectName, if any.
inline QWidget* openWindow(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
}

// Lets closed screens delete themselves.
inline void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Closes every screen left open by a test.
inline void closeAllWindows() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->testAttribute(Qt::WA_DeleteOnClose)) w->close();
    settle();
}

}  // namespace torvane::testing
