#include "reports/report_engine.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QRegularExpression>
#include <QSqlRecord>
#include <QStringDecoder>
#include <cmath>
#include <map>
#include <memory>

#include "core/format.h"
#include "data/database.h"
#include "reports/report_definition.h"
#include "reports/selection_formula.h"

namespace torvane::reports {

namespace {

constexpr double kMargin = 36;
constexpr double kPad = 3;

QString quoted(const QString& name) {
    return '"' + QString(name).replace('"', "\"\"") + '"';
}

// Text measurement in points, independent of the screen: a 720 dpi image
// gives ten device pixels per point.
class Measure {
  public:
    Measure() : image_(1, 1, QImage::Format_RGB32) {
        image_.setDotsPerMeterX(28346);
        image_.setDotsPerMeterY(28346);
    }
    double width(const QString& t, double size, bool bold) {
        return metrics(size, bold).horizontalAdvance(t) / 10.0;
    }
    QString elide(const QString& t, double w, double size, bool bold) {
        if (width(t, size, bold) <= w) return t;
        return metrics(size, bold).elidedText(t, Qt::ElideRight, w * 10.0);
    }
    QStringList wrap(const QString& text, double w, double size, bool bold) {
        QStringList out;
        for (const QString& paragraph : QString(text).remove('\r').split('\n')) {
            QString line;
            for (const QString& word : paragraph.split(' ', Qt::SkipEmptyParts)) {
                const QString candidate = line.isEmpty() ? word : line + ' ' + word;
                if (line.isEmpty() || width(candidate, size, bold) <= w) {
                    line = candidate;
                } else {
                    out << elide(line, w, size, bold);
                    line = word;
                }
            }
            out << elide(line, w, size, bold);
        }
        while (out.size() > 1 && out.back().isEmpty()) out.removeLast();
        return out;
    }

  private:
    QFontMetricsF& metrics(double size, bool bold) {
        const int key = int(std::lround(size * 10)) * 2 + (bold ? 1 : 0);
        auto it = cache_.find(key);
        if (it == cache_.end()) {
            QFont f(reportFontFamily());
            f.setPointSizeF(size);
            f.setBold(bold);
            it = cache_.emplace(key, std::make_unique<QFontMetricsF>(f, &image_)).first;
        }
        return *it->second;
    }
    QImage image_;
    std::map<int, std::unique_ptr<QFontMetricsF>> cache_;
};

// The fields a definition may name: the columns of the tables in its "from"
// and its own formulas. Everything else is refused by name.
class ReportFields : public FieldResolver {
  public:
    ReportFields(Database& db, const ReportDefinition& def) : db_(db), def_(def) {}

    bool load(QString* error) {
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

    std::optional<QString> fieldSql(const QString& table, const QString& column,
                                    QString* error) const override {
        for (const auto& [name, columns] : tables_) {
            if (name.compare(table, Qt::CaseInsensitive) != 0) continue;
            for (const QString& c : columns)
                if (c.compare(column, Qt::CaseInsensitive) == 0)
                    return quoted(name) + '.' + quoted(c);
            *error = QStringLiteral("el campo «%1.%2» no existe").arg(table, column);
            return std::nullopt;
        }
        *error = QStringLiteral("la tabla «%1» no forma parte de este informe").arg(table);
        return std::nullopt;
    }

    std::optional<QString> formulaSql(const QString& name, QString* error) const override {
        for (const auto& [n, sql] : def_.formulas)
            if (n.compare(name, Qt::CaseInsensitive) == 0) return '(' + sql + ')';
        *error = QStringLiteral("la fórmula «@%1» no está definida en este informe").arg(name);
        return std::nullopt;
    }

  private:
    Database& db_;
    const ReportDefinition& def_;
    std::vector<std::pair<QString, QStringList>> tables_;
};

// The SELECT list of one query: each distinct field once.
struct SelectList {
    QStringList sql;
    std::map<QString, int> byKey;

