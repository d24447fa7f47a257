#include "reports/report_definition.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <set>

#include "core/format.h"

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
            return formatMoney(value.toDouble());
        case ValueFormat::Number: {
            QString s = QString::number(roundCents(value.toDouble()), 'f', 2);
            while (s.endsWith('0')) s.chop(1);
            if (s.endsWith('.')) s.chop(1);
            if (s == QLatin1String("-0")) s = QStringLiteral("0");
            return s.replace('.', ',');
        }
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

std::optional<ReportDefinition> ReportDefinition::parse(const QString& text, const QString& name,
                                                        QString* error) {
    ReportDefinition d;
    d.name = name;

    // Statements: one a line; a line that starts with a space continues the one before.
    struct Statement {
        QString text;
        int line;
    };
    std::vector<Statement> statements;
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

    bool haveKind = false;
    for (const Statement& st : statements) {
        QString problem;
        const auto fail = [&](const QString& message) {
            *error = QStringLiteral("línea %1: %2").arg(st.line).arg(message);
            return std::nullopt;
        };
        // The right-hand side is what follows the first "=" outside quotes.
        int eq = -1;
        bool inQuotes = false;
        for (int i = 0; i < st.text.size(); ++i) {
            if (st.text[i] == '"') inQuotes = !inQuotes;
            if (st.text[i] == '=' && !inQuotes) {
                eq = i;
                break;
            }
        }
        const QString head = eq < 0 ? st.text : st.text.left(eq);
        const QString rhs = eq < 0 ? QString() : st.text.mid(eq + 1).trimmed();
        const int space = head.indexOf(QRegularExpression(QStringLiteral("\\s")));
        const QString keyword = (space < 0 ? head : head.left(space)).trimmed().toLower();
        const QString rest = space < 0 ? QString() : st.text.mid(space + 1).trimmed();
        const auto words = splitWords(space < 0 ? QString() : head.mid(space + 1), &problem);
        if (!words) return fail(problem);
        const auto tmpl = [&]() -> std::optional<Template> {
            if (eq < 0) {
                problem = QStringLiteral("falta «=» y el contenido");
                return std::nullopt;
            }
            return Template::parse(rhs, &problem);
        };
        const auto needRest = [&] { return !rest.isEmpty(); };

        if (keyword == QLatin1String("report")) {
            const QString k = words->value(0).toLower();
            if (k == QLatin1String("list"))
                d.kind = Kind::List;
            else if (k == QLatin1String("document"))
                d.kind = Kind::Document;
            else if (k == QLatin1String("lines"))
                d.kind = Kind::Lines;
            else
                return fail(QStringLiteral("tipo de informe desconocido «%1» (list, document, "
                                           "lines)")
                                .arg(words->value(0)));
            haveKind = true;
        } else if (keyword == QLatin1String("title")) {
            d.title = unquote(rest);
        } else if (keyword == QLatin1String("heading")) {
            d.heading = unquote(rest);
        } else if (keyword == QLatin1String("landscape")) {
            d.landscape = true;
        } else if (keyword == QLatin1String("from") || keyword == QLatin1String("where") ||
                   keyword == QLatin1String("order")) {
            if (!needRest()) return fail(QStringLiteral("«%1» sin contenido").arg(keyword));
            (keyword == QLatin1String("from")    ? d.from
             : keyword == QLatin1String("where") ? d.where
                                                 : d.order) = rest;
        } else if (keyword == QLatin1String("formula")) {
            const QString fname = words->value(0).toUpper();
            if (words->size() != 1 || !isName(fname) || rhs.isEmpty())
                return fail(QStringLiteral("se escribe: formula NOMBRE = expresión SQL"));
            d.formulas.emplace_back(fname, rhs);
        } else if (keyword == QLatin1String("column")) {
            ColumnDef c;
            if (words->size() < 2)
                return fail(
                    QStringLiteral("se escribe: column \"Título\" ancho [formato] [total] "
                                   "[wrap] = contenido"));
            c.heading = words->at(0);
            bool ok = false;
            c.width = words->at(1).toDouble(&ok);
            if (!ok || c.width <= 0 || c.width > 1000)
                return fail(QStringLiteral("ancho de columna no válido «%1»").arg(words->at(1)));
            for (int i = 2; i < words->size(); ++i) {
                const QString w = words->at(i).toLower();
                if (w == QLatin1String("total"))
                    c.total = true;
                else if (w == QLatin1String("wrap"))
                    c.wrap = true;
                else if (const auto f = formatNamed(w))
                    c.format = *f;
                else
                    return fail(QStringLiteral("palabra desconocida «%1»").arg(words->at(i)));
            }
            const auto t = tmpl();
            if (!t) return fail(problem);
            c.value = *t;
            if (c.total && !c.value.isSingleField())
                return fail(QStringLiteral("una columna con total debe tener un solo campo"));
            d.columns.push_back(c);
        } else if (keyword == QLatin1String("group")) {
            GroupDef g;
            g.label = words->value(0);
            for (int i = 1; i < words->size(); ++i) {
                if (words->at(i).toLower() != QLatin1String("count"))
                    return fail(QStringLiteral("palabra desconocida «%1»").arg(words->at(i)));
                g.count = true;
            }
            const auto t = tmpl();
            if (!t) return fail(problem);
            g.key = *t;
            d.groups.push_back(g);
        } else if (keyword == QLatin1String("count")) {
            d.countNoun = unquote(rest);
            if (d.countNoun.isEmpty()) d.countNoun = QStringLiteral("registros");
        } else if (keyword == QLatin1String("field")) {
            const auto t = tmpl();
            if (!t) return fail(problem);
            d.fields.push_back({words->value(0), *t});
        } else if (keyword == QLatin1String("company") || keyword == QLatin1String("customer") ||
                   keyword == QLatin1String("record") || keyword == QLatin1String("foot")) {
            const auto t = tmpl();
            if (!t) return fail(problem);
            if (keyword == QLatin1String("company")) d.company.push_back(*t);
            if (keyword == QLatin1String("record")) d.record.push_back(*t);
            if (keyword == QLatin1String("foot")) d.foot.push_back(*t);
            if (keyword == QLatin1String("customer")) {
                if (!words->isEmpty()) d.customerTitle = words->at(0);
                d.customer.push_back(*t);
            }
        } else if (keyword == QLatin1String("section")) {
            if (words->size() != 1)
                return fail(QStringLiteral("se escribe: section FICHERO.rpt = {Tabla.Columna}"));
            const auto t = tmpl();
            if (!t) return fail(problem);
            d.sections.push_back({words->at(0), *t});
        } else if (keyword == QLatin1String("link") || keyword == QLatin1String("vat")) {
            const auto t = tmpl();
            if (!t) return fail(problem);
            (keyword == QLatin1String("link") ? d.link : d.vat) = *t;
        } else if (keyword == QLatin1String("base")) {
            if (rhs.compare(QLatin1String("sections"), Qt::CaseInsensitive) != 0) {
                const auto t = tmpl();
                if (!t) return fail(problem);
                d.base = *t;
            }
        } else {
            return fail(QStringLiteral("palabra desconocida «%1»").arg(keyword));
        }
    }

    const auto fail = [&](const QString& message) {
        *error = message;
        return std::nullopt;
    };
    if (!haveKind)
        return fail(
            QStringLiteral("falta la línea «report list», «report document» o "
                           "«report lines»"));
    if (d.from.isEmpty()) return fail(QStringLiteral("falta la línea «from» con las tablas"));
    if (d.kind != Kind::Document && d.columns.empty())
        return fail(QStringLiteral("el informe no tiene columnas"));
    if (d.kind == Kind::Lines && !d.link)
        return fail(QStringLiteral("una sección necesita la línea «link»"));
    if (d.kind != Kind::Document && (!d.sections.empty() || d.vat))
        return fail(QStringLiteral("«section» y «vat» solo valen en un documento"));
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
