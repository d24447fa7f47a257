#include "reports/report_engine.h"

#include <QFile>
#include <QStringDecoder>
#include <memory>

#include "data/database.h"
#include "reports/report_definition.h"
#include "reports/report_layout.h"
#include "reports/selection_formula.h"

namespace torvane::reports {

namespace {

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

    std::optional<RenderedReport> render(const Loaded& rep, const SelectionFormula& formula,
                                         int pageLimit) {
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
        out.formula = formula.text();
        out.title = def.title.isEmpty() ? def.name : def.title;
        out.landscape = def.landscape;
        LayoutContext ctx(db_, printDate_, [this](const QString& f) { return load(f); });
        ctx.pageLimit = pageLimit;
        const auto layout = layoutFor(def.kind, ctx);
        if (!layout) {
            error = damaged(def.name, QStringLiteral("un informe «report lines» solo se imprime "
                                                     "como sección de un documento"));
            return std::nullopt;
        }
        const bool ok = layout->render(rep, *condition, formula.describe(), &out);
        if (!ok) {
            if (error.isEmpty()) error = ctx.error;
            return std::nullopt;
        }
        return out;
    }

  private:
    Database& db_;
    QStringList folders_;
    QDate printDate_;
};

}  // namespace

ReportEngine::ReportEngine(Database& db, QStringList folders, QDate printDate)
    : db_(db), folders_(std::move(folders)), printDate_(printDate) {}

ReportEngine::Result ReportEngine::render(const QString& file, const QString& formula,
                                          int pageLimit) {
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
        result.report = renderer.render(*rep, *parsed, pageLimit);
        if (!result.report) result.error = renderer.error;
    } catch (const DbError& e) {
        result.report.reset();
        result.error =
            QStringLiteral("No se puede preparar el informe \"%1\": %2").arg(name, e.message());
    }
    return result;
}

ReportSource ReportEngine::source(const QString& file, const QString& formula) const {
    return ReportSource([engine = *this, file, formula](int pageLimit, QString* error) mutable {
        Result result = engine.render(file, formula, pageLimit);
        if (!result.report && error) *error = result.error;
        return std::move(result.report);
    });
}

}  // namespace torvane::reports
