#pragma once

// The pieces every kind of report is laid out with: fields bound to a query, text
// measurement, pages under construction, tables of columns, and the layout interface.

#include <QDate>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QSizeF>
#include <QStringList>
#include <QVariant>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "core/money.h"
#include "reports/report_definition.h"
#include "reports/report_page.h"
#include "reports/selection_formula.h"

namespace torvane {
class Database;
}

namespace torvane::reports {

constexpr double kMargin = 36;
constexpr double kPad = 3;
constexpr double kPointsPerMm = 72.0 / 25.4;

// Text measurement in points, independent of the screen.
class Measure {
  public:
    Measure();
    double width(const QString& t, double size, bool bold);
    // Height of one line of text (ascent and descent), as the page painter places it.
    double lineHeight(double size, bool bold);
    // Lines of at most w points: breaks at spaces, and inside a word longer than a line,
    // so nothing is ever cut.
    QStringList wrap(const QString& text, double w, double size, bool bold);

  private:
    // One font's metrics and the advances of the characters asked so far (-1: not yet).
    struct Font {
        std::unique_ptr<QFontMetricsF> metrics;
        std::array<double, 256> latin;
        QHash<char16_t, double> other;
    };
    Font& font(double size, bool bold);
    QImage image_;
    std::map<int, Font> cache_;
};

// The fields a definition may name: the columns of the tables in its "from", its own
// formulas and amounts. Everything else is refused by name.
class ReportFields : public FieldResolver {
  public:
    ReportFields(Database& db, const ReportDefinition& def) : db_(db), def_(def) {}
    bool load(QString* error);
    const ReportDefinition& definition() const { return def_; }
    std::optional<QString> fieldSql(const QString& table, const QString& column,
                                    QString* error) const override;
    std::optional<QString> formulaSql(const QString& name, QString* error) const override;

  private:
    Database& db_;
    const ReportDefinition& def_;
    std::vector<std::pair<QString, QStringList>> tables_;
};

// The SELECT list of one query: each distinct field once.
struct SelectList {
    QStringList sql;
    std::map<QString, int> byKey;
    std::optional<int> add(const Placeholder& p, const FieldResolver& fields, QString* error);
};

using Record = QVariantList;

// A template tied to the columns of a query result.
struct Bound {
    using Eval = std::function<QVariant(const Record&)>;
    const Template* tmpl = nullptr;
    std::vector<int> cols;    // -1 for a value worked out by evals (amounts, computed values)
    std::vector<Eval> evals;  // one per field; empty for a plain column
    ValueFormat fallback = ValueFormat::Text;

    QVariant value(const Record& r, size_t i) const;
    QString render(const Record& r) const;
    // The value of the template's only field as an amount, or its text read as one.
    Money money(const Record& r) const;
};

std::optional<Bound> bind(const Template& t, ValueFormat fallback, SelectList& select,
                          const ReportFields& fields, QString* error);
std::vector<Record> fetch(Database& db, const ReportDefinition& def, const SelectList& select,
                          const QStringList& conditions, const QVariantList& params);
// The same rows one at a time, as they are read; each(record) returns false to stop.
void forEachRecord(Database& db, const ReportDefinition& def, const SelectList& select,
                   const QStringList& conditions, const QVariantList& params,
                   const std::function<bool(const Record&)>& each);

// Pages under construction.
class Pages {
  public:
    explicit Pages(QSizeF paper) : paper_(paper) {}
    double width() const { return paper_.width(); }
    double height() const { return paper_.height(); }
    double bottom() const { return paper_.height() - kMargin - 20; }
    void newPage() { pages_.emplace_back(); }
    bool empty() const { return pages_.empty(); }
    int count() const { return int(pages_.size()); }
    void text(double x, double y, double w, double h, const QString& t, double size = 8.5,
              bool bold = false, Qt::Alignment align = Qt::AlignLeft);
    void line(double x1, double y, double x2);
    void box(const QRectF& r);
    void qr(const QRectF& r, const QString& payload);
    // "Página N de M" at the foot of every page, once the count is known.
    // A report cut short after its first pages (a preview's first look) says "Página N".
    std::vector<Page> finish(bool numbered = true, bool complete = true);

  private:
    QSizeF paper_;
    std::vector<Page> pages_;
};

// Column geometry of a table of lines.
struct Table {
    std::vector<double> x, w;
    std::vector<Qt::Alignment> align;

    Table(const std::vector<ColumnDef>& columns, double left, double width);
    // Lines of each cell: an overlong cell wraps, never cut.
    std::vector<QStringList> cells(const QStringList& texts, Measure& m, double size,
                                   bool bold) const;
    static double height(const std::vector<QStringList>& cells, double lineHeight);
    void draw(Pages& p, double y, const std::vector<QStringList>& cells, double size, bool bold,
              double lineHeight) const;
    // A total row: a label on the left, the sums under their columns; returns its height.
    double drawTotals(Pages& p, double y, const QString& label, const std::vector<ColumnDef>& cols,
                      const std::vector<Money>& sums, Measure& m, double size) const;
};

QStringList headingsOf(const std::vector<ColumnDef>& cols);
// Text that grows to as many lines as it needs from *y down; *y ends under its last line.
void growingText(Pages& p, Measure& m, double x, double* y, double w, const QString& t, double size,
                 bool bold, double lineHeight, Qt::Alignment align = Qt::AlignLeft);
// Money in a table cell: two decimals for money columns, as a number otherwise.
QString formatSum(Money m, ValueFormat format);

struct Loaded {
    ReportDefinition def;
    std::unique_ptr<ReportFields> fields;
};

// What every layout needs beside its definition.
class LayoutContext {
  public:
    using Loader = std::function<std::unique_ptr<Loaded>(const QString&)>;
    LayoutContext(Database& database, QDate date, Loader loader)
        : db(database), printDate(date), load(std::move(loader)) {}

    Database& db;
    QDate printDate;
    int pageLimit = 0;  // stop after this many pages (0: all of them)
    Loader load;        // another definition (a section), by file name; sets error on failure
    Measure measure;
    QString error;

    bool damaged(const QString& name, const QString& problem);
    bool noData(const QString& name);
    QString companyName();
};

// One kind of report laid out into pages.
class ReportLayout {
  public:
    virtual ~ReportLayout() = default;
    // selection: what the formula selects, in words ("Del 01/03/2008 al 31/03/2008").
    virtual bool render(const Loaded& rep, const SqlCondition& cond, const QString& selection,
                        RenderedReport* out) = 0;
};

// A layout that renders with a context (every one does).
class ContextLayout : public ReportLayout {
  public:
    explicit ContextLayout(LayoutContext& ctx) : ctx_(ctx) {}

  protected:
    LayoutContext& ctx_;
};

std::unique_ptr<ReportLayout> makeListLayout(LayoutContext& ctx);
std::unique_ptr<ReportLayout> makeDocumentLayout(LayoutContext& ctx);
std::unique_ptr<ReportLayout> makeTicketLayout(LayoutContext& ctx);
std::unique_ptr<ReportLayout> makeReceiptLayout(LayoutContext& ctx);
std::unique_ptr<ReportLayout> makeLabelsLayout(LayoutContext& ctx);
// The layout of a definition's kind; none for "lines", which only prints inside a document.
std::unique_ptr<ReportLayout> layoutFor(ReportDefinition::Kind kind, LayoutContext& ctx);

}  // namespace torvane::reports
