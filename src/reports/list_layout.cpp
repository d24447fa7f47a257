// Listings: a table of columns on A4, with group headers and subtotals.

#include "core/format.h"
#include "reports/list_table.h"
#include "reports/report_layout.h"

namespace torvane::reports {

namespace {

// A cell as data: the field's own value when the column is one field, else its text.
ListCell cellOf(const Bound& b, const ColumnDef& c, const Record& r, const QString& shown) {
    if (!b.tmpl || !b.tmpl->isSingleField()) return ListCell::ofText(shown);
    const QVariant v = b.value(r, 0);
    if (!v.isValid() || v.isNull()) return {};
    ListCell cell;
    switch (b.tmpl->placeholders().front().format.value_or(c.format)) {
        case ValueFormat::Text:
            return ListCell::ofText(shown);
        case ValueFormat::Money:
            return ListCell::ofAmount(Money::fromDb(v).roundCents());
        case ValueFormat::Number:
            cell.kind = ListCell::Kind::Number;
            cell.number = Money::fromDb(v).roundCents().toDouble();
            return cell;
        case ValueFormat::Integer:
            cell.kind = ListCell::Kind::Number;
            cell.number = double(std::llround(v.toDouble()));
            return cell;
        case ValueFormat::Date:
            cell.date = v.typeId() == QMetaType::QDate
                            ? v.toDate()
                            : QDate::fromString(v.toString().left(10), Qt::ISODate);
            if (!cell.date.isValid()) return ListCell::ofText(shown);
            cell.kind = ListCell::Kind::Date;
            return cell;
    }
    return ListCell::ofText(shown);
}

class ListLayout : public ContextLayout {
  public:
    using ContextLayout::ContextLayout;

    bool render(const Loaded& rep, const SqlCondition& cond, const QString& selection,
                RenderedReport* out) override {
        const ReportDefinition& def = rep.def;
        Measure& measure = ctx_.measure;
        SelectList select;
        QString problem;
        std::vector<Bound> cols, groups;
        for (const ColumnDef& c : def.columns) {
            const auto b = bind(c.value, c.format, select, *rep.fields, &problem);
            if (!b) return ctx_.damaged(def.name, problem);
            cols.push_back(*b);
        }
        for (const GroupDef& g : def.groups) {
            const auto b = bind(g.key, ValueFormat::Text, select, *rep.fields, &problem);
            if (!b) return ctx_.damaged(def.name, problem);
            groups.push_back(*b);
        }
        Pages pages(out->paperSize());
        const double left = kMargin, width = pages.width() - 2 * kMargin;
        const Table table(def.columns, left, width);
        const QString company = ctx_.companyName();
        const QString noun = def.countNoun.isEmpty() ? QStringLiteral("registros") : def.countNoun;
        const double rowH = 11.5, size = 8;
        double y = 0;
        std::vector<QString> openKeys;  // keys of the groups currently open
        auto data = std::make_shared<ListTable>();
        data->title = out->title;
        for (const ColumnDef& c : def.columns)
            data->columns.push_back({c.heading, c.format, c.total});
        const auto totalRow = [&](ListTable::RowKind kind, int level, const QString& label,
                                  const std::vector<Money>& sums) {
            ListTable::Row row = data->labelled(kind, level, label);
            for (size_t i = 0; i < def.columns.size(); ++i)
                if (def.columns[i].total) row.cells[i] = ListCell::ofAmount(sums[i]);
            data->rows.push_back(std::move(row));
        };

        const auto headings = [&] {
            const auto cells = table.cells(headingsOf(def.columns), measure, size, true);
            const double h = Table::height(cells, rowH);
            table.draw(pages, y, cells, size, true, rowH);
            y += h + 1;
            pages.line(left, y, left + width);
            y += 3;
        };
        const auto groupHeader = [&](size_t level, const QString& key, bool continued) {
            const GroupDef& g = def.groups[level];
            QString text = g.label.isEmpty() ? key : g.label + QStringLiteral(": ") + key;
            if (continued)
                text += QStringLiteral(" (continuación)");
            else
                data->rows.push_back(
                    data->labelled(ListTable::RowKind::GroupHeader, int(level), text));
            y += 3;
            const double indent = kPad + level * 8;
            for (const QString& l : measure.wrap(text, width - 2 * indent, 9, true)) {
                pages.text(left + indent, y, width - 2 * indent, 13, l, 9, true);
                y += 13;
            }
            y += 1;
        };
        const auto newPage = [&] {
            pages.newPage();
            y = kMargin;
            pages.text(left, y, width / 2, 12, company, 9, true);
            pages.text(left + width / 2, y, width / 2, 12,
                       QStringLiteral("Fecha: %1").arg(formatDate(ctx_.printDate)), 9, false,
                       Qt::AlignRight);
            y += 16;
            for (const QString& l : measure.wrap(out->title, width, 13, true)) {
                pages.text(left, y, width, 18, l, 13, true, Qt::AlignHCenter);
                y += 19;
            }
            if (!selection.isEmpty()) {
                for (const QString& l : measure.wrap(selection, width, 9, false)) {
                    pages.text(left, y, width, 12, l, 9, false, Qt::AlignHCenter);
                    y += 13;
                }
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
            std::vector<Money> sums;
        };
        const auto freshAcc = [&] { return Acc{0, std::vector<Money>(ncols)}; };
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
                totalRow(ListTable::RowKind::GroupTotal, int(level), label, acc.sums);
                ensure(16);
                pages.line(left, y + 1, left + width);
                y +=
                    table.drawTotals(pages, y + 2, label, def.columns, acc.sums, measure, size) + 5;
            }
            openKeys.pop_back();
        };

