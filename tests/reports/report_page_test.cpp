// Painting report pages: the cells of a row go to the PDF as one text object, and every
// glyph lands where it would if each cell were drawn on its own.
#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "reports/report_page.h"

using torvane::reports::PageItem;
using torvane::reports::RenderedReport;

namespace {

PageItem text(double x, double y, double w, const QString& t, Qt::Alignment align,
              bool bold = false) {
    PageItem it;
    it.rect = QRectF(x, y, w, 12);
    it.text = t;
    it.align = align;
    it.bold = bold;
    return it;
}

// A bold heading row, a rule, two rows of four cells (left, right, centred, left) and a
// cell wrapped onto a second line.
RenderedReport sample() {
    RenderedReport r;
    r.title = QStringLiteral("Prueba");
    r.pages.emplace_back();
    auto& items = r.pages.back().items;
    items.push_back(text(40, 60, 100, QStringLiteral("Codigo"), Qt::AlignLeft, true));
    items.push_back(text(150, 60, 80, QStringLiteral("Importe"), Qt::AlignRight, true));
    PageItem rule;
    rule.kind = PageItem::Kind::Line;
    rule.rect = QRectF(QPointF(40, 74), QPointF(500, 74));
    items.push_back(rule);
    for (int row = 0; row < 2; ++row) {
        const double y = 80 + row * 24;  // room for the wrapped line
        items.push_back(text(40, y, 100, QStringLiteral("ART%1").arg(row + 1), Qt::AlignLeft));
        items.push_back(text(150, y, 80, QStringLiteral("1.234,5%1").arg(row), Qt::AlignRight));
        items.push_back(text(240, y, 90, QStringLiteral("UD%1").arg(row), Qt::AlignHCenter));
        items.push_back(text(340, y, 150, QStringLiteral("FILTRO%1").arg(row), Qt::AlignLeft));
        if (row == 0)  // the cell's second line, laid out before the next cell of its row
            items.insert(items.end() - 1,
                         text(240, y + 12, 90, QStringLiteral("CAJA"), Qt::AlignHCenter));
    }
    return r;
}

QByteArray pdfOf(const RenderedReport& r, const QString& path) {
    EXPECT_TRUE(torvane::reports::writePdf(r, path));
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The page's content stream, inflated.
QByteArray pageContent(const QByteArray& pdf) {
    for (qsizetype at = pdf.indexOf("stream\n"); at >= 0; at = pdf.indexOf("stream\n", at + 1)) {
        if (at >= 3 && pdf.mid(at - 3, 3) == "end") continue;
        const qsizetype begin = at + 7, end = pdf.indexOf("\nendstream", begin);
        if (end < 0) break;
        QByteArray packed = pdf.mid(begin, end - begin);
        packed.prepend(QByteArray::fromHex("00100000"));  // qUncompress wants a size hint
        const QByteArray plain = qUncompress(packed);
        if (plain.contains("BT\n")) return plain;
    }
    return {};
}

struct Word {
    QString text;
    double xMin, xMax;
};

TEST(ReportPage, EachRowIsOneTextObjectAndCellsKeepTheirAlignment) {
    QTemporaryDir dir;
    const RenderedReport r = sample();
    const QString pdf = dir.filePath("p.pdf");
    // Heading, two rows, the wrapped cell's second line: four text objects for eleven cells.
    const QByteArray content = pageContent(pdfOf(r, pdf));
    EXPECT_EQ(content.count("BT\n"), 4);
    EXPECT_EQ(content.count("ET\n"), 4);
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000)) << "pdftotext (poppler-utils) did not run";
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
    std::vector<Word> words;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (const auto m = word.match(line); m.hasMatch())
            words.push_back({m.captured(3), m.captured(1).toDouble(), m.captured(2).toDouble()});
    const auto& items = r.pages[0].items;
    size_t texts = 0;
    for (const PageItem& it : items) {
        if (it.kind != PageItem::Kind::Text) continue;
        ++texts;
        const auto w = std::find_if(words.begin(), words.end(),
                                    [&](const Word& x) { return x.text == it.text; });
        ASSERT_NE(w, words.end()) << "no word " << it.text.toStdString();
        if (it.align & Qt::AlignRight)
            EXPECT_NEAR(w->xMax, it.rect.right(), 0.01) << it.text.toStdString();
        else if (it.align & Qt::AlignHCenter)
            EXPECT_NEAR((w->xMin + w->xMax) / 2, it.rect.center().x(), 0.01)
                << it.text.toStdString();
        else
            EXPECT_NEAR(w->xMin, it.rect.left(), 0.01) << it.text.toStdString();
    }
    EXPECT_EQ(words.size(), texts);  // no two cells read as one word
}

}  // namespace
