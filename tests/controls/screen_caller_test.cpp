#include <gtest/gtest.h>
#include <QApplication>

#include "controls/screen.h"
#include "support/screen_helpers.h"

using namespace torvane;
using torvane::testing::settle;

namespace {

// Handing the caller over to the next screen is driven in the vehicle search tests.
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

}  // namespace
