#include "core/handoff.h"

#include <gtest/gtest.h>

using namespace torvane;

namespace {

TEST(CustomerOrigins, RegisteredOriginsWinAndOthersFallBackToTheDefault) {
    CustomerOriginRegistry registry;
    CustomerChoice choice;
    choice.origin = "Recibos";
    EXPECT_FALSE(registry.dispatch(choice));  // nothing registered, nothing run

    QStringList calls;
    registry.setDefault([&](const CustomerChoice& c) {
        calls << "default:" + c.origin + QString::number(c.customerId);
    });
    registry.registerOrigin("Recibos", [&](const CustomerChoice& c) {
        calls << "recibos:" + QString::number(c.customerId);
    });
    struct Case {
        const char* origin;
        const char* call;
    };
    const Case cases[] = {{"Recibos", "recibos:7"},
                          {"recibos", "default:recibos7"},  // origins are exact texts
                          {"", "default:7"},
                          {"Listados", "default:Listados7"}};
    for (const Case& c : cases) {
        calls.clear();
        choice.origin = c.origin;
        choice.customerId = 7;
        EXPECT_TRUE(registry.dispatch(choice));
        EXPECT_EQ(calls, QStringList{c.call}) << c.origin;
    }
}

}  // namespace
