#include "masters/company_data.h"

#include <QVariantList>

#include "data/database.h"

namespace torvane {

namespace {
const QString kIva = QStringLiteral("IVA");

QString ivaText(const QVariant& v) {
    if (v.isNull()) return {};
    const double d = v.toDouble();
    // Shown the way it is typed: "16", or "7,5" for a rate with decimals.
    return QString::number(d, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
}
}  // namespace

const QStringList& companyColumns() {
    static const QStringList columns = {
        QStringLiteral("Nombre"),    QStringLiteral("Nif"),
        QStringLiteral("Titular"),   QStringLiteral("Direccion"),
        QStringLiteral("CP"),        QStringLiteral("Localidad"),
        QStringLiteral("Provincia"), QStringLiteral("Telefono"),
        QStringLiteral("Fax"),       kIva,
        QStringLiteral("Registro"),
    };
    return columns;
}

std::optional<CompanyData> loadCompanyData(Database& db) {
    auto row = db.firstRow(QStringLiteral("SELECT %1 FROM DatosEmpresa ORDER BY rowid LIMIT 1")
                               .arg(companyColumns().join(QStringLiteral(", "))));
    if (!row) return std::nullopt;
    CompanyData data;
    for (const QString& c : companyColumns())
        data.insert(c, c == kIva ? ivaText(row->value(c)) : row->value(c).toString());
    return data;
}

bool companyDataComplete(const CompanyData& data) {
    for (const QString& c : companyColumns())
        if (data.value(c).trimmed().isEmpty()) return false;
    return true;
}

bool saveCompanyData(Database& db, const CompanyData& data, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    bool ok = false;
    const double iva = QString(data.value(kIva))
                           .replace(QLatin1Char(','), QLatin1Char('.'))
                           .trimmed()
                           .toDouble(&ok);
    if (!ok) return fail(QStringLiteral("el IVA que aplica debe ser un número."));

    QVariantList values;
    QStringList assignments;
    for (const QString& c : companyColumns()) {
        values << (c == kIva ? QVariant(iva) : QVariant(data.value(c)));
        assignments << c + QStringLiteral(" = ?");
    }
    try {
        Database::Transaction t(db);
        const QVariant first =
            db.scalar(QStringLiteral("SELECT rowid FROM DatosEmpresa ORDER BY rowid LIMIT 1"));
        if (first.isValid()) {
            db.execForward(QStringLiteral("UPDATE DatosEmpresa SET %1 WHERE rowid = ?")
                               .arg(assignments.join(QStringLiteral(", "))),
                           values + QVariantList{first});
        } else {
            QStringList marks;
            for (int i = 0; i < companyColumns().size(); ++i) marks << QStringLiteral("?");
            db.execForward(QStringLiteral("INSERT INTO DatosEmpresa (%1) VALUES (%2)")
                               .arg(companyColumns().join(QStringLiteral(", ")),
                                    marks.join(QStringLiteral(", "))),
                           values);
        }
        t.commit();
    } catch (const DbError& e) {
        return fail(e.message());
    }
    return true;
}

}  // namespace torvane
