#include "masters/suppliers.h"

#include "core/record_store.h"
#include "masters/contact_fields.h"

namespace torvane::suppliers {

namespace {
const QString kProveedores = QStringLiteral("Proveedores");
const QString kIdPro = QStringLiteral("Id_Pro");
const QString kSearchColumns =
    QStringLiteral("SELECT Id_Pro,Codigo_Pro AS Código,NIF,Nombre FROM Proveedores ");
}  // namespace

const QList<FieldBinding>& supplierFields() {
    static const QList<FieldBinding> fields =
        QList<FieldBinding>{{"TxtCodigo", "Codigo_Pro"},
                            {"txtNombre", "Nombre"},
                            {"TxtNif", "NIF"},
                            {"txtCodContable", "CodigoContable"}} +
        contactFields("Telefono1", "Telefono2") + QList<FieldBinding>{{"txtNotas", "Notas"}};
    return fields;
}

QString proposeSupplierCode(Database& db) {
    return firstFreeCode(db, kProveedores, QStringLiteral("Codigo_Pro"));
}

QString checkSupplier(const Row& values) {
    return missingFields(
        values, {QStringLiteral("Codigo_Pro"), QStringLiteral("Nombre"), QStringLiteral("NIF")},
        QString::fromUtf8(kMandatorySupplierFields));
}

qint64 saveSupplier(Database& db, const QVariant& id, const Row& values) {
    return writeRecord(db, kProveedores, kIdPro, id, supplierFields(), values);
}

void deleteSupplier(Database& db, qint64 id) {
    db.exec(QStringLiteral("DELETE FROM Proveedores WHERE Id_Pro = ?"), {id});
}

SqlStatement supplierKeys() {
    return {QStringLiteral("SELECT Id_Pro FROM Proveedores ORDER BY Codigo_Pro, Id_Pro"), {}};
}

SqlStatement purchasesOf(qint64 supplierId) {
    return {QStringLiteral("SELECT Entradas.Id_Ent, Entradas.NEntrada AS Entrada, Entradas.Fecha, "
                           "Articulos.Nombre, Entradas.Cantidad, Articulos.Descuento AS Dto, "
                           "Entradas.Precio AS Precio FROM Entradas INNER JOIN Articulos "
                           "ON Entradas.Id_Art = Articulos.Id_Art WHERE Entradas.Id_Pro = ? "
                           "ORDER BY Entradas.Id_Ent"),
            {supplierId}};
}

const QList<GridColumn>& purchaseColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id_Ent"), {}, ColumnKind::Hidden},
        {QStringLiteral("Entrada"), QStringLiteral("Entrada"), ColumnKind::Text, 110},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date, 90},
        {QStringLiteral("Nombre"), QStringLiteral("Artículo")},
        {QStringLiteral("Cantidad"), QStringLiteral("Cantidad"), ColumnKind::Number, 70},
        {QStringLiteral("Dto"), QStringLiteral("Dto"), ColumnKind::Number, 50},
        {QStringLiteral("Precio"), QStringLiteral("Precio"), ColumnKind::Money, 90},
    };
    return columns;
}

SqlStatement supplierSearchInitial() {
    return {kSearchColumns + QStringLiteral("ORDER BY Codigo_Pro"), {}};
}

SqlStatement supplierSearch(int option, const QString& typed) {
    switch (option) {
        case 1:
            return {kSearchColumns + QStringLiteral("WHERE NIF LIKE ? ORDER BY NIF"),
                    {likePrefix(typed)}};
        case 2:
            return {kSearchColumns + QStringLiteral("WHERE Nombre LIKE ? ORDER BY Nombre"),
                    {likePrefix(typed)}};
        case 3:
            return {kSearchColumns + QStringLiteral("WHERE Nombre LIKE ? ORDER BY Nombre"),
                    {likeWordInside(typed)}};
        default:
            break;
    }
    return {kSearchColumns + QStringLiteral("WHERE Codigo_Pro LIKE ? ORDER BY Codigo_Pro"),
            {likePrefix(typed)}};
}

const QList<GridColumn>& supplierSearchColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id_Pro"), {}, ColumnKind::Hidden},
        {QStringLiteral("Código"), QStringLiteral("Código"), ColumnKind::Text, 80},
        {QStringLiteral("NIF"), QStringLiteral("NIF"), ColumnKind::Text, 110},
        {QStringLiteral("Nombre"), QStringLiteral("Nombre")},
    };
    return columns;
}

SupplierListing supplierListing(const QString& origin, qint64 supplierId) {
    const QString id = QString::number(supplierId);
    if (origin == QLatin1String("Proveedores") || origin == QLatin1String("Compras")) return {};
    if (origin == QLatin1String("Informe"))
        return {QStringLiteral("\\QARVOARTICULOS.rpt"),
                QStringLiteral("{Proveedores.Id_Pro}=") + id};
    return {QStringLiteral("\\qarvolentrp.rpt"),
            origin + QStringLiteral(" and {Proveedores.Id_Pro}=") + id};
}

}  // namespace torvane::suppliers
