#pragma once

#include <gtest/gtest.h>
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

}  // namespace torvane::testing
