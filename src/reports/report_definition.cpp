#include "reports/report_definition.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <set>

#include "core/format.h"
#include "core/money.h"

namespace torvane::reports {

namespace {

std::optional<ValueFormat> formatNamed(const QString& word) {
    const QString w = word.trimmed().toLower();
    if (w == QLatin1String("text")) return ValueFormat::Text;
    if (w == QLatin1String("money")) return ValueFormat::Money;
    if (w == QLatin1String("number")) return ValueFormat::Number;
    if (w == QLatin1String("int")) return ValueFormat::Integer;
    if (w == QLatin1String("date")) return ValueFormat::Date;
    return std::nullopt;
}

bool isName(const QString& n) {
    if (n.isEmpty()) return false;
    for (QChar c : n)
        if (!c.isLetterOrNumber() && c != '_') return false;
    return true;
}

QString thousands(qint64 v) {
    QString s = QString::number(std::llabs(v));
    for (int i = s.size() - 3; i > 0; i -= 3) s.insert(i, '.');
    return v < 0 ? '-' + s : s;
}

// Splits "column "Importe" 15 money total" into words, keeping quoted text whole.
std::optional<QStringList> splitWords(const QString& s, QString* error) {
    QStringList out;
    int i = 0;
    while (i < s.size()) {
        if (s[i].isSpace()) {
            ++i;
            continue;
        }
        if (s[i] == '"') {
            const int close = s.indexOf('"', i + 1);
            if (close < 0) {
                *error = QStringLiteral("falta cerrar las comillas");
                return std::nullopt;
            }
            out << s.mid(i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        const int start = i;
        while (i < s.size() && !s[i].isSpace() && s[i] != '"') ++i;
        out << s.mid(start, i - start);
    }
    return out;
}

QString unquote(const QString& s) {
    const QString t = s.trimmed();
    if (t.size() >= 2 && t.startsWith('"') && t.endsWith('"')) return t.mid(1, t.size() - 2);
    return t;
}

}  // namespace

QString formatValue(const QVariant& value, ValueFormat format) {
    if (!value.isValid() || value.isNull()) return {};
    switch (format) {
        case ValueFormat::Text:
            return value.toString();
        case ValueFormat::Money:
            return Money::fromDb(value).format();
        case ValueFormat::Number:
            return Money::fromDb(value).roundCents().toPlainString().replace('.', ',');
        case ValueFormat::Integer:
            return thousands(std::llround(value.toDouble()));
        case ValueFormat::Date:
            return formatDate(value);
    }
    return value.toString();
}

std::optional<Template> Template::parse(const QString& text, QString* error) {
    Template t;
    t.source_ = text;
    int group = -1, groups = 0;
    QString literal;
    const auto flush = [&] {
        if (!literal.isEmpty()) t.pieces_.push_back({literal, -1, group});
        literal.clear();
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '[') {
            if (group >= 0) {
                *error = QStringLiteral("corchetes dentro de corchetes en «%1»").arg(text);
                return std::nullopt;
            }
            flush();
            group = groups++;
        } else if (c == ']') {
            if (group < 0) {
                *error = QStringLiteral("sobra «]» en «%1»").arg(text);
                return std::nullopt;
            }
            flush();
            group = -1;
        } else if (c == '{') {
            const int close = text.indexOf('}', i);
            if (close < 0) {
                *error = QStringLiteral("falta cerrar la llave en «%1»").arg(text);
                return std::nullopt;
            }
            QString inner = text.mid(i + 1, close - i - 1).trimmed();
            Placeholder p;
            const int colon = inner.indexOf(':');
            if (colon >= 0) {
                p.format = formatNamed(inner.mid(colon + 1));
                if (!p.format) {
                    *error = QStringLiteral(
                                 "formato desconocido «%1» (text, money, number, int, "
                                 "date)")
                                 .arg(inner.mid(colon + 1).trimmed());
                    return std::nullopt;
                }
                inner = inner.left(colon).trimmed();
            }
            if (inner.startsWith('@')) {
                p.formula = true;
                p.name = inner.mid(1).trimmed().toUpper();
                if (!isName(p.name)) {
                    *error = QStringLiteral("fórmula no válida «{%1}»").arg(inner);
                    return std::nullopt;
                }
            } else {
                const int dot = inner.indexOf('.');
                p.table = inner.left(dot).trimmed();
                p.name = inner.mid(dot + 1).trimmed();
                if (dot < 0 || !isName(p.table) || !isName(p.name)) {
                    *error = QStringLiteral("campo no válido «{%1}»: se escribe {Tabla.Columna}")
                                 .arg(inner);
                    return std::nullopt;
                }
            }
            flush();
            t.pieces_.push_back({QString(), int(t.placeholders_.size()), group});
            t.placeholders_.push_back(p);
            i = close;
        } else if (c == '}') {
            *error = QStringLiteral("sobra «}» en «%1»").arg(text);
            return std::nullopt;
        } else {
            literal += c;
        }
    }
    if (group >= 0) {
        *error = QStringLiteral("falta cerrar el corchete en «%1»").arg(text);
        return std::nullopt;
    }
    flush();
    return t;
}

bool Template::isSingleField() const {
    return placeholders_.size() == 1 && pieces_.size() == 1;
}

QString Template::render(const std::function<QVariant(int)>& value, ValueFormat fallback) const {
    std::vector<QString> shown(placeholders_.size());
    bool anyField = false;
    for (size_t i = 0; i < placeholders_.size(); ++i) {
        shown[i] = formatValue(value(int(i)), placeholders_[i].format.value_or(fallback));
        if (!shown[i].trimmed().isEmpty()) anyField = true;
    }
    if (!placeholders_.empty() && !anyField) return {};
    std::set<int> emptyGroups;
    for (const Piece& p : pieces_)
        if (p.group >= 0) emptyGroups.insert(p.group);
    for (const Piece& p : pieces_)
        if (p.group >= 0 && p.placeholder >= 0 && !shown[p.placeholder].trimmed().isEmpty())
            emptyGroups.erase(p.group);
    QString out;
    for (const Piece& p : pieces_) {
        if (p.group >= 0 && emptyGroups.count(p.group)) continue;
        out += p.placeholder >= 0 ? shown[p.placeholder] : p.literal;
    }
    return out.trimmed();
}

namespace {

using Kind = ReportDefinition::Kind;

// The kinds a statement is allowed in, as a bit set.
constexpr unsigned bit(Kind k) {
    return 1u << unsigned(k);
}
constexpr unsigned kAll = bit(Kind::List) | bit(Kind::Document) | bit(Kind::Lines) |
                          bit(Kind::Ticket) | bit(Kind::Receipt) | bit(Kind::Labels);
constexpr unsigned kDocuments = bit(Kind::Document) | bit(Kind::Ticket) | bit(Kind::Receipt);
constexpr unsigned kTables = bit(Kind::List) | bit(Kind::Lines);

// What a statement handler sees: the parts of one statement.
struct StatementText {
    QString keyword;
    QStringList words;  // between the keyword and "=", quoted text kept whole
    QString rest;       // everything after the keyword
    QString rhs;        // everything after the first "=" outside quotes
    bool hasEquals = false;

