#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

namespace torvane::reports {

enum class ValueFormat { Text, Money, Number, Integer, Date };

// How a value looks on paper: money "1.234,50", dates dd/mm/yyyy, numbers with
// a decimal comma and at most two decimals, integers with thousands points.
QString formatValue(const QVariant& value, ValueFormat format);

// A field named in a definition: {Table.Column}, {@FORMULA}, optionally with
// a format after a colon ({FacturasODT.Fecha:date}).
struct Placeholder {
    bool formula = false;
    QString table;
    QString name;
    std::optional<ValueFormat> format;
    QString key() const { return formula ? '@' + name.toUpper() : (table + '.' + name).toLower(); }
};

// Text with placeholders. A part between square brackets is left out when all
// of its fields are empty; a whole line whose fields are all empty is left out.
class Template {
  public:
    static std::optional<Template> parse(const QString& text, QString* error);

    const std::vector<Placeholder>& placeholders() const { return placeholders_; }
    bool isSingleField() const;  // exactly one field and no other text
    QString source() const { return source_; }
    // value(i) gives the value of placeholders()[i]; fallback formats fields without one.
    QString render(const std::function<QVariant(int)>& value, ValueFormat fallback) const;

  private:
    struct Piece {
        QString literal;
        int placeholder = -1;
        int group = -1;  // optional bracketed part it belongs to
    };
    QString source_;
    std::vector<Piece> pieces_;
    std::vector<Placeholder> placeholders_;
};

struct ColumnDef {
    QString heading;
    double width = 10;  // relative to the other columns
    ValueFormat format = ValueFormat::Text;
    bool total = false;  // summed in group subtotals and the grand total
    bool wrap = false;   // long text wraps instead of being cut
    Template value;
};

struct GroupDef {
    QString label;
    bool count = false;
    Template key;  // a change of its text starts a new group
};

struct FieldDef {
    QString label;
    Template value;
};

struct SectionDef {
    QString file;   // a "lines" report
    Template link;  // value handed to the section's link field
};

// A row of a document's totals: `total "Label" = expression`.
struct TotalDef {
    enum class Op {
        Base,         // the sum of the sections' totals, or of a field over the records
        Discount,     // less a percentage of the amount so far
        Vat,          // plus a percentage of the taxable base
        Withholding,  // less a percentage of the taxable base
        Total,        // the amount so far
        Words,        // the amount so far in words
        Stored,       // a field of the first record, as stored; it becomes the amount so far
    };
    QString label;  // "{rate}" in it is replaced by the rate
    Op op = Op::Total;
    std::optional<Template> value;  // the rate, the base's field or the stored field
    bool bold = false;              // "TOTAL" rows stand out
    // "{Tabla.IVA} on {Tabla.Base}": the base a stored VAT was taken on, from which the label's
    // "{rate}" is found again.
    std::optional<Template> on;
};

// An amount computed exactly from its line: units × price less a discount %.
// `amount IMPORTE = {L.Unidades} * {L.Precio} - {L.Dto} %`, used as {@IMPORTE}.
struct AmountDef {
    QString name;  // upper case
    Template units, price;
    std::optional<Template> discount;
};

// A value worked out exactly from other fields of the same row, so that an expensive
// formula is read once however many others build on it: "sum" adds and subtracts its
// fields, "percent" is the first field as a percentage of the second (one decimal, halves
// away from zero; empty when the second is nought). A field may name a formula, an amount
// or a computed value defined above it.
struct ComputedDef {
    enum class Kind { Sum, Percent };
    QString name;  // upper case
    Kind kind = Kind::Sum;
    std::vector<std::pair<int, Template>> terms;  // sign (+1, -1) and a single field or number
};

// One report definition file (".rpt"): its data and its layout.
struct ReportDefinition {
    enum class Kind { List, Document, Lines, Ticket, Receipt, Labels };

    QString name;  // file name, for messages
    Kind kind = Kind::List;
    QString title;
    bool landscape = false;
    QString from, where, order;
    // Listings of one row per party: SQL GROUP BY and a condition on each group's sums.
    QString groupBy, having;
    std::vector<std::pair<QString, QString>> formulas;  // name (upper case), SQL expression
    std::vector<AmountDef> amounts;
    std::vector<ComputedDef> computed;

    // list and lines
    std::vector<ColumnDef> columns;
    std::vector<GroupDef> groups;
    QString countNoun;             // "clientes": prints how many records
    std::optional<Template> link;  // lines: field that receives the parent's value

    // document, ticket, receipt
    std::vector<Template> company;
    QString heading;
    std::vector<FieldDef> fields;
    QString customerTitle = QStringLiteral("Cliente");
    std::vector<Template> customer;
    std::vector<Template> record;
    std::vector<SectionDef> sections;
    std::vector<TotalDef> totals;
    std::vector<Template> foot;
    // The invoice number whose registration record gives the tax QR code.
    std::optional<Template> qr;

    // labels: the lines of each label, the first in bold
    std::vector<Template> label;

    bool isDocumentLike() const {
        return kind == Kind::Document || kind == Kind::Ticket || kind == Kind::Receipt;
    }
    const AmountDef* amount(const QString& name) const;
    const ComputedDef* computedValue(const QString& name) const;

    // On failure returns nullopt and *error reads "línea 12: ...".
    static std::optional<ReportDefinition> parse(const QString& text, const QString& name,
                                                 QString* error);
};

// "\QARVOLFAC.rpt", "/qarvoodtcli.rpt" or a full path -> "QARVOLFAC.rpt".
QString reportFileName(const QString& argument);
// The file in the first folder that has it, compared without regard to case;
// empty when none has it.
QString findReportFile(const QString& name, const QStringList& folders);

}  // namespace torvane::reports
