// Document lines: exact totals without deleted lines, deleted lines hidden, typed
// numbers, and the grid's Supr and double-click.
#include "controls/line_table.h"

#include <gtest/gtest.h>
#include <QAbstractItemModelTester>
#include <QTest>

using namespace torvane;

namespace {

const QList<LineColumn> kColumns = {{LineField::Code, "Código"},
                                    {LineField::Units, "Cant."},
                                    {LineField::Price, "Precio"},
                                    {LineField::Discount, "Dto. %"},
                                    {LineField::Amount, "Importe"}};

DocumentLine line(const char* code, const char* units, const char* price, const char* dto = "0") {
    DocumentLine l;
    l.code = code;
    l.units = *Quantity::parse(units);
    l.price = *Money::parse(price);
    l.discount = *Quantity::parse(dto);
    return l;
}

TEST(LineTotals, CountAndSumOnlyTheLinesNotDeleted) {
    std::vector<DocumentLine> lines = {line("A", "3,25", "38,50"),      // 125,13
                                       line("B", "1", "110,65", "10"),  // 99,59
                                       line("C", "2", "1000")};
    lines[2].deleted = true;
    const LineTotals t = lineTotals(lines);
    EXPECT_EQ(t.lines, 2);
    EXPECT_EQ(t.units, *Quantity::parse("4,25"));
    EXPECT_EQ(t.amount.format(), "224,72");  // each line rounded to cents, then summed
    EXPECT_EQ(lineTotals({}).amount, Money());
    // A line converted to currency first rounds 1,23495 to 1,2350 and shows 1,24; the
    // same line rounded once shows 1,23.
    DocumentLine l = line("X", "1,5", "0,8233");
    EXPECT_EQ(lineTotals({l}).amount.format(), "1,23");
    l.toCurrencyFirst = true;
    EXPECT_EQ(lineTotals({l}).amount.format(), "1,24");
}

// The screens hide deleted lines.
TEST(LineTableModel, DeletedLinesAreHiddenAndLeaveTheTotals) {
    LineTableModel model(kColumns, DeletedLines::Hidden);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    int totalsSignals = 0;
    QObject::connect(&model, &LineTableModel::totalsChanged, [&] { ++totalsSignals; });
    model.addLine(line("A", "1", "10"));
    model.addLine(line("B", "2", "5"));
    model.addLine(line("C", "1", "1"));
    model.markDeleted(1);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(1, 0), Qt::DisplayRole).toString(), "C");
    EXPECT_EQ(model.totals().amount.format(), "11,00");
    EXPECT_EQ(model.totals().lines, 2);
    EXPECT_EQ(totalsSignals, 4);

    // A double-click on the read-only amount activates the line (Supr on the grid is the
    // counter sale screen's test).
    LineTable table("MSHLineas", &model);
    table.show();
    int activated = -1;
    QObject::connect(&table, &LineTable::lineActivated, [&](int row) { activated = row; });
    const QRect amount = table.visualRect(model.index(0, 4));
    // A double-click as the system delivers it: press, release, then the double-click.
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, amount.center());
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, amount.center());
    EXPECT_EQ(activated, 0);
}

TEST(LineTableModel, TypedNumbersAreExactAndBadTextKeepsTheValue) {
    LineTableModel model(kColumns, DeletedLines::Hidden);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.addLine(line("A", "1", "10"));
    struct Case {
        int column;
        const char* typed;
        bool accepted;
        const char* amount;
    };
    const Case cases[] = {
        {1, "3,25", true, "32,50"},     {2, "1.234,50", true, "4.012,13"},
        {3, "10", true, "3.610,91"},    {1, "tres", false, "3.610,91"},
        {4, "1,00", false, "3.610,91"},  // the amount is computed, never typed
    };
    for (const Case& c : cases) {
        EXPECT_EQ(model.setData(model.index(0, c.column), c.typed, Qt::EditRole), c.accepted)
            << c.typed;
        EXPECT_EQ(model.data(model.index(0, 4), Qt::DisplayRole).toString(), c.amount) << c.typed;
    }
    EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), "3,25");
}

// Text columns show the line's own texts and never edit; deleted stored lines are
// reported by id, lines not stored yet are not.
TEST(LineTableModel, TextColumnsAndDeletedIds) {
    LineTableModel model({{LineField::Text, "Operario", true, 1},
                          {LineField::Description, "Trabajo"},
                          {LineField::Amount, "Importe"}},
                         DeletedLines::Hidden);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    struct Case {
        QVariant id;
        const char* name;
        bool deleted;
    };
    const Case cases[] = {{7, "PEPE", true}, {8, "LUIS", false}, {{}, "ANA", true}, {9, "", true}};
    for (const Case& c : cases) {
        DocumentLine l = line("X", "1", "10");
        l.id = c.id;
        l.texts = {"id", c.name};
        model.addLine(l);
    }
    EXPECT_EQ(model.data(model.index(1, 0), Qt::DisplayRole).toString(), "LUIS");
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(0, 0), "OTRO", Qt::EditRole));
    for (int row = 3; row >= 0; --row)
        if (cases[row].deleted) model.markDeleted(row);
    EXPECT_EQ(model.deletedIds(), (QList<qint64>{7, 9}));
    EXPECT_EQ(model.rowCount(), 1);
}

}  // namespace
