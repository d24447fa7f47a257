#include <gtest/gtest.h>
#include <QFile>
#include <tuple>

#include "core/numbering.h"
#include "core/session.h"
#include "core/settings_file.h"
#include "support/file_bytes.h"
#include "support/legacy_databases.h"
#include "support/scripted_dialogs.h"
#include "support/temp_home.h"

using namespace torvane;
using torvane::testing::fileBytes;
using torvane::testing::ScriptedDialogs;
using torvane::testing::TempHome;
using torvane::testing::writeBytes;

namespace {

const QDate k5March2008(2008, 3, 5);

QString u(const char* s) {
    return QString::fromUtf8(s);
}

// A program folder on 5 March 2008 with the default series in force.
struct SeriesHome : TempHome {
    SeriesHome() {
        session().setSeries(defaultSeries());
        session().setToday(k5March2008);
    }
};

void insertNumbers(Database& db, const char* table, const char* column, const QStringList& values) {
    Database::Transaction t(db);
    const QString sql = QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES (?)")
                            .arg(QString::fromLatin1(table), QString::fromLatin1(column));
    for (const QString& v : values) db.exec(sql, {v});
    t.commit();
}

const QByteArray kDefaultFile =
    "\"AR&A\xF1o&/&Mes&/&\",\"AL&A\xF1o&/&Mes&/&\",\"A&A\xF1o&/&Mes&/&\",\"EN&A\xF1o&/&Mes&/&\","
    "\"FV&A\xF1o&/&Mes&/&\",\"FL/&\",\"FR&A\xF1o&/&Mes&/&\",\"ODT/&\",\"A\xF1o&/&Mes&/&\","
    "\"PG&Mes&/&\"\r\n";

// The series as quoted fields of conf.fpl.
QList<QByteArray> seriesFields(const QStringList& series) {
    QList<QByteArray> fields;
    for (const QString& s : series) fields << '"' + encodeWindows1252(s) + '"';
    return fields;
}

// ---------------------------------------------------------------------------------------

TEST(ExpandSeries, TokensLiteralsAndTrailingText) {
    const std::tuple<const char*, QDate, const char*> cases[] = {
        {"A&Dia&-&", k5March2008, "A05-"},
        {"ODT/", k5March2008, ""},                         // no closing "&": the literal is dropped
        {"X&Año", k5March2008, "X"},                       // text after the last "&" is dropped
        {"año&/&MES&/&dia&", k5March2008, "año/MES/dia"},  // tokens are case-sensitive
        {"Año&Mes&Dia&", QDate(2000, 12, 31), "001231"},
    };
    for (const auto& [series, date, prefix] : cases)
        EXPECT_EQ(ExpandSeries(u(series), date), u(prefix)) << series;
}

// The increment is the receipts' case below.
TEST(NextNumber, HeadCounterAndPadding) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"FR08/03/00099", "FR08/03/", "FR08/03/00100"},
        {"AR08/02/00017", "AR08/03/", "AR08/03/00001"},  // new month or year starts again
        {"ODT/0007", "ODT/", "ODT/00008"},               // a 4-digit number continues with 5
        {"00041", "", "00042"},                          // empty series: the whole text is the tail
        {"ODT0800003", "ODT08", "ODT0800001"},           // prefix ending in digits: always 1
        {"fr08/03/00005", "FR08/03/", "FR08/03/00001"},  // heads compare exactly
        {"X/99999999999999999999", "X/", "X/100000000000000000000"},
    };
    for (const auto& [last, prefix, next] : cases)
        EXPECT_EQ(NextNumber(u(last), u(prefix), 0), u(next)) << last << " " << prefix;
}

// ---------------------------------------------------------------------------------------
// Consumers on a real database

using C = NumberConsumer;

