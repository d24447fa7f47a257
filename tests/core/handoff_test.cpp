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

// New and stored work orders go to different handlers; neither runs before it is set.
TEST(WorkOrderOpeners, NewAndStoredWorkOrdersReachTheirOwnHandler) {
    WorkOrderOpenerRegistry registry;
    EXPECT_FALSE(registry.open({nullptr, 5, WorkOrderNumbering::ProbeLoop}));
    EXPECT_FALSE(registry.edit({nullptr, 9}));
    QStringList calls;
    registry.setEditor(
        [&](const EditWorkOrderRequest& r) { calls << "edit:" + QString::number(r.workOrderId); });
    EXPECT_FALSE(registry.hasOpener());
    EXPECT_FALSE(registry.open({nullptr, 5, WorkOrderNumbering::ProbeLoop}));
    registry.setOpener(
        [&](const NewWorkOrderRequest& r) { calls << "new:" + QString::number(r.vehicleId); });
    EXPECT_TRUE(registry.edit({nullptr, 9}));
    EXPECT_TRUE(registry.open({nullptr, 5, WorkOrderNumbering::NextNumber}));
    EXPECT_EQ(calls, (QStringList{"edit:9", "new:5"}));
}

}  // namespace
