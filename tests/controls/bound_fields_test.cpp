#include "controls/bound_fields.h"

#include <gtest/gtest.h>
#include <QDate>
#include <QLineEdit>

#include "host_form.h"

using torvane::BoundFields;
using torvane::FieldBinding;
using torvane::Row;
using torvane::testing::HostForm;

namespace {

struct BoundForm {
    HostForm form;
    QLineEdit* name = form.add<QLineEdit>("txtNombre");
    QLineEdit* discount = form.add<QLineEdit>("TxtDescuento");
    QLineEdit* sold = form.add<QLineEdit>("txtFechaVenta");
    QLineEdit* other = form.add<QLineEdit>("txtOtro");  // not bound
    BoundFields fields{&form,
                       {{"txtNombre", "Nombre"},
                        {"TxtDescuento", "Descuento"},
                        {"txtFechaVenta", "FechaVenta", true}}};
};

}  // namespace

TEST(BoundFields, ShowStoredValuesAsTypedAndFillReadAndClearOnlyTheBoundFields) {
    struct Case {
        QVariant value;
        bool date;
        QString shown;
    };
    const Case cases[] = {
        {QVariant(), false, ""},
        {QVariant(2.5), false, "2,5"},
        {QVariant(QDate(2024, 12, 31)), true, "31/12/2024"},
        {QVariant(), true, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(torvane::boundText(c.value, c.date), c.shown) << c.value.toString().toStdString();

    BoundForm f;
    f.other->setText("sin tocar");
    f.fields.fill(Row{{"Nombre", "TALLERES PEREZ"},
                      {"Descuento", 15.0},
                      {"FechaVenta", "2008-03-05"},
                      {"Otro", "X"}});
    EXPECT_EQ(f.name->text(), "TALLERES PEREZ");
    EXPECT_EQ(f.discount->text(), "15");
    EXPECT_EQ(f.sold->text(), "05/03/2008");
    EXPECT_EQ(f.other->text(), "sin tocar");

    f.discount->setText("7,5");
    const Row read = f.fields.read();
    EXPECT_EQ(
        read,
        (Row{{"Nombre", "TALLERES PEREZ"}, {"Descuento", "7,5"}, {"FechaVenta", "05/03/2008"}}));

    // A column missing from the row empties its field.
    f.fields.fill(Row{{"Nombre", "OTRO"}});
    EXPECT_EQ(f.discount->text(), "");
    EXPECT_EQ(f.sold->text(), "");

    f.fields.clear();
    EXPECT_EQ(f.name->text(), "");
}