TEST(Consumers, EachConsumerContinuesFromItsRow) {
    struct Case {
        NumberConsumer consumer;
        const char* table;
        const char* column;
        const char* stored;  // space-separated, in stored order
        const char* expected;
        int increment = 0;
    };
    const Case cases[] = {
        // greatest by ascending order, not the latest stored
        {C::CounterSaleDeliveryNote, "Albaranes", "Id_Alb",
         "AR08/03/00007 AR08/03/00002 AR08/02/00050", "AR08/03/00008"},
        // latest stored of the prefix, not the greatest
        {C::WorkOrderDeliveryNote, "ODTS", "NAlbaran", "AL08/03/00007 AL08/03/00002 No",
         "AL08/03/00003"},
        // the last row of the table carries an older prefix: back to 1
        {C::PurchaseEntry, "Entradas", "NEntrada", "EN08/03/00005 EN08/02/00009", "EN08/03/00001"},
        {C::CounterSaleInvoice, "Albaranes", "NFactura", "FV08/03/00004 FV08/03/00003 No",
         "FV08/03/00004"},
        {C::SalesListInvoiceProposal, "Albaranes", "NFactura", "FV08/03/00004 FV08/03/00003 No",
         "FV08/03/00005"},
        // both widths side by side: "ODT/0009" sorts after "ODT/00008"
        {C::WorkOrderFromVehicleSearch, "ODTS", "NODT", "ODT/0007 ODT/00008 ODT/0009", "ODT/00010"},
        // rows of other periods only: from 1, and the increment is passed on
        {C::Receipt, "Recibos", "NRecibo", "08/02/00010 07/03/00004", "08/03/00003", 2},
    };
    for (const auto& c : cases) {
        SeriesHome home;
        insertNumbers(home.db(), c.table, c.column, u(c.stored).split(' '));
        EXPECT_EQ(nextDocumentNumber(home.session(), c.consumer, c.increment), u(c.expected))
            << c.table << "." << c.column << " " << c.stored;
    }
    // A quote in a prefix is just a character.
    SeriesHome home;
    EXPECT_EQ(nextNumberIn(home.db(), C::WorkOrderInvoice, u("O'R/")), u("O'R/00001"));
}

// The message's text is the tow report screen's test.
TEST(Consumers, MissingSeriesFileGivesOneWithMessage) {
    SeriesHome home;
    insertNumbers(home.db(), "ODTS", "NODT", {"ODT/00004"});
    insertNumbers(home.db(), "Recibos", "NRecibo", {"08/03/00002"});
    ASSERT_FALSE(QFile::exists(home.file("conf.fpl")));
    ScriptedDialogs dialogs;
    const auto search = NumberConsumer::WorkOrderFromVehicleSearch;
    EXPECT_EQ(nextDocumentNumber(home.session(), dialogs, search), u("1"));
    EXPECT_EQ(dialogs.entries().size(), 1u);
    // Other consumers do not look for the file.
    EXPECT_EQ(nextDocumentNumber(home.session(), dialogs, NumberConsumer::Receipt),
              u("08/03/00003"));
    ASSERT_TRUE(SaveSeries(home.session(), defaultSeries()));
    EXPECT_EQ(nextDocumentNumber(home.session(), dialogs, search), u("ODT/00005"));
    EXPECT_EQ(dialogs.entries().size(), 1u);
}

// ---------------------------------------------------------------------------------------
// Probe loops

TEST(Probe, WorkOrderFourDigitsFirstFree) {
    const std::tuple<const char*, QStringList, const char*> cases[] = {
        {"ODT/", {}, "ODT/0001"},
        // 5-digit numbers from the vehicle search do not block the 4-digit form
        {"ODT/", {"ODT/0001", "ODT/0002", "ODT/00003"}, "ODT/0003"},
        {"ODT/", {"odt/0001"}, "ODT/0002"},      // the probe ignores case like the column
        {"OD_/", {"ODX/0001"}, "OD_/0001"},      // "=" probe: "_" is no wildcard
        {"", {"0001", "0002", "0003"}, "0006"},  // no prefix: counters 1, 3, 6, ...
        {"PEÑA/", {"PEñA/0001"}, "PEÑA/0001"},   // ASCII letters only are case-blind
    };
    for (const auto& [prefix, stored, expected] : cases) {
        TempHome home;
        insertNumbers(home.db(), "ODTS", "NODT", stored);
        EXPECT_EQ(probeWorkOrderNumber(home.db(), u(prefix)), u(expected)) << prefix;
    }
}

// The article codes' counter is the articles' own test; it shares the tow counter's probe.
TEST(Probe, SessionCountersUseTheSeriesAndPassFourDigits) {
    SeriesHome home;
    QStringList stored;
    for (int i = 1; i <= 9999; ++i)
        stored << QStringLiteral("ODT/%1").arg(i, 4, 10, QLatin1Char('0'));
    stored << "ODT/00001"
           << "ODT/00002";  // vehicle-search numbers beside them
    insertNumbers(home.db(), "ODTS", "NODT", stored);
    EXPECT_EQ(nextWorkOrderNumberByProbe(home.session()), u("ODT/10000"));
    insertNumbers(home.db(), "ODTS", "NODT", {"ODT/10000"});
    EXPECT_EQ(nextWorkOrderNumberByProbe(home.session()), u("ODT/10001"));

    // The tow counter grows 1, 3, 6...; numbers typed by hand between its counters do not
    // disturb them, and a new month starts again.
    for (const char* expected : {"PG03/0001", "PG03/0003", "PG03/0006", "PG03/0010"}) {
        const QString p = nextTowReportNumberByProbe(home.session());
        EXPECT_EQ(p, u(expected));
        insertNumbers(home.db(), "Partes", "NParte", {p});
    }
    insertNumbers(home.db(), "Partes", "NParte", {u("PG03/0002"), u("PG03/0011")});
    EXPECT_EQ(nextTowReportNumberByProbe(home.session()), u("PG03/0015"));
    home.session().setToday(QDate(2008, 4, 1));
    EXPECT_EQ(nextTowReportNumberByProbe(home.session()), u("PG04/0001"));
}

