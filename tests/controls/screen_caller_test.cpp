#include <gtest/gtest.h>
#include <QApplication>
#include <QPointer>

#include "controls/screen.h"

using namespace torvane;

namespace {

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(OpenScreen, CallerStaysDisabledUntilItsLastScreenCloses) {
    QWidget caller;
    caller.show();
    auto* first = new QWidget;
    auto* second = new QWidget;
    openScreen(&caller, first);
    openScreen(&caller, second);
    EXPECT_FALSE(caller.isEnabled());
    EXPECT_EQ(callerOf(first), &caller);
    first->close();
    settle();
    EXPECT_FALSE(caller.isEnabled());
    second->close();
    settle();
    EXPECT_TRUE(caller.isEnabled());
}

TEST(OpenScreen, InsteadHandsTheCallerOverToTheNextScreen) {
    QWidget caller;
    caller.show();
    auto* search = new QWidget;
    openScreen(&caller, search);
    QPointer<QWidget> file = new QWidget;
    openScreenInstead(search, file);
    settle();
    EXPECT_FALSE(caller.isEnabled());
    EXPECT_EQ(callerOf(file), &caller);
    file->close();
    settle();
    EXPECT_TRUE(file.isNull());
    EXPECT_TRUE(caller.isEnabled());
    EXPECT_EQ(callerOf(nullptr), nullptr);
}

}  // namespace
