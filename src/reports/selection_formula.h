#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

namespace torvane::reports {

// One node of a parsed selection formula.
struct FormulaNode {
    enum class Kind {
        Or,
        And,
        Not,
        Compare,    // op: = <> < > <= >=
        Like,       // field like ["A","B"]: any of the patterns
        InList,     // field in ["A","B"]: any of the values
        DateRange,  // field in DateTime (...) to DateTime (...): whole days, both included
        Field,      // {Table.Column}
        Formula,    // {@NAME}
        Text,
        Number,
    };
    Kind kind = Kind::Text;
    QString op;
    QString table;  // Field
    QString name;   // Field: column; Formula: the formula's name
    QVariant value;
    QStringList list;
    QDate from, to;
    std::vector<std::shared_ptr<const FormulaNode>> children;
};

// Turns the fields a formula names into SQL, checking them against the
// report's data. Returns nullopt and a Spanish reason for an unknown name.
class FieldResolver {
  public:
    virtual ~FieldResolver() = default;
    virtual std::optional<QString> fieldSql(const QString& table, const QString& column,
                                            QString* error) const = 0;
    virtual std::optional<QString> formulaSql(const QString& name, QString* error) const = 0;
};

struct SqlCondition {
    QString sql;  // empty when the formula selects everything
    QVariantList params;
};

// A record-selection formula as the screens write them:
//   {ODTS.NODT} ='FR08/00012'
//   {Facturas.Id_Cli} =7 and {Facturas.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime
//   (2008,03,31 ,00, 00, 00)
//   {ODTS.NODT} like ["N1","N2"]
class SelectionFormula {
  public:
    // An empty or blank text selects every record. On failure returns nullopt
    // and puts a short Spanish description of the problem in *error.
    static std::optional<SelectionFormula> parse(const QString& text, QString* error);

    bool isEmpty() const { return !root_; }
    const FormulaNode* root() const { return root_.get(); }
    QString text() const { return text_; }

    // SQL condition with bound parameters; values never go into the SQL text.
    std::optional<SqlCondition> toSql(const FieldResolver& fields, QString* error) const;

    // What the formula selects, for the line under a listing's title
    // ("Del 01/03/2008 al 31/03/2008"); empty when nothing readable.
    QString describe() const;

  private:
    QString text_;
    std::shared_ptr<const FormulaNode> root_;
};

}  // namespace torvane::reports