    std::optional<int> add(const Placeholder& p, const FieldResolver& fields, QString* error) {
        const auto it = byKey.find(p.key());
        if (it != byKey.end()) return it->second;
        const auto s =
            p.formula ? fields.formulaSql(p.name, error) : fields.fieldSql(p.table, p.name, error);
        if (!s) return std::nullopt;
        sql << *s;
        return byKey[p.key()] = int(sql.size() - 1);
    }
};

using Record = QVariantList;

// A template tied to the columns of a query result.
struct Bound {
    const Template* tmpl = nullptr;
    std::vector<int> cols;
    ValueFormat fallback = ValueFormat::Text;

    QString render(const Record& r) const {
        if (!tmpl) return {};
        return tmpl->render([&](int i) { return r.value(cols[size_t(i)]); }, fallback);
    }
    // The value of the template's only field, or its text read as a number.
    double number(const Record& r) const {
        if (!tmpl) return 0;
        if (!cols.empty()) return r.value(cols[0]).toDouble();
        return tmpl->source().trimmed().replace(',', '.').toDouble();
    }
};

std::optional<Bound> bind(const Template& t, ValueFormat fallback, SelectList& select,
                          const FieldResolver& fields, QString* error) {
    Bound b{&t, {}, fallback};
    for (const Placeholder& p : t.placeholders()) {
        const auto col = select.add(p, fields, error);
        if (!col) return std::nullopt;
        b.cols.push_back(*col);
    }
    return b;
}

std::vector<Record> fetch(Database& db, const ReportDefinition& def, const SelectList& select,
                          const QStringList& conditions, const QVariantList& params) {
    QStringList cols;
    for (int i = 0; i < select.sql.size(); ++i)
        cols << QStringLiteral("%1 AS c%2").arg(select.sql[i]).arg(i);
    if (cols.isEmpty()) cols << QStringLiteral("1");
    QStringList where = conditions;
    if (!def.where.isEmpty()) where.prepend('(' + def.where + ')');
    QString sql =
        QStringLiteral("SELECT %1 FROM %2").arg(cols.join(QStringLiteral(", ")), def.from);
    if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    if (!def.order.isEmpty()) sql += QStringLiteral(" ORDER BY ") + def.order;
    QSqlQuery q = db.execForward(sql, params);
    std::vector<Record> out;
    const int n = q.record().count();
    while (q.next()) {
        Record r;
        r.reserve(n);
        for (int i = 0; i < n; ++i) r << q.value(i);
        out.push_back(std::move(r));
    }
    return out;
}

// Pages under construction.
class Pages {
  public:
    explicit Pages(QSizeF paper) : paper_(paper) {}
    double width() const { return paper_.width(); }
    double bottom() const { return paper_.height() - kMargin - 20; }
    void newPage() { pages_.emplace_back(); }
    bool empty() const { return pages_.empty(); }
    void text(double x, double y, double w, double h, const QString& t, double size = 8.5,
              bool bold = false, Qt::Alignment align = Qt::AlignLeft) {
        if (t.isEmpty()) return;
        PageItem it;
        it.rect = QRectF(x, y, w, h);
        it.text = t;
        it.size = size;
        it.bold = bold;
        it.align = align;
        pages_.back().items.push_back(it);
    }
    void line(double x1, double y, double x2) {
        PageItem it;
        it.kind = PageItem::Kind::Line;
        it.rect = QRectF(QPointF(x1, y), QPointF(x2, y));
        pages_.back().items.push_back(it);
    }
    void box(const QRectF& r) {
        PageItem it;
        it.kind = PageItem::Kind::Box;
        it.rect = r;
        pages_.back().items.push_back(it);
    }
    // "Página N de M" at the foot of every page, once the count is known.
    std::vector<Page> finish() {
        const int total = int(pages_.size());
        for (int i = 0; i < total; ++i) {
            PageItem it;
            it.rect =
                QRectF(kMargin, paper_.height() - kMargin - 12, paper_.width() - 2 * kMargin, 12);
            it.text = QStringLiteral("Página %1 de %2").arg(i + 1).arg(total);
            it.size = 8;
            it.align = Qt::AlignHCenter;
            pages_[size_t(i)].items.push_back(it);
        }
        return std::move(pages_);
    }

