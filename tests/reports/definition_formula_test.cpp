// Report definitions and selection formulas as they are read: values on paper, optional
// parts, file names and lookup; every formula shape the screens build, and bad input.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <set>

#include "reports/report_definition.h"
#include "reports/selection_formula.h"
#include "support/temp_home.h"

using namespace torvane::reports;
using torvane::Database;
using torvane::testing::TempHome;

namespace {

TEST(ReportDefinition, ValuesAreFormattedForPaper) {
    const struct {
        QVariant value;
        ValueFormat format;
        QString shown;
    } cases[] = {
        {1234.5, ValueFormat::Money, "1.234,50"},
        {-0.004, ValueFormat::Money, "0,00"},
        {QVariant(), ValueFormat::Money, ""},
        {0.5, ValueFormat::Number, "0,5"},
        {1.256, ValueFormat::Number, "1,26"},
        {123456.0, ValueFormat::Integer, "123.456"},
        {"2008-03-11", ValueFormat::Date, "11/03/2008"},
        {"no es fecha", ValueFormat::Date, "no es fecha"},
        {"TEXTO", ValueFormat::Text, "TEXTO"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatValue(c.value, c.format), c.shown) << c.shown.toStdString();
}

QString render(const QString& text, const QVariantList& values) {
    QString error;
    const auto t = Template::parse(text, &error);
    EXPECT_TRUE(t) << error.toStdString();
    if (!t) return "<error>";
    return t->render([&](int i) { return values.value(i); }, ValueFormat::Text);
}

TEST(ReportDefinition, EmptyFieldsLeaveOutTheirPartOrLine) {
    EXPECT_EQ(render("NIF: {Clientes.NIF}", {""}), "");
    EXPECT_EQ(render("NIF: {Clientes.NIF}", {"12345678Z"}), "NIF: 12345678Z");
    EXPECT_EQ(render("[Tel.: {E.Telefono}][   Fax: {E.Fax}]", {"910", ""}), "Tel.: 910");
    EXPECT_EQ(render("[{E.CP} ]{E.Localidad}[ ({E.Provincia})]", {"28001", "MADRID", ""}),
              "28001 MADRID");
    EXPECT_EQ(render("Texto fijo", {}), "Texto fijo");
    EXPECT_EQ(render("Total {F.Importe:money}", {1234.5}), "Total 1.234,50");
}

TEST(ReportDefinition, BadTemplatesAreRefused) {
    for (const char* bad : {"{Clientes.Nombre", "Clientes.Nombre}", "[a [b]]", "[abierto",
                            "cerrado]", "{Nombre}", "{Clientes.Nombre:moneda}", "{@}"}) {
        QString error;
        EXPECT_FALSE(Template::parse(bad, &error)) << bad;
        EXPECT_FALSE(error.isEmpty()) << bad;
    }
}

TEST(ReportDefinition, DamagedDefinitionsSayWhere) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"from A\ncolumn \"X\" 1 = {A.B}\n", "falta la línea «report list»"},
        {"report list\ncolumn \"X\" 1 = {A.B}\n", "falta la línea «from»"},
        {"report lines\nfrom A\ncolumn \"X\" 1 = {A.B}\n", "una sección necesita la línea «link»"},
        {"report list\nfrom A\ncolumn \"X\" 1 = {A.B}\nvat = 16\n",
         "línea 4: «vat» no vale en un informe «report list»"},
        {"report list\nfrom A\ncolumn \"X\" 0 = {A.B}\n", "línea 3: ancho de columna no válido"},
        {"report list\nfrom A\ncolumn \"X\" 5 total = {A.B} y {A.C}\n",
         "línea 3: una columna con total debe tener un solo campo"},
        {"report list\nfrom A\ncolumn \"X\" 5 negrita = {A.B}\n",
         "línea 3: palabra desconocida «negrita»"},
        {"report list\nfrom A\ncolumn \"X 5 = {A.B}\n", "línea 3: falta cerrar las comillas"},
        {"report list\nfrom\n", "línea 2: «from» sin contenido"},
        {"report list\nfrom A\nformula = A.B\n", "línea 3: se escribe: formula NOMBRE"},
        {"report document\nfrom A\nsection = {A.B}\n", "línea 3: se escribe: section"},
        {"report document\nfrom A\ncustomer {A.B}\n", "línea 3: falta «=» y el contenido"},
        // Computed values build only on what is defined above them.
        {"report list\nfrom A\nsum X = {@Y} + {A.B}\n",
         "línea 3: «@Y» no está definido antes de «X»"},
        {"report list\nfrom A\nsum X = {A.B} / {A.C}\n", "línea 3: se escribe: sum NOMBRE"},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(ReportDefinition::parse(c.text, "X.rpt", &error)) << c.text;
        EXPECT_TRUE(error.contains(c.error)) << c.text << " -> " << error.toStdString();
    }
}

