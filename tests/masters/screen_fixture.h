#pragma once

#include <gtest/gtest.h>
#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <memory>

#include "support/screen_helpers.h"
#include "support/temp_home.h"
#include "support/test_services.h"

namespace torvane::testing {

// A fresh database and recording services for driving one kind of screen.
class ScreenTest : public ::testing::Test {
  protected:
    void TearDown() override { closeAllWindows(); }

    template <class Screen, class... Args>
    std::unique_ptr<Screen> open(Args&&... args) {
        auto s = std::make_unique<Screen>(home.session(), services, std::forward<Args>(args)...);
        s->show();
        s->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(s.get()));
        return s;
    }
    Database& db() { return home.db(); }
    int count(const char* sql, const QVariantList& params = {}) {
        return db().scalar(sql, params).toInt();
    }

    TempHome home;
    TestServices services;
    ScriptedDialogs& dialogs = services.scripted;
};

// The last message shown was this text with this icon.
inline ::testing::AssertionResult lastMessageIs(const ScriptedDialogs& dialogs, const QString& text,
                                                Dialogs::Icon icon) {
    const auto shown = dialogs.messages();
    if (shown.empty()) return ::testing::AssertionFailure() << "no message shown";
    if (shown.back().text != text || shown.back().icon != icon)
        return ::testing::AssertionFailure()
               << "shown '" << shown.back().text.toStdString() << "' icon "
               << int(shown.back().icon) << ", expected '" << text.toStdString() << "' icon "
               << int(icon);
    return ::testing::AssertionSuccess();
}

// Types over a field's whole text through the keys; an empty text deletes it.
inline void setText(QWidget* form, const char* name, const QString& text) {
    auto* e = control<QLineEdit>(form, name);
    if (!e) return;
    e->setFocus();
    e->selectAll();
    if (text.isEmpty()) QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
}

inline void chooseItem(QWidget* form, const char* combo, const QString& item) {
    auto* c = control<QComboBox>(form, combo);
    ASSERT_NE(c, nullptr);
    const int i = c->findText(item);
    ASSERT_GE(i, 0) << item.toStdString();
    c->setCurrentIndex(i);
}

// Types over the edit text of an editable combo.
inline void typeCombo(QWidget* form, const char* combo, const QString& text) {
    auto* c = control<QComboBox>(form, combo);
    if (!c) return;
    c->setFocus();
    c->lineEdit()->selectAll();
    QTest::keyClicks(c->lineEdit(), text);
}

inline QString cellText(QAbstractItemView* grid, int row, int column) {
    return grid ? grid->model()->index(row, column).data().toString() : QString();
}

inline int rowsOf(QAbstractItemView* grid) {
    return grid ? grid->model()->rowCount() : -1;
}

// Supr on a line of an editable grid.
inline void pressDelete(QAbstractItemView* grid, int row, int column = 2) {
    ASSERT_NE(grid, nullptr);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row, column));
    QTest::keyClick(grid, Qt::Key_Delete);
}

}  // namespace torvane::testing