  private:
    QSizeF paper_;
    std::vector<Page> pages_;
};

// Column geometry of a table of lines.
struct Table {
    std::vector<double> x, w;
    std::vector<Qt::Alignment> align;
    std::vector<bool> wrap;

    Table(const std::vector<ColumnDef>& columns, double left, double width) {
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
            wrap.push_back(c.wrap);
        }
    }

    // Lines of each cell after cutting or wrapping to the column.
    std::vector<QStringList> cells(const QStringList& texts, Measure& m, double size,
                                   bool bold) const {
        std::vector<QStringList> out;
        for (size_t i = 0; i < x.size(); ++i) {
            const double avail = w[i] - 2 * kPad;
            const QString t = texts.value(int(i));
            out.push_back(
                wrap[i] ? m.wrap(t, avail, size, bold)
                        : QStringList{m.elide(QString(t).replace('\n', ' '), avail, size, bold)});
        }
        return out;
    }
    static double height(const std::vector<QStringList>& cells, double lineHeight) {
        int lines = 1;
        for (const QStringList& c : cells) lines = std::max(lines, int(c.size()));
        return lines * lineHeight;
    }
    void draw(Pages& p, double y, const std::vector<QStringList>& cells, double size, bool bold,
              double lineHeight) const {
        for (size_t i = 0; i < cells.size(); ++i)
            for (int l = 0; l < cells[i].size(); ++l)
                p.text(x[i] + kPad, y + l * lineHeight, w[i] - 2 * kPad, lineHeight, cells[i][l],
                       size, bold, align[i]);
    }
    // A total row: a label on the left, the sums under their columns.
    void drawTotals(Pages& p, double y, const QString& label, const std::vector<ColumnDef>& cols,
                    const std::vector<double>& sums, Measure& m, double size) const {
        size_t first = cols.size();
        for (size_t i = 0; i < cols.size(); ++i)
            if (cols[i].total) {
                first = std::min(first, i);
                p.text(x[i] + kPad, y, w[i] - 2 * kPad, 12, formatValue(sums[i], cols[i].format),
                       size, true, align[i]);
            }
        const double right = first < cols.size() ? x[first] : x.back() + w.back();
        const double left = x.front();
        p.text(left + kPad, y, right - left - 2 * kPad, 12,
               m.elide(label, right - left - 2 * kPad, size, true), size, true);
    }
};

QStringList headingsOf(const std::vector<ColumnDef>& cols) {
    QStringList out;
    for (const ColumnDef& c : cols) out << c.heading;
    return out;
}

struct Loaded {
    ReportDefinition def;
    std::unique_ptr<ReportFields> fields;
};

class Renderer {
  public:
    Renderer(Database& db, const QStringList& folders, QDate printDate)
        : db_(db), folders_(folders), printDate_(printDate) {}

    QString error;

    std::unique_ptr<Loaded> load(const QString& file) {
        const QString name = reportFileName(file);
        const QString path = findReportFile(name, folders_);
        if (path.isEmpty()) {
            error = QStringLiteral("No se encuentra el informe \"%1\" en la carpeta del programa.")
                        .arg(name);
            return nullptr;
        }
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("No se puede leer el informe \"%1\": %2.")
                        .arg(name, f.errorString());
            return nullptr;
        }
        const QByteArray bytes = f.readAll();
        auto decoder = QStringDecoder(QStringDecoder::Utf8);
        QString text = decoder(bytes);
        if (decoder.hasError()) text = QString::fromLatin1(bytes);  // an old editor's file
        auto out = std::make_unique<Loaded>();
        QString problem;
        const auto def = ReportDefinition::parse(text, name, &problem);
        if (!def) {
            error = damaged(name, problem);
            return nullptr;
        }
        out->def = *def;
        out->fields = std::make_unique<ReportFields>(db_, out->def);
        if (!out->fields->load(&problem)) {
            error = damaged(name, problem);
            return nullptr;
        }
        return out;
    }

    static QString damaged(const QString& name, const QString& problem) {
        return QStringLiteral("El informe \"%1\" está dañado y no se puede imprimir (%2).")
            .arg(name, problem);
    }

