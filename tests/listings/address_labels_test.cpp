// Address labels: where each line lands on the printed sheet (read back from the PDF),
// the sheet changes, and the lines of a customer's label.
#include <gtest/gtest.h>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "listings/address_labels.h"
#include "reports/labels_sheet.h"
#include "reports/report_fixture.h"
#include "reports/report_page.h"
#include "support/temp_home.h"

using torvane::reports::addressLabels;
using torvane::reports::RenderedReport;

namespace {

constexpr double kMmPerPoint = 25.4 / 72.0;

struct Word {
    int page = 0;  // 1-based
    QString text;
    double xMm = 0, yMm = 0;  // top-left of the word's box
};

// The words of a PDF with their boxes, as pdftotext -bbox reads them.
std::vector<Word> pdfWords(const RenderedReport& report) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("etiquetas.pdf"));
    QString reason;
    EXPECT_TRUE(torvane::reports::writePdf(report, pdf, &reason)) << reason.toStdString();
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000)) << "pdftotext (poppler-utils) did not run";
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    std::vector<Word> words;
    int page = 0;
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re"));
    for (const QString& line : out.split('\n')) {
        if (line.contains(QLatin1String("<page "))) ++page;
        const auto m = word.match(line);
        if (m.hasMatch())
            words.push_back({page, m.captured(3), m.captured(1).toDouble() * kMmPerPoint,
                             m.captured(2).toDouble() * kMmPerPoint});
    }
    return words;
}

const Word* find(const std::vector<Word>& words, const QString& text) {
    for (const Word& w : words)
        if (w.text == text) return &w;
    return nullptr;
}

// Label 16 has no post code.
QStringList labelFor(int n) {
    return torvane::listings::addressLines(
        QStringLiteral("NOMBRE%1").arg(n), QStringLiteral("CALLE%1").arg(n),
        n == 16 ? QString() : QStringLiteral("280%1").arg(n, 2, 10, QChar('0')),
        QStringLiteral("LOCALIDAD%1").arg(n), QStringLiteral("PROVINCIA%1").arg(n));
}

TEST(ListingsAddressLabels, EachLineLandsWhereTheSheetHasIt) {
    std::vector<QStringList> labels;
    for (int n = 1; n <= 16; ++n) labels.push_back(labelFor(n));
    const std::vector<Word> words = pdfWords(addressLabels(labels, 1));
    ASSERT_FALSE(words.empty());
    struct Case {
        int position;
        double xMm;
        double lineTopMm[4];
    };
    // Both columns of the first row and of the last, whose second line is 0,6 cm down.
    const Case cases[] = {
        {1, 10, {20, 25, 30, 35}},
        {2, 112, {20, 25, 30, 35}},
        {15, 10, {257, 263, 268, 273}},
        {16, 112, {257, 263, 268, 273}},
    };
    for (const Case& c : cases) {
        const QString n = QString::number(c.position);
        const QString third = c.position == 16
                                  ? "LOCALIDAD16"
                                  : QStringLiteral("280%1").arg(c.position, 2, 10, QChar('0'));
        const QString first[4] = {"NOMBRE" + n, "CALLE" + n, third, "PROVINCIA" + n};
        for (int line = 0; line < 4; ++line) {
            const Word* w = find(words, first[line]);
            ASSERT_NE(w, nullptr) << first[line].toStdString();
            EXPECT_EQ(w->page, 1);
            // An empty post code keeps its three spaces before the locality.
            const double indent = first[line] == "LOCALIDAD16" ? 3.5 : 0;
            EXPECT_NEAR(w->xMm, c.xMm + indent, indent ? 1 : 0.5) << first[line].toStdString();
            EXPECT_NEAR(w->yMm, c.lineTopMm[line], 0.5) << first[line].toStdString();
        }
    }
}

TEST(ListingsAddressLabels, TodosListsAndMarksPrintTheirCustomers) {
    torvane::testing::TempHome home;
    torvane::testing::fillReportFixture(home.db());
    using torvane::listings::labelCustomerSearch;
    struct Case {
        int option;
        const char* typed;
        std::vector<qint64> ids;  // in the order listed
    };
    // The fixture: JUAN GARCÍA (C0001, two cars), MARÍA LÓPEZ (C0002), AUTOS O'NEILL (C0003).
    const Case cases[] = {
        {0, "C000", {1, 2, 3}}, {1, "8765", {2}}, {2, "AU", {3}},  {3, "O'N", {3}},
        {4, "", {1, 2, 3}},     {4, "1234", {1}}, {4, "M-1", {2}}, {0, "X", {}},
    };
    for (const Case& c : cases) {
        const auto st = labelCustomerSearch(c.option, QString::fromUtf8(c.typed));
        std::vector<qint64> got;
        for (const auto& row : home.db().rows(st.sql, st.params))
            got.push_back(row.value("Id_Cli").toLongLong());
        EXPECT_EQ(got, c.ids) << c.option << " " << c.typed;
        const auto labels = torvane::listings::labelsOfListed(home.db(), st);
        EXPECT_EQ(labels.size(), c.ids.size()) << c.option << " " << c.typed;
    }
    // Marked customers print by code, with their whole address.
    const auto marked = torvane::listings::labelsOfMarked(home.db(), {3, 2});
    ASSERT_EQ(marked.size(), 2u);
    EXPECT_EQ(marked[0], QStringList({"MARÍA", "AV. LUNA, 22", "08001   BARCELONA", "BARCELONA"}));
    EXPECT_EQ(marked[1], QStringList({"AUTOS O'NEILL", "", "   TOLEDO", "TOLEDO"}));
    EXPECT_TRUE(torvane::listings::labelsOfMarked(home.db(), {}).empty());
}

}  // namespace
