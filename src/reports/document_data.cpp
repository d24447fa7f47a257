#include "reports/document_data.h"

#include "core/percent.h"
#include "core/validation.h"
#include "verifactu/records.h"

namespace torvane::reports {

bool DocumentData::prepare(LayoutContext& ctx, const Loaded& rep, const SqlCondition& cond) {
    def = &rep.def;
    QString problem;
    const auto bindAll = [&](const std::vector<Template>& ts, std::vector<Bound>* into) {
        for (const Template& t : ts) {
            const auto b = bind(t, ValueFormat::Text, select_, *rep.fields, &problem);
            if (!b) return false;
            into->push_back(*b);
        }
        return true;
    };
    if (!bindAll(def->customer, &customer) || !bindAll(def->record, &record) ||
        !bindAll(def->foot, &foot))
        return ctx.damaged(def->name, problem);
    if (def->qr) {
        qr = bind(*def->qr, ValueFormat::Text, select_, *rep.fields, &problem);
        if (!qr) return ctx.damaged(def->name, problem);
    }
    for (const FieldDef& f : def->fields) {
        const auto b = bind(f.value, ValueFormat::Text, select_, *rep.fields, &problem);
        if (!b) return ctx.damaged(def->name, problem);
        fields.push_back(*b);
    }
    for (const TotalDef& t : def->totals) {
        std::optional<Bound> b, on;
        if (t.value) {
            b = bind(*t.value, ValueFormat::Number, select_, *rep.fields, &problem);
            if (!b) return ctx.damaged(def->name, problem);
        }
        if (t.on) {
            on = bind(*t.on, ValueFormat::Number, select_, *rep.fields, &problem);
            if (!on) return ctx.damaged(def->name, problem);
        }
        totalValues_.push_back(b);
        totalBases_.push_back(on);
    }
    configuredRate_ = verifactu::vatRate(ctx.db);

    // The company block reads DatosEmpresa, whatever the report's tables are.
    ReportDefinition companyDef;
    companyDef.from = QStringLiteral("DatosEmpresa");
    ReportFields companyFields(ctx.db, companyDef);
    if (!companyFields.load(&problem)) return ctx.damaged(def->name, problem);
    SelectList companySelect;
    for (const Template& t : def->company) {
        const auto b = bind(t, ValueFormat::Text, companySelect, companyFields, &problem);
        if (!b) return ctx.damaged(def->name, problem);
        company.push_back(*b);
    }

    for (const SectionDef& sd : def->sections) {
        SectionData s;
        s.rep = ctx.load(sd.file);
        if (!s.rep) return false;
        if (s.rep->def.kind != ReportDefinition::Kind::Lines)
            return ctx.damaged(sd.file, QStringLiteral("una sección es un informe «report lines»"));
        const auto link = bind(sd.link, ValueFormat::Text, select_, *rep.fields, &problem);
        if (!link || link->cols.size() != 1 || link->cols[0] < 0)
            return ctx.damaged(def->name, problem.isEmpty()
                                              ? QStringLiteral("«section» lleva un campo")
                                              : problem);
        s.link = *link;
        const auto& lt = *s.rep->def.link;
        if (!lt.isSingleField() || lt.placeholders()[0].formula)
            return ctx.damaged(sd.file, QStringLiteral("«link» lleva un campo"));
        const auto linkSql = s.rep->fields->fieldSql(lt.placeholders()[0].table,
                                                     lt.placeholders()[0].name, &problem);
        if (!linkSql) return ctx.damaged(sd.file, problem);
        s.linkSql = *linkSql;
        for (size_t i = 0; i < s.rep->def.columns.size(); ++i) {
            const ColumnDef& c = s.rep->def.columns[i];
            const auto b = bind(c.value, c.format, s.select, *s.rep->fields, &problem);
            if (!b) return ctx.damaged(sd.file, problem);
            s.cols.push_back(*b);
            if (c.total) s.amountColumn = int(i);
        }
        sections.push_back(std::move(s));
    }

    records = fetch(ctx.db, *def, select_,
                    cond.sql.isEmpty() ? QStringList() : QStringList{cond.sql}, cond.params);
    if (records.empty()) return ctx.noData(def->name);
    const std::vector<Record> companyRows = fetch(ctx.db, companyDef, companySelect, {}, {});
    if (!companyRows.empty()) companyRow = companyRows.front();
    return true;
}

QStringList DocumentData::lines(const std::vector<Bound>& block, const Record& r) {
    QStringList out;
    for (const Bound& b : block) {
        const QString t = b.render(r);
        if (!t.isEmpty()) out << t;
    }
    return out;
}

std::vector<Record> DocumentData::sectionLines(LayoutContext& ctx, const SectionData& s,
                                               const Record& r) const {
    return fetch(ctx.db, s.rep->def, s.select, {s.linkSql + QStringLiteral(" = ?")},
                 {r.value(s.link.cols[0])});
}

Money DocumentData::lineAmount(const SectionData& s, const Record& line) {
    if (s.amountColumn < 0) return {};
    return Money::fromDb(s.cols[size_t(s.amountColumn)].value(line, 0)).roundCents();
}

namespace {
// The rate a stored VAT was taken at: the first usual rate that gives exactly that VAT on the
// base (the one in force, the program's former 16 %, then Spain's rates of these years); then
// the first within five cents, for a VAT summed from notes each rounded on its own; else
// VAT / base to two decimals.
Quantity storedRate(Money vat, Money base, Quantity inForce) {
    vat = vat.roundCents();
    const Quantity usual[] = {inForce,
                              Quantity::whole(16),
                              Quantity::whole(21),
                              Quantity::whole(10),
                              Quantity::whole(4),
                              Quantity::whole(18),
                              Quantity::whole(8),
                              Quantity::whole(7)};
    for (const Quantity rate : usual)
        if (base.percent(rate).roundCents() == vat) return rate;
    for (const Quantity rate : usual) {
        const Money off = (base.percent(rate) - ExactAmount(vat)).roundCents();
        if (off <= Money::fromCents(5) && off >= Money::fromCents(-5)) return rate;
    }
    return base.isZero() ? inForce : percentOf(vat, base);
}
}  // namespace

// The amount so far starts at the base; a discount before any VAT lowers the taxable base
// too; VAT and withholding are taken on the taxable base, each rounded to the cent.
std::vector<TotalLine> DocumentData::totals(Money sectionsBase,
                                            const std::vector<Record>& over) const {
    std::vector<TotalLine> out;
    if (over.empty()) return out;
    const Record& first = over.front();
    Money running = sectionsBase, taxable = sectionsBase;
    bool vatSeen = false;
    for (size_t i = 0; i < def->totals.size(); ++i) {
        const TotalDef& t = def->totals[i];
        const std::optional<Bound>& value = totalValues_[i];
        Quantity rate;
        QString rateText;
        if (value && t.op != TotalDef::Op::Base && t.op != TotalDef::Op::Stored) {
            rate = Quantity::fromDb(
                value->cols.empty() ? QVariant(value->tmpl->source().trimmed().replace(',', '.'))
                                    : value->value(first, 0));
            rateText = formatValue(rate.toDouble(), ValueFormat::Number);
        } else if (t.op == TotalDef::Op::Stored && totalBases_[i]) {
            rate = storedRate(value->money(first), totalBases_[i]->money(first), configuredRate_);
            rateText = formatValue(rate.toDouble(), ValueFormat::Number);
        }
        TotalLine line;
        line.label = QString(t.label).replace(QLatin1String("{rate}"), rateText);
        line.bold = t.bold;
        Money shown;
        switch (t.op) {
            case TotalDef::Op::Base:
                if (value) {
                    running = Money();
                    for (const Record& r : over) running += value->money(r).roundCents();
                } else {
                    running = sectionsBase;
                }
                taxable = running;
                shown = running;
                break;
            case TotalDef::Op::Discount:
                shown = running.percent(rate).roundCents();
                running -= shown;
                if (!vatSeen) taxable -= shown;
                break;
            case TotalDef::Op::Vat:
                shown = taxable.percent(rate).roundCents();
                running += shown;
                vatSeen = true;
                break;
            case TotalDef::Op::Withholding:
                shown = taxable.percent(rate).roundCents();
                running -= shown;
                break;
            case TotalDef::Op::Total:
                shown = running;
                break;
            case TotalDef::Op::Words:
                line.words = true;
                line.amount = MonedaLetras(running.roundCents(), QStringLiteral("Euros"));
                out.push_back(line);
                continue;
            case TotalDef::Op::Stored: {
                // What was invoiced, as stored.
                const QVariant v = value->value(first, 0);
                if (v.isNull()) continue;
                shown = Money::fromDb(v);
                running = shown;
                break;
            }
        }
        line.amount = shown.format();
        out.push_back(line);
    }
    return out;
}

QString DocumentData::qrAddress(LayoutContext& ctx, const Record& r) const {
    if (!qr) return {};
    const verifactu::Settings settings = verifactu::loadSettings(ctx.db);
    if (!settings.enabled) return {};
    const auto alta = verifactu::altaOf(ctx.db, qr->render(r));
    if (!alta) return {};
    return verifactu::qrUrl(alta->emisor, alta->numSerie, alta->fecha, alta->importeTotal,
                            settings.mode == QLatin1String("VERI*FACTU"));
}

}  // namespace torvane::reports