    std::optional<RenderedReport> render(const Loaded& rep, const SelectionFormula& formula) {
        const ReportDefinition& def = rep.def;
        QString problem;
        const auto condition = formula.toSql(*rep.fields, &problem);
        if (!condition) {
            error = QStringLiteral(
                        "La fórmula de selección del informe \"%1\" no es válida: %2."
                        "\n\nFórmula: %3")
                        .arg(def.name, problem, formula.text().trimmed());
            return std::nullopt;
        }
        RenderedReport out;
        out.name = def.name;
        out.title = def.title.isEmpty() ? def.name : def.title;
        out.landscape = def.landscape;
        bool ok = false;
        if (def.kind == ReportDefinition::Kind::Document)
            ok = renderDocument(rep, *condition, &out);
        else
            ok = renderList(rep, *condition, formula.describe(), &out);
        if (!ok) return std::nullopt;
        return out;
    }

  private:
    QString companyName() {
        return db_.scalar(QStringLiteral("SELECT Nombre FROM DatosEmpresa ORDER BY rowid LIMIT 1"))
            .toString();
    }

    bool definitionProblem(const QString& name, const QString& problem) {
        error = damaged(name, problem);
        return false;
    }

    bool renderList(const Loaded& rep, const SqlCondition& cond, const QString& selection,
                    RenderedReport* out) {
        const ReportDefinition& def = rep.def;
        SelectList select;
        QString problem;
        std::vector<Bound> cols, groups;
        for (const ColumnDef& c : def.columns) {
            const auto b = bind(c.value, c.format, select, *rep.fields, &problem);
            if (!b) return definitionProblem(def.name, problem);
            cols.push_back(*b);
        }
        for (const GroupDef& g : def.groups) {
            const auto b = bind(g.key, ValueFormat::Text, select, *rep.fields, &problem);
            if (!b) return definitionProblem(def.name, problem);
            groups.push_back(*b);
        }
        const std::vector<Record> records =
            fetch(db_, def, select, cond.sql.isEmpty() ? QStringList() : QStringList{cond.sql},
                  cond.params);

        Pages pages(out->paperSize());
        const double left = kMargin, width = pages.width() - 2 * kMargin;
        const Table table(def.columns, left, width);
        const QString company = companyName();
        const QString noun = def.countNoun.isEmpty() ? QStringLiteral("registros") : def.countNoun;
        const double rowH = 11.5, size = 8;
        double y = 0;
        std::vector<QString> openKeys;  // keys of the groups currently open

        const auto headings = [&] {
            const auto cells = table.cells(headingsOf(def.columns), measure_, size, true);
            const double h = Table::height(cells, rowH);
            table.draw(pages, y, cells, size, true, rowH);
            y += h + 1;
            pages.line(left, y, left + width);
            y += 3;
        };
        const auto groupHeader = [&](size_t level, const QString& key, bool continued) {
            const GroupDef& g = def.groups[level];
            QString text = g.label.isEmpty() ? key : g.label + QStringLiteral(": ") + key;
            if (continued) text += QStringLiteral(" (continuación)");
            y += 3;
            pages.text(left + kPad + level * 8, y, width - 2 * kPad - level * 8, 13,
                       measure_.elide(text, width - 2 * kPad - level * 8, 9, true), 9, true);
            y += 14;
        };
        const auto newPage = [&] {
            pages.newPage();
            y = kMargin;
            pages.text(left, y, width / 2, 12, company, 9, true);
            pages.text(left + width / 2, y, width / 2, 12,
                       QStringLiteral("Fecha: %1").arg(formatDate(printDate_)), 9, false,
                       Qt::AlignRight);
            y += 16;
            pages.text(left, y, width, 18, measure_.elide(out->title, width, 13, true), 13, true,
                       Qt::AlignHCenter);
            y += 19;
            if (!selection.isEmpty()) {
                pages.text(left, y, width, 12, measure_.elide(selection, width, 9, false), 9, false,
                           Qt::AlignHCenter);
                y += 13;
            }
            y += 6;
            pages.line(left, y - 2, left + width);
            headings();
            for (size_t g = 0; g < openKeys.size(); ++g) groupHeader(g, openKeys[g], true);
        };
        const auto ensure = [&](double h) {
            if (pages.empty() || y + h > pages.bottom()) newPage();
        };

        const size_t ncols = def.columns.size();
        struct Acc {
            int count = 0;
            std::vector<double> sums;
        };
        const auto freshAcc = [&] { return Acc{0, std::vector<double>(ncols, 0.0)}; };
        std::vector<Acc> groupAcc(def.groups.size(), freshAcc());
        Acc grand = freshAcc();
        bool anyTotal = false;
        for (const ColumnDef& c : def.columns) anyTotal = anyTotal || c.total;

        const auto closeGroup = [&](size_t level) {
            const GroupDef& g = def.groups[level];
            const Acc& acc = groupAcc[level];
            if (anyTotal || g.count) {
                // A long key (a customer with NIF and phone) is named by its label.
                const QString& key = openKeys[level];
                QString label = QStringLiteral("Total %1")
                                    .arg(key.size() <= 30 || g.label.isEmpty() ? key : g.label);
                if (g.count) label += QStringLiteral(" (%1 %2)").arg(acc.count).arg(noun);
                ensure(16);
                pages.line(left, y + 1, left + width);
                table.drawTotals(pages, y + 2, label, def.columns, acc.sums, measure_, size);
                y += 17;
            }
            openKeys.pop_back();
        };

        newPage();
        for (const Record& r : records) {
            std::vector<QString> keys;
            for (const Bound& g : groups) keys.push_back(g.render(r));
            size_t level = 0;
            while (level < openKeys.size() && openKeys[level] == keys[level]) ++level;
            while (openKeys.size() > level) closeGroup(openKeys.size() - 1);
            for (size_t g = level; g < keys.size(); ++g) {
                ensure(17 + rowH);
                groupHeader(g, keys[g], false);
                openKeys.push_back(keys[g]);
                groupAcc[g] = freshAcc();
            }
            QStringList texts;
            for (const Bound& b : cols) texts << b.render(r);
            const auto cells = table.cells(texts, measure_, size, false);
            const double h = Table::height(cells, rowH);
            ensure(h);
            table.draw(pages, y, cells, size, false, rowH);
            y += h;
            for (size_t i = 0; i < ncols; ++i) {
                if (!def.columns[i].total) continue;
                const double v = roundCents(r.value(cols[i].cols[0]).toDouble());
                grand.sums[i] += v;
                for (Acc& a : groupAcc) a.sums[i] += v;
            }
            grand.count++;
            for (Acc& a : groupAcc) a.count++;
        }
        while (!openKeys.empty()) closeGroup(openKeys.size() - 1);
        if (anyTotal || !def.countNoun.isEmpty()) {
            QString label = anyTotal ? QStringLiteral("Total general") : QStringLiteral("Total");
            if (!def.countNoun.isEmpty())
                label += anyTotal ? QStringLiteral(" (%1 %2)").arg(grand.count).arg(noun)
                                  : QStringLiteral(": %1 %2").arg(grand.count).arg(noun);
            ensure(20);
            y += 3;
            pages.line(left, y, left + width);
            table.drawTotals(pages, y + 2, label, def.columns, grand.sums, measure_, size);
            y += 16;
        }
        out->pages = pages.finish();
        return true;
    }

