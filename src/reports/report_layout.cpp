#include "reports/report_layout.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>

#include "core/percent.h"
#include "data/database.h"

namespace torvane::reports {

namespace {

QString quoted(const QString& name) {
    return '"' + QString(name).replace('"', "\"\"") + '"';
}

}  // namespace

// --- Measure ----------------------------------------------------------------------------

// A 720 dpi image gives ten device pixels per point.
Measure::Measure() : image_(1, 1, QImage::Format_RGB32) {
    image_.setDotsPerMeterX(28346);
    image_.setDotsPerMeterY(28346);
}

double Measure::width(const QString& t, double size, bool bold) {
    // The sum of the characters' advances, as the page painter places them (no kerning, no
    // shaping); each advance is asked of the font once.
    Font& f = font(size, bold);
    double w = 0;
    for (const QChar c : t) {
        const char16_t u = c.unicode();
        double* a = nullptr;
        if (u < f.latin.size()) {
            a = &f.latin[u];
        } else {
            auto it = f.other.find(u);
            if (it == f.other.end()) it = f.other.insert(u, -1);
            a = &it.value();
        }
        if (*a < 0) *a = f.metrics->horizontalAdvance(c);
        w += *a;
    }
    return w / 10.0;
}

double Measure::lineHeight(double size, bool bold) {
    const QFontMetricsF& m = *font(size, bold).metrics;
    return (m.ascent() + m.descent()) / 10.0;
}

QStringList Measure::wrap(const QString& text, double w, double size, bool bold) {
    QStringList out;
    // A word wider than the line is split where it stops fitting.
    const auto breakWord = [&](QString word) {
        QStringList parts;
        while (width(word, size, bold) > w && word.size() > 1) {
            int n = word.size() - 1;
            while (n > 1 && width(word.left(n), size, bold) > w) --n;
            parts << word.left(n);
            word = word.mid(n);
        }
        parts << word;
        return parts;
    };
    for (const QString& paragraph : QString(text).remove('\r').split('\n')) {
        if (width(paragraph, size, bold) <= w) {  // as written, spaces and all
            out << paragraph;
            continue;
        }
        QString line;
        for (const QString& word : paragraph.split(' ', Qt::SkipEmptyParts)) {
            const QString candidate = line.isEmpty() ? word : line + ' ' + word;
            if (width(candidate, size, bold) <= w) {
                line = candidate;
                continue;
            }
            if (!line.isEmpty()) out << line;
            QStringList pieces = breakWord(word);
            line = pieces.takeLast();
            out << pieces;
        }
        out << line;
    }
    while (out.size() > 1 && out.back().isEmpty()) out.removeLast();
    return out;
}

Measure::Font& Measure::font(double size, bool bold) {
    const int key = int(std::lround(size * 10)) * 2 + (bold ? 1 : 0);
    auto it = cache_.find(key);
    if (it == cache_.end()) {
        QFont f(reportFontFamily());
        f.setPointSizeF(size);
        f.setBold(bold);
        Font measured;
        measured.metrics = std::make_unique<QFontMetricsF>(f, &image_);
        measured.latin.fill(-1);
        it = cache_.emplace(key, std::move(measured)).first;
    }
    return it->second;
}

// --- Fields -----------------------------------------------------------------------------

bool ReportFields::load(QString* error) {
    QString from = def_.from;
    from.replace('(', ' ').replace(')', ' ');
    const QStringList words =
        from.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    QStringList names;
    for (int i = 0; i < words.size(); ++i)
        if (i == 0 || words[i - 1].compare(QLatin1String("JOIN"), Qt::CaseInsensitive) == 0)
            names << QString(words[i]).remove('"').remove('[').remove(']');
    for (const QString& n : names) {
        const QVariant canonical = db_.scalar(
            QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view') "
                           "AND name = ? COLLATE NOCASE"),
            {n});
        if (!canonical.isValid()) {
            *error = QStringLiteral("la tabla «%1» no existe en la base de datos").arg(n);
            return false;
        }
        tables_.emplace_back(canonical.toString(), db_.columnNames(canonical.toString()));
    }
    return true;
}

