#include "masters/insurers.h"

#include "core/record_store.h"
#include "masters/contact_fields.h"

namespace torvane::insurers {

namespace {
const QString kSearchColumns = QStringLiteral("SELECT Id_Ase, Codigo, Nombre FROM Aseguradoras ");
}  // namespace

const QList<FieldBinding>& insurerFields() {
    static const QList<FieldBinding> fields =
        QList<FieldBinding>{{"TxtCodigo", "Codigo"},
                            {"txtNombre", "Nombre"},
                            {"TxtNif", "NIF"},
                            {"TxtReferencia", "Referencia"},
                            {"txtCodContable", "CodigoContable"}} +
        contactFields() + QList<FieldBinding>{{"txtNotas", "Notas"}};
    return fields;
}

QString checkInsurer(const Row& values) {
    return missingFields(
        values, {QStringLiteral("Codigo"), QStringLiteral("Nombre"), QStringLiteral("NIF")},
        QString::fromUtf8(kMandatoryInsurerFields));
}

qint64 saveInsurer(Database& db, const QVariant& id, const Row& values) {
    return writeRecord(db, QStringLiteral("Aseguradoras"), QStringLiteral("Id_Ase"), id,
                       insurerFields(), values);
}

void deleteInsurer(Database& db, qint64 id) {
    db.exec(QStringLiteral("DELETE FROM Aseguradoras WHERE Id_Ase = ?"), {id});
}

SqlStatement insurerKeys() {
    return {QStringLiteral("SELECT Id_Ase FROM Aseguradoras ORDER BY Id_Ase"), {}};
}

const QList<TariffService>& tariffServices() {
    static const QList<TariffService> services = {
        {"U", "Servicio Urbano"}, {"C", "Servicio en Carretera"},   {"I", "Km Incluidos en Salida"},
        {"P", "Precio por Km."},  {"SL", "Salida Largo Recorrido"}, {"KL", "Km. Largo Recorrido"},
    };
    return services;
}

QString tariffColumn(const TariffService& service, int column) {
    static const char* const suffixes[kTariffColumns] = {"TL", "TF", "FL", "FF"};
    return QString::fromLatin1(service.prefix) + QString::fromLatin1(suffixes[column]);
}

const QStringList& tariffSingles() {
    static const QStringList singles = {QStringLiteral("Espera"), QStringLiteral("Rescate"),
                                        QStringLiteral("Deposito"), QStringLiteral("P1"),
                                        QStringLiteral("P2")};
    return singles;
}

const QStringList& tariffColumns() {
    static const QStringList columns = [] {
        QStringList all;
        for (const TariffService& s : tariffServices())
            for (int c = 0; c < kTariffColumns; ++c) all << tariffColumn(s, c);
        return all + tariffSingles();
    }();
    return columns;
}

Tariff loadTariff(Database& db, qint64 insurerId) {
    Tariff tariff;
    const auto row = db.firstRow(
        QStringLiteral("SELECT * FROM Tarifas WHERE Id_Ase = ? ORDER BY Id"), {insurerId});
    tariff.stored = row.has_value();
    for (const QString& column : tariffColumns())
        tariff.amounts << (row ? Money::fromDb(row->value(column)) : Money());
    return tariff;
}

QString checkTariff(const QStringList& texts) {
    for (const QString& text : texts)
        if (!text.trimmed().isEmpty() && !Money::parse(text))
            return QStringLiteral("El importe no es válido: ") + text;
    return {};
}

void saveTariff(Database& db, qint64 insurerId, const QList<Money>& amounts) {
    QVariantList params;
    for (const Money& m : amounts) params << m.toDb();
    params << insurerId;
    const QStringList& columns = tariffColumns();
    const auto existing = db.firstRow(
        QStringLiteral("SELECT Id FROM Tarifas WHERE Id_Ase = ? ORDER BY Id"), {insurerId});
    if (existing) {
        db.exec(QStringLiteral("UPDATE Tarifas SET %1 = ?, Id_Ase = ? WHERE Id = ?")
                    .arg(columns.join(QStringLiteral(" = ?, "))),
                params << existing->value(QStringLiteral("Id")));
        return;
    }
    QStringList marks;
    for (qsizetype i = 0; i <= columns.size(); ++i) marks << QStringLiteral("?");
    db.insert(QStringLiteral("INSERT INTO Tarifas (%1, Id_Ase) VALUES (%2)")
                  .arg(columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
              params);
}

SqlStatement insurerSearchInitial() {
    return {kSearchColumns + QStringLiteral("ORDER BY Id_Ase"), {}};
}

SqlStatement insurerSearch(int option, const QString& typed) {
    if (option == 1)
        return {kSearchColumns + QStringLiteral("WHERE Nombre LIKE ? ORDER BY Nombre"),
                {likePrefix(typed)}};
    return {kSearchColumns + QStringLiteral("WHERE Codigo LIKE ? ORDER BY Codigo"),
            {likePrefix(typed)}};
}

const QList<GridColumn>& insurerSearchColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id_Ase"), {}, ColumnKind::Hidden},
        {QStringLiteral("Codigo"), QStringLiteral("Código"), ColumnKind::Text, 90},
        {QStringLiteral("Nombre"), QStringLiteral("Nombre")},
    };
    return columns;
}

}  // namespace torvane::insurers