TEST(ProbeSummary, AnswersFromTheSummaryWhenItCanTell) {
    TempHome home;
    auto& db = home.db();
    insertNumbers(db, "ODTS", "NODT", {"ODT/0001", "ODT/0002", "odt/0003"});
    EXPECT_EQ(db.rows("SELECT Cabeza, Cuantos, Minimo, Maximo FROM ContadoresODT").size(), 1);
    EXPECT_EQ(probeWorkOrderNumber(db, "ODT/"), u("ODT/0004"));
    // Proof that the row is what answers: a row claiming 1..50 gives 51 without a read.
    db.exec("UPDATE ContadoresODT SET Cuantos = 50, Maximo = 50");
    EXPECT_EQ(probeWorkOrderNumber(db, "ODT/"), u("ODT/0051"));
    db.exec("UPDATE ContadoresODT SET Minimo = 7");
    EXPECT_EQ(probeWorkOrderNumber(db, "ODT/"), u("ODT/0001"));
    // A row that cannot tell is rewritten from the stored numbers.
    db.exec("UPDATE ContadoresODT SET Cuantos = 2, Minimo = NULL");
    EXPECT_EQ(probeWorkOrderNumber(db, "ODT/"), u("ODT/0004"));
    EXPECT_EQ(
        db.scalar("SELECT Cuantos || ',' || Minimo || ',' || Maximo FROM ContadoresODT").toString(),
        u("3,1,3"));
    // Prefixes that begin or end with a digit never use it.
    insertNumbers(db, "ODTS", "NODT", {"08/0001"});
    EXPECT_EQ(probeWorkOrderNumber(db, "08/"), u("08/0010"));
    insertNumbers(db, "ODTS", "NODT", {"ODT10001", "ODT10002"});
    EXPECT_EQ(probeWorkOrderNumber(db, "ODT1"), u("ODT10003"));
    // Deletes and updates keep the row right, or a full 1..3 would answer 4.
    db.exec("DELETE FROM ODTS WHERE NODT = 'ODT/0002'");
    EXPECT_EQ(probeWorkOrderNumber(db, "ODT/"), u("ODT/0002"));
    insertNumbers(db, "ODTS", "NODT", {"ODT/0002"});
    db.exec("UPDATE ODTS SET NODT = 'XX/0001' WHERE NODT = 'ODT/0001'");
    EXPECT_EQ(probeWorkOrderNumber(db, "ODT/"), u("ODT/0001"));
}

TEST(ProbeSummary, MigrationSummarisesAnOldFile) {
    TempHome home(false);
    const QString path = home.file("antigua.erm");
    QString reason;
    ASSERT_TRUE(Database::createFromSchema(path, &reason)) << reason.toStdString();
    auto definitions = [](Database& db) {
        QStringList out;
        for (const Row& r : db.rows("SELECT type, name, sql FROM sqlite_master WHERE name NOT LIKE "
                                    "'sqlite%' AND name LIKE "
                                    "'%ContadoresODT%' ORDER BY name"))
            out << r.value("type").toString() + "|" + r.value("name").toString() + "|" +
                       r.value("sql").toString();
        return out;
    };
    {
        Database db;
        ASSERT_TRUE(db.open(path, &reason));
        const QStringList fresh = definitions(db);
        EXPECT_EQ(fresh.size(), 5);  // the table and its four triggers
        // The file as version 1 left it.
        for (const QString& d : fresh)
            db.exec(QStringLiteral("DROP %1 \"%2\"")
                        .arg(d.section('|', 0, 0).toUpper(), d.section('|', 1, 1)));
        db.exec("PRAGMA user_version=1");
        insertNumbers(db, "ODTS", "NODT",
                      {"ODT/0001", "odt/0002", "ODT/0002", "ODT/0003", "ODT/00004", "ODT/0000",
                       "ODT/10000", "FR/0005", "FR/0007", "0008", "ODT/0005x"});
        db.applyMigrations();
        EXPECT_EQ(db.userVersion(), Database::kSchemaVersion);
        EXPECT_EQ(definitions(db), fresh);
    }
    Database db;
    ASSERT_TRUE(db.open(path, &reason));
    // Every head is kept, the empty one too, though only some prefixes read them.
    EXPECT_EQ(db.scalar("SELECT group_concat(Cabeza || ' ' || Cuantos || ' ' || Minimo || '-' || "
                        "Maximo, ',') FROM (SELECT * FROM ContadoresODT ORDER BY Cabeza)")
                  .toString(),
              u(" 1 8-8,FR/ 2 5-7,ODT/ 4 1-10000"));
    EXPECT_EQ(probeWorkOrderNumber(db, "ODT/"), u("ODT/0004"));
}