std::optional<QString> ReportFields::fieldSql(const QString& table, const QString& column,
                                              QString* error) const {
    for (const auto& [name, columns] : tables_) {
        if (name.compare(table, Qt::CaseInsensitive) != 0) continue;
        for (const QString& c : columns)
            if (c.compare(column, Qt::CaseInsensitive) == 0) return quoted(name) + '.' + quoted(c);
        *error = QStringLiteral("el campo «%1.%2» no existe").arg(table, column);
        return std::nullopt;
    }
    *error = QStringLiteral("la tabla «%1» no forma parte de este informe").arg(table);
    return std::nullopt;
}

std::optional<QString> ReportFields::formulaSql(const QString& name, QString* error) const {
    for (const auto& [n, sql] : def_.formulas)
        if (n.compare(name, Qt::CaseInsensitive) == 0) return '(' + sql + ')';
    // An amount selects by its (approximate) SQL product; it prints from exact arithmetic.
    if (const AmountDef* a = def_.amount(name)) {
        QStringList factors;
        for (const Template* t : {&a->units, &a->price}) {
            const Placeholder& p = t->placeholders().front();
            const auto sql = fieldSql(p.table, p.name, error);
            if (!sql) return std::nullopt;
            factors << QStringLiteral("IFNULL(%1, 0)").arg(*sql);
        }
        if (a->discount && !a->discount->placeholders().empty()) {
            const Placeholder& p = a->discount->placeholders().front();
            const auto sql = fieldSql(p.table, p.name, error);
            if (!sql) return std::nullopt;
            factors << QStringLiteral("(1 - IFNULL(%1, 0) / 100.0)").arg(*sql);
        }
        return '(' + factors.join(QStringLiteral(" * ")) + ')';
    }
    // A computed value selects by its SQL equivalent; it prints from exact arithmetic.
    if (const ComputedDef* c = def_.computedValue(name)) {
        QStringList terms;
        for (const auto& [sign, t] : c->terms) {
            QString sql = t.source().trimmed().replace(',', '.');
            if (!t.placeholders().empty()) {
                const Placeholder& p = t.placeholders().front();
                const auto s =
                    p.formula ? formulaSql(p.name, error) : fieldSql(p.table, p.name, error);
                if (!s) return std::nullopt;
                sql = QStringLiteral("IFNULL(%1, 0)").arg(*s);
            }
            terms << sql;
        }
        if (c->kind == ComputedDef::Kind::Percent)
            return QStringLiteral("(CASE WHEN %2 <> 0 THEN ROUND(%1 * 100.0 / %2, 1) END)")
                .arg(terms[0], terms[1]);
        QString sum = terms[0];
        for (qsizetype i = 1; i < terms.size(); ++i)
            sum += (c->terms[size_t(i)].first < 0 ? QStringLiteral(" - ") : QStringLiteral(" + ")) +
                   terms[i];
        return '(' + sum + ')';
    }
    *error = QStringLiteral("la fórmula «@%1» no está definida en este informe").arg(name);
    return std::nullopt;
}

std::optional<int> SelectList::add(const Placeholder& p, const FieldResolver& fields,
                                   QString* error) {
    const auto it = byKey.find(p.key());
    if (it != byKey.end()) return it->second;
    const auto s =
        p.formula ? fields.formulaSql(p.name, error) : fields.fieldSql(p.table, p.name, error);
    if (!s) return std::nullopt;
    sql << *s;
    return byKey[p.key()] = int(sql.size() - 1);
}

// --- Bound templates --------------------------------------------------------------------

QVariant Bound::value(const Record& r, size_t i) const {
    return cols[i] >= 0 ? r.value(cols[i]) : evals[i](r);
}

