#include "core/handoff.h"

#include <gtest/gtest.h>

#include "core/sql_statement.h"

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

TEST(WorkOrderOpener, OpensOnlyOnceRegistered) {
    NewWorkOrderRequest request;
    request.vehicleId = 42;
    EXPECT_FALSE(WorkOrderOpenerRegistry::hasOpener());
    EXPECT_FALSE(WorkOrderOpenerRegistry::open(request));
    qint64 opened = 0;
    WorkOrderOpenerRegistry::setOpener([&](const NewWorkOrderRequest& r) { opened = r.vehicleId; });
    EXPECT_TRUE(WorkOrderOpenerRegistry::open(request));
    EXPECT_EQ(opened, 42);
    WorkOrderOpenerRegistry::clearOpener();
    EXPECT_FALSE(WorkOrderOpenerRegistry::hasOpener());
}

TEST(VehicleChoice, DispatchedByCallerName) {
    QString plate;
    VehicleChoiceRegistry::registerCaller("PartesGrua",
                                          [&](const VehicleChoice& c) { plate = c.plate; });
    VehicleChoice c;
    c.plate = "1234ABC";
    EXPECT_FALSE(VehicleChoiceRegistry::dispatch("Otro", c));
    EXPECT_TRUE(VehicleChoiceRegistry::dispatch("PartesGrua", c));
    EXPECT_EQ(plate, "1234ABC");
    VehicleChoiceRegistry::unregisterCaller("PartesGrua");
    EXPECT_FALSE(VehicleChoiceRegistry::hasCaller("PartesGrua"));
}

TEST(LikePatterns, BindTheTypedTextAsIs) {
    struct Case {
        const char *typed, *prefix, *word;
    };
    const Case cases[] = {{"GAR", "GAR%", "% GAR%"},
                          {"", "%", "% %"},
                          {"O'B", "O'B%", "% O'B%"},
                          {"5%_", "5%_%", "% 5%_%"}};
    for (const Case& c : cases) {
        EXPECT_EQ(likePrefix(c.typed), QString(c.prefix));
        EXPECT_EQ(likeWordInside(c.typed), QString(c.word));
    }
}

}  // namespace
