// Listings exported as data: read back, their numbers add up to what the pages print.
#include <gtest/gtest.h>
#include <QAction>
#include <QFile>
#include <QProcess>
#include <QXmlStreamReader>
#include <map>

#include "core/money.h"
#include "reports/informes.h"
#include "reports/list_export.h"
#include "reports/list_table.h"
#include "reports/report_cli.h"
#include "reports/report_engine.h"
#include "reports/report_fixture.h"
#include "reports/report_output.h"
#include "reports/report_preview.h"
#include "support/temp_home.h"
#include "support/test_services.h"

using torvane::Money;
using torvane::reports::ListCell;
using torvane::reports::ListTable;
using torvane::reports::RenderedReport;
using torvane::testing::TempHome;

namespace {

// Materials of each customer's work orders: a group per customer, an amount with totals.
const char* kMaterials =
    "report list\n"
    "title Materiales por cliente\n"
    "from MaterialesODT INNER JOIN ODTS ON ODTS.NODT = MaterialesODT.NODT "
    "INNER JOIN Clientes ON Clientes.Id_Cli = ODTS.Id_Cli\n"
    "order Clientes.Nombre, MaterialesODT.NArticulo\n"
    "amount IMPORTE = {MaterialesODT.Unidades} * {MaterialesODT.Precio} - {MaterialesODT.Dto} %\n"
    "group \"Cliente\" count = {Clientes.Nombre} {Clientes.Apellido1}\n"
    "column \"Descripción\" 30 = {MaterialesODT.Descripcion}\n"
    "column \"Fecha\" 11 date = {ODTS.Fecha}\n"
    "column \"Unidades\" 8 number = {MaterialesODT.Unidades}\n"
    "column \"Importe\" 14 money total = {@IMPORTE}\n"
    "count \"líneas\"\n";

struct ExportFixture {
    TempHome home;
    ExportFixture() {
        torvane::testing::fillReportFixture(home.db());
        home.session().setToday(QDate(2008, 4, 15));
        QFile f(home.file("EXPORTMAT.rpt"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kMaterials);
    }
    int run(const QStringList& extra, const QString& formula = {}) {
        QStringList args{"EXPORTMAT.rpt", "--db", home.session().databasePath(), "--home",
                         home.folder()};
        if (!formula.isEmpty()) args << "--formula" << formula;
        return torvane::reports::runReportCommand(args + extra);
    }
    // "Total general (3 líneas) | 1.269,44" as printed on the last page.
    Money printedGrandTotal() {
        torvane::reports::ReportEngine engine(
            home.db(), torvane::reports::reportFolders(home.session()), QDate(2008, 4, 15));
        const auto result = engine.render("EXPORTMAT.rpt", {});
        EXPECT_TRUE(result.report) << result.error.toStdString();
        if (!result.report) return {};
        for (const QString& line : result.report->toText().split('\n'))
            if (line.startsWith("Total general"))
                return Money::parse(line.split(" | ").last()).value_or(Money::whole(-1));
        ADD_FAILURE() << "no grand total printed";
        return {};
    }
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// CSV rows as fields; checks the BOM and the line ends on the way.
std::vector<QStringList> readCsv(const QString& path) {
    QByteArray bytes = readAll(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "UTF-8 byte-order mark";
    bytes.remove(0, 3);
    std::vector<QStringList> rows;
    const QString text = QString::fromUtf8(bytes);
    EXPECT_TRUE(text.endsWith("\r\n"));
    for (const QString& line : text.split("\r\n", Qt::SkipEmptyParts))
        rows.push_back(line.split(';'));
    return rows;
}

Money csvAmount(const QString& field) {
    const auto m = Money::parse(field);
    EXPECT_TRUE(m) << field.toStdString();
    return m.value_or(Money());
}

// The sheet's cells by reference ("D3"): a number's value, or an inline string's text,
// with the cell's type ("n" for numbers, "inlineStr") and style index.
struct SheetCell {
    QString type, value;
    int style = 0;
};
std::map<QString, SheetCell> readSheet(const QString& xlsx) {
    QProcess unzip;
    unzip.start("unzip", {"-p", xlsx, "xl/worksheets/sheet1.xml"});
    EXPECT_TRUE(unzip.waitForFinished(10000));
    EXPECT_EQ(unzip.exitCode(), 0);
    QXmlStreamReader xml(unzip.readAllStandardOutput());
    std::map<QString, SheetCell> cells;
    QString ref;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("c")) {
            ref = xml.attributes().value("r").toString();
            SheetCell& c = cells[ref];
            c.type = xml.attributes().hasAttribute("t") ? xml.attributes().value("t").toString()
                                                        : QStringLiteral("n");
            c.style = xml.attributes().value("s").toInt();
        } else if (xml.name() == QLatin1String("v") || xml.name() == QLatin1String("t")) {
            cells[ref].value = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return cells;
}

// The CSV's numbers add up to what the pages print; the sheet holds the same rows, with
// amounts and dates as numbers.
TEST(ListExport, CsvAndSheetHoldTheRowsThePagesAddUp) {
    ExportFixture f;
    const QString csv = f.home.file("materiales.csv"), out = f.home.file("materiales.xlsx");
    ASSERT_EQ(f.run({"--csv", csv, "--xlsx", out}), 0);
    const auto rows = readCsv(csv);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], QStringList({"Descripción", "Fecha", "Unidades", "Importe"}));

    // Detail rows have a date in the second field; the group's total row follows them.
    Money group, details;
    int groupsClosed = 0;
    QString grandTotal;
    for (size_t i = 1; i < rows.size(); ++i) {
        const QStringList& r = rows[i];
        ASSERT_EQ(r.size(), 4) << r.join(';').toStdString();
        if (r[0].startsWith("Cliente: ")) {
            group = Money();
        } else if (r[0].startsWith("Total general")) {
            grandTotal = r[3];
        } else if (r[0].startsWith("Total ")) {
            EXPECT_EQ(csvAmount(r[3]), group) << r[0].toStdString();
            ++groupsClosed;
        } else {
            EXPECT_TRUE(QDate::fromString(r[1], "dd/MM/yyyy").isValid()) << r[1].toStdString();
            EXPECT_FALSE(r[3].contains('.')) << "no thousands mark: " << r[3].toStdString();
            group += csvAmount(r[3]);
            details += csvAmount(r[3]);
        }
    }
    EXPECT_EQ(groupsClosed, 2);
    EXPECT_EQ(csvAmount(grandTotal), details);
    EXPECT_EQ(csvAmount(grandTotal), f.printedGrandTotal());
    // The filter and oil line of 10/03/2008: two units less 10 %.
    EXPECT_NE(std::find(rows.begin(), rows.end(),
                        QStringList({"ACEITE 5W30 5 L", "10/03/2008", "2", "71,82"})),
              rows.end());

    const auto cells = readSheet(out);
    int dates = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto cell = [&](char column) {
            const auto c = cells.find(QString("%1%2").arg(column).arg(i + 1));
            return c == cells.end() ? SheetCell{"none", "", 0} : c->second;
        };
        EXPECT_EQ(cell('A').value, rows[i][0]) << "row " << i + 1;
        if (i == 0) continue;  // the headings
        if (!rows[i][3].isEmpty()) {
            EXPECT_EQ(cell('D').type, "n") << "row " << i + 1;
            EXPECT_EQ(Money::fromDouble(cell('D').value.toDouble()), csvAmount(rows[i][3]));
        }
        if (const QDate d = QDate::fromString(rows[i][1], "dd/MM/yyyy"); d.isValid()) {
            EXPECT_EQ(cell('B').type, "n") << "row " << i + 1;
            EXPECT_EQ(QDate(1899, 12, 30).addDays(cell('B').value.toInt()), d);
            ++dates;
        }
    }
    EXPECT_EQ(dates, 3);
    EXPECT_EQ(cells.count(QString("A%1").arg(rows.size() + 1)), 0u) << "no row beyond the CSV's";
}

// Fields as a Spanish spreadsheet reads them.
TEST(ListExport, CsvFieldsAreQuotedAndAmountsUseADecimalComma) {
    ListCell number;
    number.kind = ListCell::Kind::Number;
    number.number = 2.5;
    ListCell date;
    date.kind = ListCell::Kind::Date;
    date.date = QDate(2009, 1, 31);
    ListTable t;
    for (const char* name : {"A", "B", "C", "D", "E", "F", "G"})
        t.columns.push_back({name, torvane::reports::ValueFormat::Text, false});
    t.rows.push_back(
        {ListTable::RowKind::Detail,
         0,
         {ListCell::ofAmount(Money::fromCents(123450)), ListCell::ofAmount(Money::fromCents(-5)),
          ListCell::ofAmount(Money::fromUnits(995)), number, date,
          ListCell::ofText("TALLER; \"EL PIÑÓN\""), ListCell{}}});
    TempHome home(false);
    const QString path = home.file("campos.csv");
    QString reason;
    ASSERT_TRUE(torvane::reports::writeCsv(t, path, &reason)) << reason.toStdString();
    EXPECT_EQ(readAll(path),
              QByteArray("\xEF\xBB\xBF"
                         "A;B;C;D;E;F;G\r\n"
                         "1234,50;-0,05;0,10;2,5;31/01/2009;\"TALLER; \"\"EL PIÑÓN\"\"\";\r\n"));
}

// A listing longer than a page: headings and numbering on every page; the preview gets the
// first page alone, lays out the rest to search it and exports the whole listing.
TEST(ReportPreview, LongListingPagesSearchAndExport) {
    ExportFixture f;
    torvane::testing::TestServices services;
    torvane::testing::addCustomers(f.home.db(), 180, "X", 4, "CLIENTE", "PRUEBA");
    f.home.db().insert("INSERT INTO Clientes (Codigo, Nombre) VALUES ('ZZZ', 'AGUJA EN EL PAJAR')");
    torvane::reports::ReportEngine engine(
        f.home.db(), torvane::reports::reportFolders(f.home.session()), QDate(2008, 4, 15));
    const auto whole = engine.render("\\QARVOCLIENTES2.rpt", {});
    ASSERT_TRUE(whole.report);
    const RenderedReport& r = *whole.report;
    ASSERT_GE(r.pages.size(), 3u);
    EXPECT_TRUE(r.complete);
    // Every row once, whichever page it falls on, and the count at the end.
    const QString all = r.toText();
    for (int i = 1; i <= 180; ++i)
        EXPECT_EQ(all.count(QString("X%1 | CLIENTE %2 PRUEBA\n").arg(i, 4, 10, QChar('0')).arg(i)),
                  1)
            << i;
    EXPECT_EQ(all.count("Total: 184 clientes"), 1);

    // The preview the menu opens gets the first page alone.
    ASSERT_TRUE(torvane::Informes::VerListado(f.home.session(), services, "\\QARVOCLIENTES2.rpt"));
    EXPECT_TRUE(services.output.jobs().back().preview);
    EXPECT_FALSE(services.output.jobs().back().report.complete);
    torvane::reports::ReportSource source = engine.source("\\QARVOCLIENTES2.rpt", "");
    ASSERT_NE(source.first(nullptr), nullptr);
    torvane::reports::ReportPreview preview(source, services.scripted);
    EXPECT_EQ(preview.objectName(), "frmInfExternos");
    EXPECT_EQ(preview.pageCount(), 1);
    // A search lays out the rest and moves to the last page, where the text is.
    EXPECT_TRUE(preview.find("aguja"));
    EXPECT_EQ(preview.currentPage(), int(r.pages.size()));

    // The export takes every row, beyond the first page.
    EXPECT_NE(preview.findChild<QAction*>("Exportar"), nullptr);
    services.scripted.answerFile(f.home.file("clientes"));
    ASSERT_TRUE(preview.exportListing());
    bool last = false;
    for (const auto& [ref, c] : readSheet(f.home.file("clientes.xlsx")))
        last = last || c.value.contains("CLIENTE 180");
    EXPECT_TRUE(last);
    EXPECT_TRUE(services.scripted.allAnswersUsed());
    // A work-order document has no rows and columns to export.
    torvane::reports::ReportSource document =
        engine.source("\\qarvoodtcli.rpt", "{ODTS.NODT}='ODT08/03/00001'");
    ASSERT_NE(document.first(nullptr), nullptr);
    torvane::reports::ReportPreview documentPreview(document, services.scripted);
    EXPECT_EQ(documentPreview.findChild<QAction*>("Exportar"), nullptr);
}

}  // namespace