QString Bound::render(const Record& r) const {
    if (!tmpl) return {};
    return tmpl->render([&](int i) { return value(r, size_t(i)); }, fallback);
}

Money Bound::money(const Record& r) const {
    if (!tmpl) return {};
    if (!cols.empty()) return Money::fromDb(value(r, 0));
    return Money::parse(tmpl->source().trimmed()).value_or(Money());
}

namespace {

// How the value of one field is had from a row: its column, or worked out from the columns
// of the fields it is made of.
std::optional<Bound::Eval> evaluator(const Placeholder& p, SelectList& select,
                                     const ReportFields& fields, QString* error) {
    const ReportDefinition& def = fields.definition();
    const auto column = [&](const Template& part) -> std::optional<int> {
        if (part.placeholders().empty()) return -1;
        return select.add(part.placeholders().front(), fields, error);
    };
    if (const AmountDef* a = p.formula ? def.amount(p.name) : nullptr) {
        const auto u = column(a->units), pr = column(a->price);
        const auto d = a->discount ? column(*a->discount) : std::optional<int>(-1);
        if (!u || !pr || !d) return std::nullopt;
        if (*u < 0 || *pr < 0) {
            *error = QStringLiteral("«amount %1» lleva campos de unidades y precio").arg(a->name);
            return std::nullopt;
        }
        return [u = *u, pr = *pr, d = *d](const Record& r) {
            const Money price = Money::fromDb(r.value(pr));
            const Quantity units = Quantity::fromDb(r.value(u));
            const Quantity discount = d >= 0 ? Quantity::fromDb(r.value(d)) : Quantity();
            return (price * units).lessPercent(discount).roundCents().toDb();
        };
    }
    if (const ComputedDef* c = p.formula ? def.computedValue(p.name) : nullptr) {
        std::vector<std::pair<int, Bound::Eval>> terms;
        for (const auto& [sign, t] : c->terms) {
            if (t.placeholders().empty()) {
                const Money constant = Money::parse(t.source().trimmed()).value_or(Money());
                terms.emplace_back(sign, [constant](const Record&) { return constant.toDb(); });
                continue;
            }
            auto e = evaluator(t.placeholders().front(), select, fields, error);
            if (!e) return std::nullopt;
            terms.emplace_back(sign, std::move(*e));
        }
        if (c->kind == ComputedDef::Kind::Percent)
            return [terms](const Record& r) -> QVariant {
                const Money part = Money::fromDb(terms[0].second(r));
                const Money whole = Money::fromDb(terms[1].second(r));
                if (whole.isZero()) return {};
                return percentOf(part, whole, 1).toDouble();
            };
        return [terms](const Record& r) {
            Money sum;
            for (const auto& [sign, e] : terms)
                sum += sign < 0 ? -Money::fromDb(e(r)) : Money::fromDb(e(r));
            return sum.toDb();
        };
    }
    const auto col = select.add(p, fields, error);
    if (!col) return std::nullopt;
    return [col = *col](const Record& r) { return r.value(col); };
}

}  // namespace

std::optional<Bound> bind(const Template& t, ValueFormat fallback, SelectList& select,
                          const ReportFields& fields, QString* error) {
    Bound b;
    b.tmpl = &t;
    b.fallback = fallback;
    const ReportDefinition& def = fields.definition();
    for (const Placeholder& p : t.placeholders()) {
        const bool worked =
            p.formula && (def.amount(p.name) != nullptr || def.computedValue(p.name) != nullptr);
        if (!worked) {
            const auto col = select.add(p, fields, error);
            if (!col) return std::nullopt;
            b.cols.push_back(*col);
            b.evals.emplace_back();
            continue;
        }
        auto e = evaluator(p, select, fields, error);
        if (!e) return std::nullopt;
        b.cols.push_back(-1);
        b.evals.push_back(std::move(*e));
    }
    return b;
}