        newPage();
        // Rows are laid out as they are read, so a first look stops after its pages.
        bool complete = true;
        const auto each = [&](const Record& r) {
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
            ListTable::Row row;
            for (size_t i = 0; i < cols.size(); ++i)
                row.cells.push_back(cellOf(cols[i], def.columns[i], r, texts[int(i)]));
            data->rows.push_back(std::move(row));
            const auto cells = table.cells(texts, measure, size, false);
            const double h = Table::height(cells, rowH);
            ensure(h);
            table.draw(pages, y, cells, size, false, rowH);
            y += h;
            for (size_t i = 0; i < ncols; ++i) {
                if (!def.columns[i].total) continue;
                // Each row as printed (to the cent) so the total is the sum of what is shown.
                const Money v = Money::fromDb(cols[i].value(r, 0)).roundCents();
                grand.sums[i] += v;
                for (Acc& a : groupAcc) a.sums[i] += v;
            }
            grand.count++;
            for (Acc& a : groupAcc) a.count++;
            return true;
        };
        const auto limited = [&](const Record& r) {
            if (ctx_.pageLimit > 0 && pages.count() > ctx_.pageLimit) {
                complete = false;
                return false;
            }
            return each(r);
        };
        forEachRecord(ctx_.db, def, select,
                      cond.sql.isEmpty() ? QStringList() : QStringList{cond.sql}, cond.params,
                      limited);
        if (!complete) {
            out->pages = pages.finish(true, false);
            out->pages.resize(size_t(ctx_.pageLimit));
            out->complete = false;
            out->table = std::move(data);  // tells a preview the listing can be exported
            return true;
        }
        while (!openKeys.empty()) closeGroup(openKeys.size() - 1);
        if (anyTotal || !def.countNoun.isEmpty()) {
            QString label = anyTotal ? QStringLiteral("Total general") : QStringLiteral("Total");
            if (!def.countNoun.isEmpty())
                label += anyTotal ? QStringLiteral(" (%1 %2)").arg(grand.count).arg(noun)
                                  : QStringLiteral(": %1 %2").arg(grand.count).arg(noun);
            // An empty listing exports its header alone.
            if (grand.count > 0) totalRow(ListTable::RowKind::GrandTotal, 0, label, grand.sums);
            ensure(20);
            y += 3;
            pages.line(left, y, left + width);
            y += table.drawTotals(pages, y + 2, label, def.columns, grand.sums, measure, size) + 4;
        }
        out->pages = pages.finish();
        out->table = std::move(data);
        return true;
    }
};

}  // namespace

std::unique_ptr<ReportLayout> makeListLayout(LayoutContext& ctx) {
    return std::make_unique<ListLayout>(ctx);
}

}  // namespace torvane::reports