TEST(ReportDefinition, FileNamesAreFoundWithoutRegardToCase) {
    EXPECT_EQ(reportFileName("\\QARVOLFAC.rpt"), "QARVOLFAC.rpt");
    EXPECT_EQ(reportFileName("C:\\Taller\\QARVOLFAC2.rpt"), "QARVOLFAC2.rpt");
    EXPECT_EQ(reportFileName("/opt/torvane\\qarvolfac2.rpt"), "qarvolfac2.rpt");

    QTemporaryDir first, second;
    QFile a(QDir(second.path()).filePath("QARVOLFAC2.rpt"));
    ASSERT_TRUE(a.open(QIODevice::WriteOnly));
    a.close();
    const QStringList folders{first.path(), second.path()};
    EXPECT_EQ(findReportFile("\\qarvolfac2.rpt", folders), a.fileName());
    EXPECT_EQ(findReportFile("QARVOLFAC2.RPT", folders), a.fileName());
    EXPECT_EQ(findReportFile("\\QARVOLFAC.rpt", folders), "");
    EXPECT_EQ(findReportFile("\\", folders), "");
    // A copy in an earlier folder (the program folder) wins.
    QFile b(QDir(first.path()).filePath("qarvolfac2.rpt"));
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.close();
    EXPECT_EQ(findReportFile("\\QARVOLFAC2.rpt", folders), b.fileName());
}

// Accepts every table of the database and one formula, like a report that reads them all.
class AllTables : public FieldResolver {
  public:
    explicit AllTables(Database& db) : db_(db) {}
    std::optional<QString> fieldSql(const QString& table, const QString& column,
                                    QString* error) const override {
        const QVariant t = db_.scalar(
            "SELECT name FROM sqlite_master WHERE type IN ('table','view') AND name=? COLLATE "
            "NOCASE",
            {table});
        if (!t.isValid()) {
            *error = QStringLiteral("la tabla «%1» no forma parte de este informe").arg(table);
            return std::nullopt;
        }
        for (const QString& c : db_.columnNames(t.toString()))
            if (c.compare(column, Qt::CaseInsensitive) == 0) {
                used.insert(t.toString());
                return QStringLiteral("\"%1\".\"%2\"").arg(t.toString(), c);
            }
        *error = QStringLiteral("el campo «%1.%2» no existe").arg(table, column);
        return std::nullopt;
    }
    std::optional<QString> formulaSql(const QString& name, QString* error) const override {
        *error = QStringLiteral("la fórmula «@%1» no está definida en este informe").arg(name);
        return std::nullopt;
    }
    mutable std::set<QString> used;

  private:
    Database& db_;
};

// The date range exactly as the date-range screen assembles it from two dd/mm/yyyy texts.
QString dateRange(const QString& prefix, const QString& from, const QString& to) {
    return prefix + from.right(4) + "," + from.mid(3, 2) + "," + from.left(2) +
           ",00, 00, 00) to DateTime (" + to.right(4) + "," + to.mid(3, 2) + "," + to.left(2) +
           " ,00, 00, 00)";
}

struct Compiled {
    bool ok = false;
    QString error;
    torvane::reports::SqlCondition sql;
};

Compiled compile(const QString& formula, const AllTables& fields) {
    Compiled out;
    const auto f = SelectionFormula::parse(formula, &out.error);
    if (!f) return out;
    const auto c = f->toSql(fields, &out.error);
    if (!c) return out;
    out.ok = true;
    out.sql = *c;
    return out;
}