void forEachRecord(Database& db, const ReportDefinition& def, const SelectList& select,
                   const QStringList& conditions, const QVariantList& params,
                   const std::function<bool(const Record&)>& each) {
    QStringList cols;
    for (int i = 0; i < select.sql.size(); ++i)
        cols << QStringLiteral("%1 AS c%2").arg(select.sql[i]).arg(i);
    if (cols.isEmpty()) cols << QStringLiteral("1");
    QStringList where = conditions;
    if (!def.where.isEmpty()) where.prepend('(' + def.where + ')');
    QString sql =
        QStringLiteral("SELECT %1 FROM %2").arg(cols.join(QStringLiteral(", ")), def.from);
    if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    if (!def.groupBy.isEmpty()) sql += QStringLiteral(" GROUP BY ") + def.groupBy;
    if (!def.having.isEmpty()) sql += QStringLiteral(" HAVING ") + def.having;
    if (!def.order.isEmpty()) sql += QStringLiteral(" ORDER BY ") + def.order;
    QSqlQuery q = db.execForward(sql, params);
    const int n = q.record().count();
    Record r;
    while (q.next()) {
        r.clear();
        r.reserve(n);
        for (int i = 0; i < n; ++i) r << q.value(i);
        if (!each(r)) return;
    }
}

std::vector<Record> fetch(Database& db, const ReportDefinition& def, const SelectList& select,
                          const QStringList& conditions, const QVariantList& params) {
    std::vector<Record> out;
    forEachRecord(db, def, select, conditions, params, [&](const Record& r) {
        out.push_back(r);
        return true;
    });
    return out;
}

// --- Pages ------------------------------------------------------------------------------

void Pages::text(double x, double y, double w, double h, const QString& t, double size, bool bold,
                 Qt::Alignment align) {
    if (t.isEmpty()) return;
    PageItem it;
    it.rect = QRectF(x, y, w, h);
    it.text = t;
    it.size = size;
    it.bold = bold;
    it.align = align;
    pages_.back().items.push_back(it);
}

void Pages::line(double x1, double y, double x2) {
    PageItem it;
    it.kind = PageItem::Kind::Line;
    it.rect = QRectF(QPointF(x1, y), QPointF(x2, y));
    pages_.back().items.push_back(it);
}

void Pages::box(const QRectF& r) {
    PageItem it;
    it.kind = PageItem::Kind::Box;
    it.rect = r;
    pages_.back().items.push_back(it);
}

void Pages::qr(const QRectF& r, const QString& payload) {
    PageItem it;
    it.kind = PageItem::Kind::Qr;
    it.rect = r;
    it.text = payload;
    pages_.back().items.push_back(it);
}

std::vector<Page> Pages::finish(bool numbered, bool complete) {
    const int total = int(pages_.size());
    for (int i = 0; numbered && i < total; ++i) {
        PageItem it;
        it.rect = QRectF(kMargin, paper_.height() - kMargin - 12, paper_.width() - 2 * kMargin, 12);
        it.text = complete ? QStringLiteral("Página %1 de %2").arg(i + 1).arg(total)
                           : QStringLiteral("Página %1").arg(i + 1);
        it.size = 8;
        it.align = Qt::AlignHCenter;
        pages_[size_t(i)].items.push_back(it);
    }
    return std::move(pages_);
}

// --- Tables -----------------------------------------------------------------------------

Table::Table(const std::vector<ColumnDef>& columns, double left, double width) {
    double sum = 0;
    for (const ColumnDef& c : columns) sum += c.width;
    double at = left;
    for (const ColumnDef& c : columns) {
        const double cw = width * c.width / sum;
        x.push_back(at);
        w.push_back(cw);
        at += cw;
        const bool right = c.format == ValueFormat::Money || c.format == ValueFormat::Number ||
                           c.format == ValueFormat::Integer;
        align.push_back(right ? Qt::AlignRight : Qt::AlignLeft);
    }
}

