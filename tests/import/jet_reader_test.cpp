#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <cmath>
#include <map>

#include "import/jet_reader.h"
#include "import_fixture.h"

namespace ti = torvane::import;
using torvane::Money;

namespace {

// A table as mdb-export writes it, with control characters between fields and rows and for
// null, so that no quoting has to be undone.
struct Csv {
    QStringList header;
    std::vector<std::vector<std::optional<QString>>> rows;
};

Csv mdbExport(const QString& file, const QString& table) {
    const QChar field(0x1f), row(0x1e), null(0x1d);
    QProcess p;
    p.start(QStringLiteral("mdb-export"), {"-Q", "-d", field, "-R", row, "-0", null, "-b", "hex",
                                           "-T", "%Y-%m-%d %H:%M:%S", file, table});
    p.waitForFinished(60000);
    Csv csv;
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString& line : out.split(row, Qt::SkipEmptyParts)) {
        if (csv.header.isEmpty()) {
            csv.header = line.split(field);
            continue;
        }
        auto& values = csv.rows.emplace_back();
        for (const QString& f : line.split(field))
            values.push_back(f == null ? std::nullopt : std::optional<QString>(f));
    }
    return csv;
}

// Whether one of our values is what the reference wrote for it.
bool sameValue(const ti::Value& ours, const std::optional<QString>& theirs, QString* why) {
    if (!theirs) {
        *why = QStringLiteral("null expected");
        return ti::isNull(ours);
    }
    if (const auto* m = std::get_if<Money>(&ours)) {
        const auto expected = Money::parse(QString(*theirs).replace('.', ','));
        return expected && *expected == *m;
    }
    if (const auto* d = std::get_if<double>(&ours)) {
        const double expected = theirs->toDouble();
        return std::fabs(expected - *d) <= 1e-12 * std::max(1.0, std::fabs(expected));
    }
    if (std::holds_alternative<QByteArray>(ours))
        return ti::valueText(ours).compare(*theirs, Qt::CaseInsensitive) == 0;
    return ti::valueText(ours) == *theirs;
}

class ImportJetReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sample_ = torvane::testing::jetSample();
        if (sample_.isEmpty()) GTEST_SKIP() << "the Jet sample database is not beside the checkout";
    }
    QString sample_;
};

// Every table read as the reference exports it, and known values, each of a kind the import
// must convert: the types, not just the text.
TEST_F(ImportJetReaderTest, EveryTableReadsTypedAsTheReferenceExportsIt) {
    const bool reference = !QStandardPaths::findExecutable(QStringLiteral("mdb-export")).isEmpty();
    ti::JetReader reader(sample_);
    EXPECT_EQ(reader.kind(), ti::JetKind::Jet3);
    const QStringList tables = reader.tables();
    EXPECT_EQ(tables.size(), 8);
    std::map<QString, std::vector<std::vector<ti::Value>>> rows;
    for (const QString& table : tables) {
        SCOPED_TRACE(table.toStdString());
        reader.readRows(table, [&](const std::vector<ti::Value>& r) { rows[table].push_back(r); });
        if (!reference) continue;
        const Csv expected = mdbExport(sample_, table);
        EXPECT_EQ(reader.columns(table), expected.header);
        ASSERT_EQ(rows[table].size(), expected.rows.size());
        int mismatches = 0;
        for (std::size_t n = 0; n < expected.rows.size(); ++n) {
            const auto& row = rows[table][n];
            const auto& want = expected.rows[n];
            ASSERT_EQ(row.size(), want.size());
            for (std::size_t c = 0; c < row.size(); ++c) {
                QString why;
                if (!sameValue(row[c], want[c], &why) && ++mismatches <= 5)
                    ADD_FAILURE()
                        << "row " << n << " column " << c << ": ours "
                        << ti::valueText(row[c]).left(80).toStdString() << ", theirs "
                        << want[c].value_or(QStringLiteral("<null>")).left(80).toStdString() << " "
                        << why.toStdString();
            }
        }
    }
    EXPECT_EQ(rows["Orders"].size(), 830u);
    EXPECT_EQ(rows["Order Details"].size(), 2155u);

    const auto column = [&](const char* table, const char* name) {
        return int(reader.columns(QString::fromLatin1(table)).indexOf(QString::fromLatin1(name)));
    };
    // Currency with its four decimals; a float stays a number.
    const auto& line = rows["Order Details"].front();
    EXPECT_EQ(std::get<Money>(line[column("Order Details", "UnitPrice")]),
              Money::fromUnits(140000));
    EXPECT_TRUE(std::holds_alternative<double>(line[column("Order Details", "Discount")]));
    // A birth date before 1970.
    const auto& davolio = rows["Employees"].front();
    EXPECT_EQ(std::get<QDateTime>(davolio[column("Employees", "BirthDate")]).date(),
              QDate(1948, 12, 8));
    // A memo longer than a text column, with its line breaks.
    qsizetype longest = 0;
    for (const auto& e : rows["Employees"])
        longest = std::max(longest, std::get<QString>(e[column("Employees", "Notes")]).size());
    EXPECT_EQ(longest, 448);
    EXPECT_TRUE(std::get<QString>(davolio[column("Employees", "Address")]).contains('\n'));
    // Null is not an empty text; accents come out in UTF-8.
    const auto& alfki = rows["Customers"].front();
    EXPECT_TRUE(ti::isNull(alfki[column("Customers", "Region")]));
    const auto& anatr = rows["Customers"][1];
    EXPECT_EQ(std::get<QString>(anatr[column("Customers", "City")]), QStringLiteral("México D.F."));
    // Booleans.
    int discontinued = 0;
    for (const auto& p : rows["Products"])
        discontinued += std::get<bool>(p[column("Products", "Discontinued")]) ? 1 : 0;
    EXPECT_GT(discontinued, 0);
    EXPECT_LT(discontinued, int(rows["Products"].size()));
    if (!reference) GTEST_SKIP() << "mdb-export (mdbtools) is not installed: values not compared";
}

}  // namespace