// ---------------------------------------------------------------------------------------
// conf.fpl

// The series in force after loading and saving, and another session reading them, are the
// series screen's test; here the bytes the older program reads.
TEST(SeriesFile, MissingFileWritesDefaultsSilentlyAndSavingKeepsAnoAsOneByte) {
    TempHome home(false);
    ScriptedDialogs dialogs;
    EXPECT_TRUE(LoadSeries(home.session(), dialogs));
    EXPECT_EQ(fileBytes(home.file("conf.fpl")), kDefaultFile);
    EXPECT_TRUE(dialogs.entries().empty());
    QStringList custom = defaultSeries();
    custom[static_cast<int>(Series::ODT)] = u(" OT&Año&-&");  // the space is kept
    custom[static_cast<int>(Series::FL)] = u("");
    ASSERT_TRUE(SaveSeries(home.session(), custom));
    EXPECT_EQ(fileBytes(home.file("conf.fpl")), QByteArray(kDefaultFile)
                                                    .replace("\"ODT/&\"", "\" OT&A\xF1o&-&\"")
                                                    .replace("\"FL/&\"", "\"\""));
}

// A conf.fpl, the series it gives, and the defaults its warning names (none: no warning).
struct SeriesCase {
    std::string what;
    QByteArray content;
    QStringList expected;
    QStringList named;
};

QString named(int i) {
    const auto s = static_cast<Series>(i);
    return seriesName(s) + u(" \"") + defaultSeriesText(s) + u("\"");
}

// A short file holding "R1&", "R2&"...: it keeps what it holds; the rest are defaults.
SeriesCase shortFile(int read, const char* end) {
    SeriesCase c{std::to_string(read) + " fields" + end, {}, defaultSeries(), {}};
    QList<QByteArray> fields;
    for (int i = 0; i < kSeriesCount; ++i) {
        if (i < read) {
            c.expected[i] = QStringLiteral("R%1&").arg(i + 1);
            fields << '"' + c.expected[i].toLatin1() + '"';
        } else {
            c.named << named(i);
        }
    }
    c.content = fields.join(',') + end;
    return c;
}

// The default file with one series too long or with control characters: its default is
// used.
SeriesCase badSeries(const char* what, int index, const QByteArray& bad) {
    QList<QByteArray> fields = seriesFields(defaultSeries());
    fields[index] = '"' + bad + '"';
    return {what, fields.join(',') + "\r\n", defaultSeries(), {named(index)}};
}

TEST(SeriesFile, EachFileGivesItsSeriesAndADamagedOneWarnsOnce) {
    // Reading UTF-8 and spaces in a field are the settings files' test.
    QStringList second = defaultSeries();
    second[0] = u("X&");
    const SeriesCase cases[] = {
        // two complete groups: the second is in force
        {"two lines", kDefaultFile + seriesFields(second).join(',') + "\r\n", second, {}},
        // a trailing incomplete group is ignored
        {"incomplete", kDefaultFile + "\"X&\",\"Y&\"\r\n", defaultSeries(), {}},
        shortFile(3, "\r\n"),
        badSeries("101 characters", 1, QByteArray(101, 'X')),
        badSeries("a tab", 0, "AR\t&"),
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempHome home(false);
        writeBytes(home.file("conf.fpl"), c.content);
        ScriptedDialogs dialogs;
        EXPECT_EQ(LoadSeries(home.session(), dialogs), c.named.isEmpty());
        EXPECT_EQ(home.session().series(), c.expected);
        EXPECT_EQ(fileBytes(home.file("conf.fpl")), c.content);  // reading never rewrites
        if (c.named.isEmpty()) {
            EXPECT_TRUE(dialogs.entries().empty());
            continue;
        }
        ASSERT_EQ(dialogs.entries().size(), 1u);
        EXPECT_EQ(dialogs.entries()[0].icon, Dialogs::Icon::Exclamation);
        EXPECT_EQ(dialogs.entries()[0].text, damagedSeriesFileMessage(c.named));
    }
    EXPECT_EQ(named(9), u("PG \"PG&Mes&/&\""));  // as the warning names a default
}

}  // namespace