    struct Section {
        std::unique_ptr<Loaded> rep;
        SelectList select;
        std::vector<Bound> cols;
        Bound link;             // in the parent's query
        QString linkSql;        // in the section's query
        int amountColumn = -1;  // the column whose total adds up to the base
    };

    bool renderDocument(const Loaded& rep, const SqlCondition& cond, RenderedReport* out) {
        const ReportDefinition& def = rep.def;
        QString problem;
        SelectList select;
        const auto bindAll = [&](const std::vector<Template>& ts, std::vector<Bound>* into) {
            for (const Template& t : ts) {
                const auto b = bind(t, ValueFormat::Text, select, *rep.fields, &problem);
                if (!b) return false;
                into->push_back(*b);
            }
            return true;
        };
        std::vector<Bound> customer, record, foot, fields;
        if (!bindAll(def.customer, &customer) || !bindAll(def.record, &record) ||
            !bindAll(def.foot, &foot))
            return definitionProblem(def.name, problem);
        for (const FieldDef& f : def.fields) {
            const auto b = bind(f.value, ValueFormat::Text, select, *rep.fields, &problem);
            if (!b) return definitionProblem(def.name, problem);
            fields.push_back(*b);
        }
        std::optional<Bound> base, vat;
        for (auto [t, into] : {std::pair{&def.base, &base}, std::pair{&def.vat, &vat}}) {
            if (!*t) continue;
            if ((*t)->placeholders().size() > 1 ||
                ((*t)->placeholders().size() == 1 && !(*t)->isSingleField()))
                return definitionProblem(def.name, QStringLiteral("«base» y «vat» llevan un solo "
                                                                  "campo o un número"));
            const auto b = bind(**t, ValueFormat::Number, select, *rep.fields, &problem);
            if (!b) return definitionProblem(def.name, problem);
            *into = *b;
        }

        // The company block reads DatosEmpresa, whatever the report's tables are.
        ReportDefinition companyDef;
        companyDef.from = QStringLiteral("DatosEmpresa");
        ReportFields companyFields(db_, companyDef);
        if (!companyFields.load(&problem)) return definitionProblem(def.name, problem);
        SelectList companySelect;
        std::vector<Bound> company;
        for (const Template& t : def.company) {
            const auto b = bind(t, ValueFormat::Text, companySelect, companyFields, &problem);
            if (!b) return definitionProblem(def.name, problem);
            company.push_back(*b);
        }

        std::vector<Section> sections;
        for (const SectionDef& sd : def.sections) {
            Section s;
            s.rep = load(sd.file);
            if (!s.rep) return false;
            if (s.rep->def.kind != ReportDefinition::Kind::Lines)
                return definitionProblem(sd.file, QStringLiteral("una sección es un informe "
                                                                 "«report lines»"));
            const auto link = bind(sd.link, ValueFormat::Text, select, *rep.fields, &problem);
            if (!link || link->cols.size() != 1)
                return definitionProblem(def.name, problem.isEmpty()
                                                       ? QStringLiteral("«section» lleva un campo")
                                                       : problem);
            s.link = *link;
            const auto& lt = *s.rep->def.link;
            if (!lt.isSingleField() || lt.placeholders()[0].formula)
                return definitionProblem(sd.file, QStringLiteral("«link» lleva un campo"));
            const auto linkSql = s.rep->fields->fieldSql(lt.placeholders()[0].table,
                                                         lt.placeholders()[0].name, &problem);
            if (!linkSql) return definitionProblem(sd.file, problem);
            s.linkSql = *linkSql;
            for (size_t i = 0; i < s.rep->def.columns.size(); ++i) {
                const ColumnDef& c = s.rep->def.columns[i];
                const auto b = bind(c.value, c.format, s.select, *s.rep->fields, &problem);
                if (!b) return definitionProblem(sd.file, problem);
                s.cols.push_back(*b);
                if (c.total) s.amountColumn = int(i);
            }
            sections.push_back(std::move(s));
        }

        const std::vector<Record> records =
            fetch(db_, def, select, cond.sql.isEmpty() ? QStringList() : QStringList{cond.sql},
                  cond.params);
        if (records.empty()) {
            error = QStringLiteral(
                        "No hay datos que imprimir en el informe \"%1\" con la "
                        "selección indicada.")
                        .arg(def.name);
            return false;
        }
        const std::vector<Record> companyRows = fetch(db_, companyDef, companySelect, {}, {});
        const Record companyRow = companyRows.empty() ? Record() : companyRows.front();
        const Record& first = records.front();

        Pages pages(out->paperSize());
        const double left = kMargin, width = pages.width() - 2 * kMargin, right = left + width;
        double y = kMargin;
        const double rowH = 11.5, size = 8.5;
        QString continuation = def.heading;
        if (!fields.empty()) continuation += ' ' + fields.front().render(first);
        continuation += QStringLiteral(" (continuación)");

        const Section* openSection = nullptr;
        const Table* openTable = nullptr;
        const auto sectionHead = [&](const Section& s, const Table& t, bool continued) {
            QString title = s.rep->def.title;
            if (continued) title += QStringLiteral(" (continuación)");
            pages.text(left, y, width, 14, title, 10, true);
            y += 15;
            const auto cells = t.cells(headingsOf(s.rep->def.columns), measure_, 8, true);
            const double h = Table::height(cells, rowH);
            t.draw(pages, y, cells, 8, true, rowH);
            y += h + 1;
            pages.line(left, y, right);
            y += 3;
        };
        const auto ensure = [&](double h) {
            if (y + h <= pages.bottom()) return;
            pages.newPage();
            y = kMargin;
            pages.text(left, y, width, 13, continuation, 10, true);
            y += 15;
            pages.line(left, y, right);
            y += 8;
            if (openSection) sectionHead(*openSection, *openTable, true);
        };

        pages.newPage();
        // Company block, top left.
        double cy = y;
        for (size_t i = 0; i < company.size(); ++i) {
            const QString t = company[i].render(companyRow);
            if (t.isEmpty()) continue;
            const bool firstLine = cy == y;
            const double sz = firstLine ? 12 : 8.5;
            pages.text(left, cy, width * 0.55, firstLine ? 16 : 11,
                       measure_.elide(t, width * 0.55, sz, firstLine), sz, firstLine);
            cy += firstLine ? 17 : 11;
        }
        // Document heading and its fields, top right.
        const double fx = left + width * 0.58, fw = right - fx;
        double fy = y;
        if (!def.heading.isEmpty()) {
            pages.text(fx, fy, fw, 22, def.heading, 18, true, Qt::AlignRight);
            fy += 26;
        }
        if (!fields.empty()) {
            const double top = fy;
            fy += 3;
            for (size_t i = 0; i < fields.size(); ++i) {
                pages.text(fx + 5, fy, fw * 0.45, 13, def.fields[i].label, 8.5, true);
                pages.text(fx + fw * 0.45, fy, fw * 0.55 - 5, 13,
                           measure_.elide(fields[i].render(first), fw * 0.55 - 5, 9, false), 9,
                           false, Qt::AlignRight);
                fy += 13;
            }
            fy += 3;
            pages.box(QRectF(fx, top, fw, fy - top));
        }
        y = std::max(cy, fy) + 14;
        // Customer block, right half, where a window envelope shows it.
        QStringList customerLines;
        for (const Bound& b : customer) {
            const QString t = b.render(first);
            if (!t.isEmpty()) customerLines << t;
        }
        if (!customerLines.isEmpty()) {
            const double bx = left + width * 0.5, bw = right - bx;
            pages.text(bx, y, bw, 11, def.customerTitle, 8, true);
            y += 12;
            const double top = y;
            y += 4;
            for (int i = 0; i < customerLines.size(); ++i) {
                pages.text(bx + 6, y, bw - 12, 13,
                           measure_.elide(customerLines[i], bw - 12, 9.5, i == 0), 9.5, i == 0);
                y += 13;
            }
            y += 4;
            pages.box(QRectF(bx, top, bw, y - top));
            y += 14;
        }

        double baseSum = 0;
        for (const Record& r : records) {
            QStringList recordLines;
            for (const Bound& b : record) {
                const QString t = b.render(r);
                if (!t.isEmpty()) recordLines << t;
            }
            if (!recordLines.isEmpty()) {
                ensure(recordLines.size() * 13 + 40);
                for (const QString& t : recordLines) {
                    pages.text(left, y, width, 13, measure_.elide(t, width, 9.5, true), 9.5, true);
                    y += 13;
                }
                y += 6;
            }
            for (const Section& s : sections) {
                const QVariant linkValue = r.value(s.link.cols[0]);
                const std::vector<Record> lines = fetch(
                    db_, s.rep->def, s.select, {s.linkSql + QStringLiteral(" = ?")}, {linkValue});
                if (lines.empty()) continue;
                const Table t(s.rep->def.columns, left, width);
                ensure(15 + 16 + rowH);
                sectionHead(s, t, false);
                openSection = &s;
                openTable = &t;
                std::vector<double> sums(s.cols.size(), 0.0);
                for (const Record& line : lines) {
                    QStringList texts;
                    for (const Bound& b : s.cols) texts << b.render(line);
                    const auto cells = t.cells(texts, measure_, size, false);
                    const double h = Table::height(cells, rowH);
                    ensure(h);
                    t.draw(pages, y, cells, size, false, rowH);
                    y += h;
                    for (size_t i = 0; i < s.cols.size(); ++i)
                        if (s.rep->def.columns[i].total)
                            sums[i] += roundCents(line.value(s.cols[i].cols[0]).toDouble());
                }
                openSection = nullptr;
                openTable = nullptr;
                if (s.amountColumn >= 0) {
                    ensure(16);
                    pages.line(t.x[size_t(s.amountColumn)], y + 1, right);
                    t.drawTotals(pages, y + 2,
                                 QStringLiteral("Total %1").arg(s.rep->def.title.toLower()),
                                 s.rep->def.columns, sums, measure_, size);
                    y += 16;
                    baseSum += sums[size_t(s.amountColumn)];
                }
                y += 8;
            }
        }

        if (vat) {
            double baseAmount = baseSum;
            if (base) {
                baseAmount = 0;
                for (const Record& r : records) baseAmount += roundCents(base->number(r));
            }
            const double rate = vat->number(first);
            const double vatAmount = roundCents(baseAmount * rate / 100.0);
            const double total = baseAmount + vatAmount;
            ensure(62);
            y += 6;
            const double bx = left + width * 0.55, bw = right - bx, top = y;
            const auto row = [&](const QString& label, double amount, bool bold, double sz) {
                pages.text(bx + 6, y + 2, bw * 0.55, 14, label, sz, bold);
                pages.text(bx + bw * 0.45, y + 2, bw * 0.55 - 6, 14, formatMoney(amount), sz, bold,
                           Qt::AlignRight);
                y += 16;
            };
            row(QStringLiteral("Base imponible"), baseAmount, false, 9.5);
            row(QStringLiteral("IVA %1 %").arg(formatValue(rate, ValueFormat::Number)), vatAmount,
                false, 9.5);
            pages.line(bx, y + 1, right);
            y += 2;
            row(QStringLiteral("TOTAL"), total, true, 11);
            y += 2;
            pages.box(QRectF(bx, top, bw, y - top));
            y += 12;
        }
        for (const Bound& b : foot) {
            const QString t = b.render(first);
            if (t.isEmpty()) continue;
            const QStringList lines = measure_.wrap(t, width, 8, false);
            for (const QString& l : lines) {
                ensure(11);
                pages.text(left, y, width, 11, l, 8);
                y += 11;
            }
        }
        out->pages = pages.finish();
        return true;
    }

    Database& db_;
    QStringList folders_;
    QDate printDate_;
    Measure measure_;
};

}  // namespace

ReportEngine::ReportEngine(Database& db, QStringList folders, QDate printDate)
    : db_(db), folders_(std::move(folders)), printDate_(printDate) {}

ReportEngine::Result ReportEngine::render(const QString& file, const QString& formula) {
    Result result;
    Renderer renderer(db_, folders_, printDate_);
    const QString name = reportFileName(file);
    try {
        const auto rep = renderer.load(file);
        if (!rep) {
            result.error = renderer.error;
            return result;
        }
        QString problem;
        const auto parsed = SelectionFormula::parse(formula, &problem);
        if (!parsed) {
            result.error = QStringLiteral(
                               "La fórmula de selección del informe \"%1\" no es "
                               "válida: %2.\n\nFórmula: %3")
                               .arg(name, problem, formula.trimmed());
            return result;
        }
        result.report = renderer.render(*rep, *parsed);
        if (!result.report) result.error = renderer.error;
    } catch (const DbError& e) {
        result.report.reset();
        result.error =
            QStringLiteral("No se puede preparar el informe \"%1\": %2").arg(name, e.message());
    }
    return result;
}

}  // namespace torvane::reports