TEST(SelectionFormula, ConditionsSelectTheRightRows) {
    TempHome home;
    Database& db = home.db();
    const std::pair<const char*, int> invoices[] = {{"2008-02-29", 7}, {"2008-03-01", 7},
                                                    {"2008-03-15", 8}, {"2008-03-31", 7},
                                                    {"2008-04-01", 7}, {"2008-03-31T18:30:00", 7}};
    for (const auto& [date, cli] : invoices)
        db.insert("INSERT INTO Facturas (Id_Fac, Fecha, Id_Cli) VALUES (?,?,?)",
                  {QString("FV-%1").arg(date), date, cli});
    for (const char* n : {"ODT08/03/00012", "ODT08/03/00013", "ODT08/03/00014", "TEMP1"})
        db.insert("INSERT INTO ODTS (NODT) VALUES (?)", {n});
    // The values of `column` in `table` where the formula holds, in order.
    const auto selected = [&](const QString& formula, const QString& column, const char* table) {
        AllTables fields(db);
        const Compiled c = compile(formula, fields);
        EXPECT_TRUE(c.ok) << formula.toStdString() << " -> " << c.error.toStdString();
        for (const char* value : {"2008", "ODT08", "TEMP"})
            EXPECT_FALSE(c.sql.sql.contains(value))
                << "values must be bound: " << c.sql.sql.toStdString();
        return db
            .scalar("SELECT group_concat(v) FROM (SELECT " + column + " AS v FROM " + table +
                        " WHERE " + c.sql.sql + " ORDER BY v)",
                    c.sql.params)
            .toString();
    };
    // The customer's invoices of March, as the date-range screen writes them: both whole days.
    EXPECT_EQ(selected(dateRange("{Facturas.Id_Cli} =7 and {Facturas.Fecha} in DateTime (",
                                 "01/03/2008", "31/03/2008"),
                       "Fecha", "Facturas"),
              "2008-03-01,2008-03-31,2008-03-31T18:30:00");
    // A list matches any of its texts, with wildcards and without regard to case.
    const std::pair<const char*, const char*> cases[] = {
        {"{ODTS.NODT} like [\"ODT08/03/00012\",\"ODT08/03/00014\"]",
         "ODT08/03/00012,ODT08/03/00014"},
        {"{ODTS.NODT} like [\"odt08/03/00013\"]", "ODT08/03/00013"},
        {"{ODTS.NODT} like [\"TEMP%\"]", "TEMP1"},
        {"{ODTS.NODT} like \"%13\"", "ODT08/03/00013"},
        {"not {ODTS.NODT} like [\"ODT%\"]", "TEMP1"},
        {"{ODTS.NODT} in [\"TEMP1\",\"X\"]", "TEMP1"},
        {"({ODTS.NODT} = 'TEMP1' or {ODTS.NODT}='ODT08/03/00012') and not ({ODTS.Id_ODT} > 3)",
         "ODT08/03/00012"},
    };
    for (const auto& [formula, expected] : cases)
        EXPECT_EQ(selected(formula, "NODT", "ODTS"), expected) << formula;
}

TEST(SelectionFormula, QuotesInsideTextAreKept) {
    TempHome home;
    const struct {
        QString formula;
        QString value;
    } cases[] = {
        {"{Vehiculos.Marca}='O'NEILL'", "O'NEILL"},
        {"{Vehiculos.Marca}='IT''S'", "IT'S"},
        {"{Vehiculos.Marca}=''", ""},
        {"{Vehiculos.Marca}='a \"b\" c'", "a \"b\" c"},
        {"{Vehiculos.Marca}=\"DOBLE\"", "DOBLE"},
    };
    for (const auto& tc : cases) {
        AllTables fields(home.db());
        const Compiled c = compile(tc.formula, fields);
        ASSERT_TRUE(c.ok) << tc.formula.toStdString() << " -> " << c.error.toStdString();
        ASSERT_FALSE(c.sql.params.isEmpty());
        EXPECT_EQ(c.sql.params.first().toString(), tc.value) << tc.formula.toStdString();
    }
}

TEST(SelectionFormula, BadFormulasAreRefusedWithTheReason) {
    TempHome home;
    const struct {
        QString formula;
        QString reason;
    } cases[] = {
        {"{ODTS.NODT ='ODT1'", "falta cerrar la llave"},
        {"{ODTS.NODT} = ", "la fórmula termina antes de tiempo"},
        {"{ODTS.NODT} like [", "se esperaba un texto entre comillas"},
        {"{ODTS.NODT} like [\"A\",\"B\"", "falta cerrar la lista"},
        {"({ODTS.NODT}='X'", "falta cerrar un paréntesis"},
        {"{ODTS.NODT}='X')", "sobra texto a partir de la posición 16"},
        {"{Facturas.Fecha} in DateTime (2008,02,31,00, 00, 00) to DateTime (2008,03,31 ,00, 00, "
         "00)",
         "fecha no válida: 31/2/2008"},
        {dateRange("{Facturas.Fecha} in DateTime (", "1/3/2008", "31/03/2008"),
         "carácter no válido «/» en la posición"},
        {"{Facturas.Fecha} in DateTime (2008,03,01,00, 00, 00)", "se esperaba «to»"},
        {"{Albaranes.Id_Alb} lik\"]", "falta cerrar el texto que empieza en la posición 23"},
        {"'abc'", "se esperaba una comparación"},
        {"7 like [\"A\"]", "«like» necesita un campo"},
        {"{ODTS}=1", "campo no válido «{ODTS}»"},
        {"{@}=1", "nombre de fórmula no válido"},
        {"{Clientes.Id_Cli}=99999999999999999999999", "número demasiado grande"},
        {QString(200, '(') + "{ODTS.NODT}='X'" + QString(200, ')'), "demasiados niveles"},
        // Well formed, but naming what the report does not have.
        {"{@NOEXISTE}>0", "la fórmula «@NOEXISTE» no está definida en este informe"},
    };
    for (const auto& tc : cases) {
        AllTables fields(home.db());
        const Compiled c = compile(tc.formula, fields);
        EXPECT_FALSE(c.ok) << tc.formula.toStdString();
        EXPECT_TRUE(c.error.contains(tc.reason))
            << tc.formula.toStdString() << " -> " << c.error.toStdString();
    }
}

}  // namespace
