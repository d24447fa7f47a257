#include "core/handoff.h"

#include <gtest/gtest.h>

using namespace torvane;

namespace {

TEST(CustomerOrigins, RegisteredOriginsWinAndOthersFallBackToTheDefault) {
    QStringList calls;
    CustomerOriginRegistry::setDefault([&](const CustomerChoice& c) {
        calls << "default:" + c.origin + QString::number(c.customerId);
    });
    CustomerOriginRegistry::registerOrigin("Recibos", [&](const CustomerChoice& c) {
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
        CustomerChoice choice;
        choice.origin = c.origin;
        choice.customerId = 7;
        EXPECT_TRUE(CustomerOriginRegistry::dispatch(choice));
        EXPECT_EQ(calls, QStringList{c.call}) << c.origin;
    }
    CustomerOriginRegistry::unregisterOrigin("Recibos");
    EXPECT_FALSE(CustomerOriginRegistry::hasOrigin("Recibos"));
    CustomerOriginRegistry::setDefault(nullptr);
    CustomerChoice choice;
    choice.origin = "Recibos";
    EXPECT_FALSE(CustomerOriginRegistry::dispatch(choice));
}

}  // namespace