    std::optional<Template> content(QString* problem) const {
        if (!hasEquals) {
            *problem = QStringLiteral("falta «=» y el contenido");
            return std::nullopt;
        }
        return Template::parse(rhs, problem);
    }
};

using Handler = bool (*)(ReportDefinition&, const StatementText&, QString*);

struct Statement {
    const char* keyword;
    unsigned kinds;
    Handler handle;
};

bool readKind(ReportDefinition& d, const StatementText& st, QString* problem) {
    static constexpr std::pair<const char*, Kind> kinds[] = {
        {"list", Kind::List},     {"document", Kind::Document}, {"lines", Kind::Lines},
        {"ticket", Kind::Ticket}, {"receipt", Kind::Receipt},   {"labels", Kind::Labels}};
    for (const auto& [word, kind] : kinds)
        if (st.words.value(0).compare(QLatin1String(word), Qt::CaseInsensitive) == 0) {
            d.kind = kind;
            return true;
        }
    *problem = QStringLiteral(
                   "tipo de informe desconocido «%1» (list, document, lines, ticket, receipt, "
                   "labels)")
                   .arg(st.words.value(0));
    return false;
}

bool needRest(const StatementText& st, QString* problem) {
    if (!st.rest.isEmpty()) return true;
    *problem = QStringLiteral("«%1» sin contenido").arg(st.keyword);
    return false;
}

bool readColumn(ReportDefinition& d, const StatementText& st, QString* problem) {
    ColumnDef c;
    if (st.words.size() < 2) {
        *problem = QStringLiteral(
            "se escribe: column \"Título\" ancho [formato] [total] [wrap] = contenido");
        return false;
    }
    c.heading = st.words.at(0);
    bool ok = false;
    c.width = st.words.at(1).toDouble(&ok);
    if (!ok || c.width <= 0 || c.width > 1000) {
        *problem = QStringLiteral("ancho de columna no válido «%1»").arg(st.words.at(1));
        return false;
    }
    for (int i = 2; i < st.words.size(); ++i) {
        const QString w = st.words.at(i).toLower();
        if (w == QLatin1String("total")) {
            c.total = true;
        } else if (w == QLatin1String("wrap")) {
            c.wrap = true;
        } else if (const auto f = formatNamed(w)) {
            c.format = *f;
        } else {
            *problem = QStringLiteral("palabra desconocida «%1»").arg(st.words.at(i));
            return false;
        }
    }
    const auto t = st.content(problem);
    if (!t) return false;
    c.value = *t;
    if (c.total && !c.value.isSingleField()) {
        *problem = QStringLiteral("una columna con total debe tener un solo campo");
        return false;
    }
    d.columns.push_back(c);
    return true;
}

bool readGroup(ReportDefinition& d, const StatementText& st, QString* problem) {
    GroupDef g;
    g.label = st.words.value(0);
    for (int i = 1; i < st.words.size(); ++i) {
        if (st.words.at(i).toLower() != QLatin1String("count")) {
            *problem = QStringLiteral("palabra desconocida «%1»").arg(st.words.at(i));
            return false;
        }
        g.count = true;
    }
    const auto t = st.content(problem);
    if (!t) return false;
    g.key = *t;
    d.groups.push_back(g);
    return true;
}

// Appends the statement's content to one of the definition's lists of lines.
template <std::vector<Template> ReportDefinition::*List>
bool readLine(ReportDefinition& d, const StatementText& st, QString* problem) {
    const auto t = st.content(problem);
    if (!t) return false;
    (d.*List).push_back(*t);
    return true;
}

bool readCustomer(ReportDefinition& d, const StatementText& st, QString* problem) {
    if (!st.words.isEmpty()) d.customerTitle = st.words.at(0);
    return readLine<&ReportDefinition::customer>(d, st, problem);
}

bool readField(ReportDefinition& d, const StatementText& st, QString* problem) {
    const auto t = st.content(problem);
    if (!t) return false;
    d.fields.push_back({st.words.value(0), *t});
    return true;
}

bool readSection(ReportDefinition& d, const StatementText& st, QString* problem) {
    if (st.words.size() != 1) {
        *problem = QStringLiteral("se escribe: section FICHERO.rpt = {Tabla.Columna}");
        return false;
    }
    const auto t = st.content(problem);
    if (!t) return false;
    d.sections.push_back({st.words.at(0), *t});
    return true;
}

bool readLink(ReportDefinition& d, const StatementText& st, QString* problem) {
    const auto t = st.content(problem);
    if (!t) return false;
    d.link = *t;
    return true;
}

bool readFormula(ReportDefinition& d, const StatementText& st, QString* problem) {
    const QString fname = st.words.value(0).toUpper();
    if (st.words.size() != 1 || !isName(fname) || st.rhs.isEmpty()) {
        *problem = QStringLiteral("se escribe: formula NOMBRE = expresión SQL");
        return false;
    }
    d.formulas.emplace_back(fname, st.rhs);
    return true;
}

// A single field or a plain number, as the rate or the base of a totals row.
std::optional<Template> operand(const QString& text, QString* problem) {
    const auto t = Template::parse(text.trimmed(), problem);
    if (!t) return std::nullopt;
    if (t->placeholders().empty()) {
        bool ok = false;
        QString(text).trimmed().replace(',', '.').toDouble(&ok);
        if (ok) return t;
    } else if (t->isSingleField()) {
        return t;
    }
    *problem = QStringLiteral("«%1» no es un campo ni un número").arg(text.trimmed());
    return std::nullopt;
}

bool readTotal(ReportDefinition& d, const StatementText& st, QString* problem) {
    static constexpr std::pair<const char*, TotalDef::Op> ops[] = {
        {"base", TotalDef::Op::Base},   {"discount", TotalDef::Op::Discount},
        {"vat", TotalDef::Op::Vat},     {"withholding", TotalDef::Op::Withholding},
        {"total", TotalDef::Op::Total}, {"words", TotalDef::Op::Words}};
    const QString usage = QStringLiteral(
        "se escribe: total \"Etiqueta\" [bold] = base | discount TIPO | vat TIPO | "
        "withholding TIPO | total | words | {Tabla.Columna} [on {Tabla.Base}]");
    if (st.words.isEmpty() || st.words.size() > 2 ||
        (st.words.size() == 2 && st.words.at(1).toLower() != QLatin1String("bold")) ||
        st.rhs.isEmpty()) {
        *problem = usage;
        return false;
    }
    TotalDef t;
    t.label = st.words.at(0);
    t.bold = st.words.size() == 2;
    const QString expr = st.rhs.trimmed();
    const int space = expr.indexOf(' ');
    const QString op = (space < 0 ? expr : expr.left(space)).toLower();
    const QString arg = space < 0 ? QString() : expr.mid(space + 1).trimmed();
    bool known = false;
    for (const auto& [word, value] : ops)
        if (op == QLatin1String(word)) {
            t.op = value;
            known = true;
        }
    if (!known) {
        if (!expr.startsWith('{')) {
            *problem = usage;
            return false;
        }
        t.op = TotalDef::Op::Stored;
        // "{FacturasODT.IVA} on {FacturasODT.Base}": the VAT as stored and the base it was
        // taken on, which give the label its rate.
        const qsizetype onAt = expr.indexOf(QLatin1String(" on "), 0, Qt::CaseInsensitive);
        if (onAt > 0) {
            t.on = operand(expr.mid(onAt + 4), problem);
            if (!t.on) return false;
        }
        t.value = operand(onAt > 0 ? expr.left(onAt) : expr, problem);
        if (!t.value || t.value->placeholders().empty()) {
            if (problem->isEmpty()) *problem = usage;
            return false;
        }
    } else {
        const bool takesRate = t.op == TotalDef::Op::Discount || t.op == TotalDef::Op::Vat ||
                               t.op == TotalDef::Op::Withholding;
        if (takesRate != !arg.isEmpty() && !(t.op == TotalDef::Op::Base && !arg.isEmpty())) {
            *problem = usage;
            return false;
        }
        if (!arg.isEmpty()) {
            t.value = operand(arg, problem);
            if (!t.value) return false;
        }
    }
    d.totals.push_back(t);
    return true;
}

// "vat = 16": the three usual rows, base, VAT and total.
bool readVat(ReportDefinition& d, const StatementText& st, QString* problem) {
    const auto rate = operand(st.rhs, problem);
    if (!rate) return false;
    const bool haveBase = !d.totals.empty() && d.totals.front().op == TotalDef::Op::Base;
    if (!haveBase)
        d.totals.insert(d.totals.begin(), {QStringLiteral("Base imponible"), TotalDef::Op::Base,
                                           std::nullopt, false, std::nullopt});
    d.totals.push_back(
        {QStringLiteral("IVA {rate} %"), TotalDef::Op::Vat, rate, false, std::nullopt});
    d.totals.push_back(
        {QStringLiteral("TOTAL"), TotalDef::Op::Total, std::nullopt, true, std::nullopt});
    return true;
}

// "base = {Table.Column}": the base is the sum of a field over the records.
bool readBase(ReportDefinition& d, const StatementText& st, QString* problem) {
    std::optional<Template> field;
    if (st.rhs.compare(QLatin1String("sections"), Qt::CaseInsensitive) != 0) {
        field = operand(st.rhs, problem);
        if (!field) return false;
    }
    if (!d.totals.empty() && d.totals.front().op == TotalDef::Op::Base)
        d.totals.front().value = field;
    else
        d.totals.insert(d.totals.begin(), {QStringLiteral("Base imponible"), TotalDef::Op::Base,
                                           field, false, std::nullopt});
    return true;
}

// "sum NAME = {@A} + {@B} - {C}" and "percent NAME = {@A} / {@B}".
template <ComputedDef::Kind kind>
bool readComputed(ReportDefinition& d, const StatementText& st, QString* problem) {
    const bool sum = kind == ComputedDef::Kind::Sum;
    const QString usage = sum ? QStringLiteral("se escribe: sum NOMBRE = {@A} + {@B} - {@C}")
                              : QStringLiteral("se escribe: percent NOMBRE = {@A} / {@B}");
    const QString name = st.words.value(0).toUpper();
    const QString rhs = st.rhs.trimmed();
    static const QRegularExpression term(
        QStringLiteral("\\G\\s*([-+/])?\\s*(\\{[^}]*\\}|[0-9]+(?:[.,][0-9]+)?)\\s*"));
    ComputedDef c;
    c.name = name;
    c.kind = kind;
    qsizetype at = 0;
    while (at < rhs.size()) {
        const auto m = term.match(rhs, at);
        if (!m.hasMatch() || m.capturedLength() == 0) break;
        const QString op = m.captured(1);
        // The first term has no operator; then "+"/"-" for a sum, one "/" for a percent.
        const bool first = c.terms.empty();
        if (first != op.isEmpty() || (!first && sum == (op == QLatin1String("/")))) break;
        const auto t = operand(m.captured(2), problem);
        if (!t) return false;
        for (const Placeholder& p : t->placeholders()) {
            // Only what is defined above: a value cannot be built on itself.
            if (p.formula && !d.amount(p.name) && !d.computedValue(p.name) &&
                std::none_of(d.formulas.begin(), d.formulas.end(),
                             [&](const auto& f) { return f.first == p.name.toUpper(); })) {
                *problem = QStringLiteral("«@%1» no está definido antes de «%2»").arg(p.name, name);
                return false;
            }
        }
        c.terms.emplace_back(op == QLatin1String("-") ? -1 : 1, *t);
        at = m.capturedEnd();
    }
    if (st.words.size() != 1 || !isName(name) || at < rhs.size() || c.terms.empty() ||
        (!sum && c.terms.size() != 2)) {
        *problem = usage;
        return false;
    }
    d.computed.push_back(c);
    return true;
}

bool readAmount(ReportDefinition& d, const StatementText& st, QString* problem) {
    const QString usage =
        QStringLiteral("se escribe: amount NOMBRE = {Unidades} * {Precio} [- {Dto} %]");
    const QString name = st.words.value(0).toUpper();
    const QRegularExpression shape(
        QStringLiteral("^(\\{[^}]*\\})\\s*\\*\\s*(\\{[^}]*\\})(?:\\s*-\\s*(\\{[^}]*\\})\\s*%)?$"));
    const auto m = shape.match(st.rhs.trimmed());
    if (st.words.size() != 1 || !isName(name) || !m.hasMatch()) {
        *problem = usage;
        return false;
    }
    AmountDef a;
    a.name = name;
    const auto units = operand(m.captured(1), problem);
    const auto price = operand(m.captured(2), problem);
    if (!units || !price) return false;
    a.units = *units;
    a.price = *price;
    if (m.hasCaptured(3)) {
        a.discount = operand(m.captured(3), problem);
        if (!a.discount) return false;
    }
    d.amounts.push_back(a);
    return true;
}

constexpr Statement kStatements[] = {
    {"report", kAll, readKind},
    {"title", kAll,
     [](ReportDefinition& d, const StatementText& st, QString*) {
         d.title = unquote(st.rest);
         return true;
     }},
    {"landscape", bit(Kind::List) | bit(Kind::Document),
     [](ReportDefinition& d, const StatementText&, QString*) {
         d.landscape = true;
         return true;
     }},
    {"from", kAll,
     [](ReportDefinition& d, const StatementText& st, QString* problem) {
         d.from = st.rest;
         return needRest(st, problem);
     }},
    {"where", kAll,
     [](ReportDefinition& d, const StatementText& st, QString* problem) {
         d.where = st.rest;
         return needRest(st, problem);
     }},
    {"order", kAll,
     [](ReportDefinition& d, const StatementText& st, QString* problem) {
         d.order = st.rest;
         return needRest(st, problem);
     }},
    {"groupby", bit(Kind::List),
     [](ReportDefinition& d, const StatementText& st, QString* problem) {
         d.groupBy = st.rest;
         return needRest(st, problem);
     }},
    {"having", bit(Kind::List),
     [](ReportDefinition& d, const StatementText& st, QString* problem) {
         d.having = st.rest;
         return needRest(st, problem);
     }},
    {"formula", kAll, readFormula},
    {"amount", kAll, readAmount},
    {"sum", kAll, readComputed<ComputedDef::Kind::Sum>},
    {"percent", kAll, readComputed<ComputedDef::Kind::Percent>},
    {"column", kTables, readColumn},
    {"group", bit(Kind::List), readGroup},
    {"count", bit(Kind::List),
     [](ReportDefinition& d, const StatementText& st, QString*) {
         d.countNoun = unquote(st.rest);
         if (d.countNoun.isEmpty()) d.countNoun = QStringLiteral("registros");
         return true;
     }},
    {"link", bit(Kind::Lines), readLink},
    {"heading", kDocuments,
     [](ReportDefinition& d, const StatementText& st, QString*) {
         d.heading = unquote(st.rest);
         return true;
     }},
    {"company", kDocuments, readLine<&ReportDefinition::company>},
    {"field", kDocuments, readField},
    {"customer", kDocuments, readCustomer},
    {"record", kDocuments, readLine<&ReportDefinition::record>},
    {"section", kDocuments, readSection},
    {"total", kDocuments, readTotal},
    {"vat", kDocuments, readVat},
    {"base", kDocuments, readBase},
    {"foot", kDocuments, readLine<&ReportDefinition::foot>},
    {"qr", kDocuments,
     [](ReportDefinition& d, const StatementText& st, QString* problem) {
         const auto t = st.content(problem);
         if (!t) return false;
         d.qr = *t;
         return true;
     }},
    {"label", bit(Kind::Labels), readLine<&ReportDefinition::label>},
};

QString kindName(Kind k) {
    static constexpr const char* names[] = {"list",   "document", "lines",
                                            "ticket", "receipt",  "labels"};
    return QLatin1String(names[int(k)]);
}

}  // namespace

const AmountDef* ReportDefinition::amount(const QString& n) const {
    for (const AmountDef& a : amounts)
        if (a.name.compare(n, Qt::CaseInsensitive) == 0) return &a;
    return nullptr;
}

const ComputedDef* ReportDefinition::computedValue(const QString& n) const {
    for (const ComputedDef& c : computed)
        if (c.name.compare(n, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

std::optional<ReportDefinition> ReportDefinition::parse(const QString& text, const QString& name,
                                                        QString* error) {
    ReportDefinition d;
    d.name = name;

    // Statements: one a line; a line that starts with a space continues the one before.
    struct Line {
        QString text;
        int line;
    };
    std::vector<Line> statements;
    const QStringList lines = QString(text).remove('\r').split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString& raw = lines[i];
        const QString trimmed = raw.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith('#')) continue;
        if (raw[0].isSpace() && !statements.empty())
            statements.back().text += ' ' + trimmed;
        else
            statements.push_back({trimmed, i + 1});
    }

    // The kind comes first in meaning, wherever its line is: statements are checked
    // against it.
    bool haveKind = false;
    for (const Line& l : statements)
        if (l.text.section(' ', 0, 0).compare(QLatin1String("report"), Qt::CaseInsensitive) == 0) {
            StatementText st;
            st.keyword = QStringLiteral("report");
            QString problem;
            const auto words = splitWords(l.text.section(' ', 1), &problem);
            if (words) st.words = *words;
            if (!words || !readKind(d, st, &problem)) {
                *error = QStringLiteral("línea %1: %2").arg(l.line).arg(problem);
                return std::nullopt;
            }
            haveKind = true;
            break;
        }

    for (const Line& l : statements) {
        QString problem;
        const auto fail = [&](const QString& message) {
            *error = QStringLiteral("línea %1: %2").arg(l.line).arg(message);
            return std::nullopt;
        };
        // The right-hand side is what follows the first "=" outside quotes.
        int eq = -1;
        bool inQuotes = false;
        for (int i = 0; i < l.text.size(); ++i) {
            if (l.text[i] == '"') inQuotes = !inQuotes;
            if (l.text[i] == '=' && !inQuotes) {
                eq = i;
                break;
            }
        }
        const QString head = eq < 0 ? l.text : l.text.left(eq);
        StatementText st;
        st.hasEquals = eq >= 0;
        st.rhs = eq < 0 ? QString() : l.text.mid(eq + 1).trimmed();
        const int space = head.indexOf(QRegularExpression(QStringLiteral("\\s")));
        st.keyword = (space < 0 ? head : head.left(space)).trimmed().toLower();
        st.rest = space < 0 ? QString() : l.text.mid(space + 1).trimmed();
        const auto words = splitWords(space < 0 ? QString() : head.mid(space + 1), &problem);
        if (!words) return fail(problem);
        st.words = *words;

        const Statement* statement = nullptr;
        for (const Statement& s : kStatements)
            if (st.keyword == QLatin1String(s.keyword)) statement = &s;
        if (!statement) return fail(QStringLiteral("palabra desconocida «%1»").arg(st.keyword));
        if (st.keyword == QLatin1String("report")) continue;
        if (!(statement->kinds & bit(d.kind)))
            return fail(QStringLiteral("«%1» no vale en un informe «report %2»")
                            .arg(st.keyword, kindName(d.kind)));
        if (!statement->handle(d, st, &problem)) return fail(problem);
    }

    const auto fail = [&](const QString& message) {
        *error = message;
        return std::nullopt;
    };
    if (!haveKind)
        return fail(QStringLiteral(
            "falta la línea «report list», «report document», «report lines», «report ticket», "
            "«report receipt» o «report labels»"));
    if (d.from.isEmpty()) return fail(QStringLiteral("falta la línea «from» con las tablas"));
    if ((d.kind == Kind::List || d.kind == Kind::Lines) && d.columns.empty())
        return fail(QStringLiteral("el informe no tiene columnas"));
    if (!d.having.isEmpty() && d.groupBy.isEmpty())
        return fail(QStringLiteral("«having» necesita la línea «groupby»"));
    if (d.kind == Kind::Lines && !d.link)
        return fail(QStringLiteral("una sección necesita la línea «link»"));
    if (d.kind == Kind::Labels && d.label.empty())
        return fail(QStringLiteral("una hoja de etiquetas necesita líneas «label»"));
    if (d.label.size() > 4)
        return fail(QStringLiteral("una etiqueta tiene cuatro líneas como mucho"));
    return d;
}

QString reportFileName(const QString& argument) {
    const QString t = argument.trimmed();
    const int cut = std::max(t.lastIndexOf('\\'), t.lastIndexOf('/'));
    return t.mid(cut + 1);
}

QString findReportFile(const QString& name, const QStringList& folders) {
    const QString wanted = reportFileName(name);
    if (wanted.isEmpty()) return {};
    for (const QString& folder : folders) {
        const QDir dir(folder);
        if (!dir.exists()) continue;
        const QString exact = dir.filePath(wanted);
        if (QFileInfo(exact).isFile()) return exact;
        const QStringList entries = dir.entryList(QDir::Files);
        for (const QString& e : entries)
            if (e.compare(wanted, Qt::CaseInsensitive) == 0) return dir.filePath(e);
    }
    return {};
}

}  // namespace torvane::reports