std::vector<QStringList> Table::cells(const QStringList& texts, Measure& m, double size,
                                      bool bold) const {
    std::vector<QStringList> out;
    for (size_t i = 0; i < x.size(); ++i)
        out.push_back(m.wrap(texts.value(int(i)), w[i] - 2 * kPad, size, bold));
    return out;
}

double Table::height(const std::vector<QStringList>& cells, double lineHeight) {
    int lines = 1;
    for (const QStringList& c : cells) lines = std::max(lines, int(c.size()));
    return lines * lineHeight;
}

void Table::draw(Pages& p, double y, const std::vector<QStringList>& cells, double size, bool bold,
                 double lineHeight) const {
    for (size_t i = 0; i < cells.size(); ++i)
        for (int l = 0; l < cells[i].size(); ++l)
            p.text(x[i] + kPad, y + l * lineHeight, w[i] - 2 * kPad, lineHeight, cells[i][l], size,
                   bold, align[i]);
}

double Table::drawTotals(Pages& p, double y, const QString& label,
                         const std::vector<ColumnDef>& cols, const std::vector<Money>& sums,
                         Measure& m, double size) const {
    size_t first = cols.size();
    for (size_t i = 0; i < cols.size(); ++i)
        if (cols[i].total) {
            first = std::min(first, i);
            p.text(x[i] + kPad, y, w[i] - 2 * kPad, 12, formatSum(sums[i], cols[i].format), size,
                   true, align[i]);
        }
    const double right = first < cols.size() ? x[first] : x.back() + w.back();
    const double left = x.front();
    const QStringList lines = m.wrap(label, right - left - 2 * kPad, size, true);
    for (int l = 0; l < lines.size(); ++l)
        p.text(left + kPad, y + l * 12, right - left - 2 * kPad, 12, lines[l], size, true);
    return lines.size() * 12;
}

QStringList headingsOf(const std::vector<ColumnDef>& cols) {
    QStringList out;
    for (const ColumnDef& c : cols) out << c.heading;
    return out;
}

void growingText(Pages& p, Measure& m, double x, double* y, double w, const QString& t, double size,
                 bool bold, double lineHeight, Qt::Alignment align) {
    for (const QString& l : m.wrap(t, w, size, bold)) {
        p.text(x, *y, w, lineHeight, l, size, bold, align);
        *y += lineHeight;
    }
}

QString formatSum(Money m, ValueFormat format) {
    return format == ValueFormat::Money ? m.format() : formatValue(m.toDb(), format);
}

// --- Context ----------------------------------------------------------------------------

bool LayoutContext::damaged(const QString& name, const QString& problem) {
    error = QStringLiteral("El informe \"%1\" está dañado y no se puede imprimir (%2).")
                .arg(name, problem);
    return false;
}

bool LayoutContext::noData(const QString& name) {
    error =
        QStringLiteral("No hay datos que imprimir en el informe \"%1\" con la selección indicada.")
            .arg(name);
    return false;
}

QString LayoutContext::companyName() {
    return db.scalar(QStringLiteral("SELECT Nombre FROM DatosEmpresa ORDER BY rowid LIMIT 1"))
        .toString();
}

std::unique_ptr<ReportLayout> layoutFor(ReportDefinition::Kind kind, LayoutContext& ctx) {
    switch (kind) {
        case ReportDefinition::Kind::List:
            return makeListLayout(ctx);
        case ReportDefinition::Kind::Document:
            return makeDocumentLayout(ctx);
        case ReportDefinition::Kind::Ticket:
            return makeTicketLayout(ctx);
        case ReportDefinition::Kind::Receipt:
            return makeReceiptLayout(ctx);
        case ReportDefinition::Kind::Labels:
            return makeLabelsLayout(ctx);
        case ReportDefinition::Kind::Lines:
            break;
    }
    return nullptr;
}

}  // namespace torvane::reports
