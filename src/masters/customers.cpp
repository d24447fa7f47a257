#include "masters/customers.h"

#include <QSet>
#include <QSqlQuery>

#include "core/format.h"
#include "core/record_store.h"
#include "masters/contact_fields.h"

namespace torvane::customers {

const QList<FieldBinding>& customerFields() {
    static const QList<FieldBinding> fields =
        QList<FieldBinding>{
            {"TxtCodigo", "Codigo"},
            {"txtNombre", "Nombre"},
            {"txtEmpresa", "Apellido1"},
            {"TxtNif", "NIF"},
            {"txtCodContable", "CodigoContable"},
        } +
        contactFields() +
        QList<FieldBinding>{
            {"TxtDescuento", "Descuento"},    {"txtFormaPago", "Forma_Pago"},
            {"txtNumCuenta", "NumeroCuenta"}, {"txtBanco", "Banco"},
            {"txtSucursal", "Sucursal"},      {"txtDiaPago", "DiaDePago"},
        };
    return fields;
}

const QList<FieldBinding>& vehicleFields() {
    static const QList<FieldBinding> fields = {
        {"txtMatricula", "Matricula"},     {"txtMarca", "Marca"},
        {"txtModelo", "Modelo"},           {"txtColor", "Color"},
        {"txtCodColor", "CodigoColor"},    {"txtCodLlave", "CodigoLLave"},
        {"txtCodRadio", "CodigoRadio"},    {"txtNumChasis", "NChasis"},
        {"TxtNumMotor", "NMotor"},         {"txtFechaVenta", "FechaVenta", true},
        {"txtFechaItv", "FechaITV", true}, {"txtNotas", "Notas"},
    };
    return fields;
}

namespace {

QString text(const Row& values, const char* column) {
    return values.value(QString::fromLatin1(column)).toString();
}

bool isDateColumn(const QString& column) {
    for (const FieldBinding& f : vehicleFields())
        if (f.date && column == QLatin1String(f.column)) return true;
    return false;
}

}  // namespace

QString fieldText(const Row& row, const QString& column) {
    return boundText(row.value(column), isDateColumn(column));
}

// ---- Customers ----

QString customerCodeFor(int n) {
    return paddedCode(n);
}

QString proposeCustomerCode(Database& db) {
    return firstFreeCode(db, QStringLiteral("Clientes"), QStringLiteral("Codigo"));
}

QString checkCustomer(const Row& values) {
    if (text(values, "Nombre").trimmed().isEmpty() || text(values, "Codigo").trimmed().isEmpty() ||
        text(values, "NIF").trimmed().isEmpty())
        return QString::fromUtf8(kMandatoryCustomerFields);
    return unreadableValue(values, customerFields(), {QStringLiteral("Descuento")});
}

qint64 saveCustomer(Database& db, const QVariant& id, const Row& values) {
    return writeRecord(db, QStringLiteral("Clientes"), QStringLiteral("Id_Cli"), id,
                       customerFields(), values, {QStringLiteral("Descuento")});
}

DocumentCounts countDocuments(Database& db, qint64 customerId) {
    const auto row = db.firstRow(
        QStringLiteral(
            "SELECT Count(Facturas.Id_Fac) AS Cuenta1, Count(FacturasCoches.NFactura) AS Cuenta2, "
            "Count(FacturasLibres.NFactura) AS Cuenta3, Count(ODTS.NODT) AS Cuenta4 "
            "FROM Clientes LEFT JOIN Facturas ON Clientes.Id_Cli = Facturas.Id_Cli "
            "LEFT JOIN FacturasCoches ON Clientes.Id_Cli = FacturasCoches.Id_Cli "
            "LEFT JOIN FacturasLibres ON Clientes.Id_Cli = FacturasLibres.Id_Cli "
            "LEFT JOIN ODTS ON Clientes.Id_Cli = ODTS.Id_Cli "
            "WHERE Clientes.Id_Cli = ? GROUP BY Clientes.Id_Cli"),
        {customerId});
    DocumentCounts c;
    if (!row) return c;
    c.partsInvoices = row->value(QStringLiteral("Cuenta1")).toLongLong();
    c.vehicleInvoices = row->value(QStringLiteral("Cuenta2")).toLongLong();
    c.freeInvoices = row->value(QStringLiteral("Cuenta3")).toLongLong();
    c.workOrders = row->value(QStringLiteral("Cuenta4")).toLongLong();
    return c;
}

QString deleteBlockedMessage(const DocumentCounts& counts) {
    const std::pair<qint64, const char*> reasons[] = {
        {counts.partsInvoices, " Facturas"},
        {counts.vehicleInvoices, " Facturas de venta de Vehiculos"},
        {counts.freeInvoices, " Facturas libres"},
        {counts.workOrders, " Ordenes de trabajo"},
    };
    for (const auto& [count, what] : reasons) {
        if (count > 0)
            return QStringLiteral("No se puede eliminar este cliente porque tiene ") +
                   QString::number(count) + QString::fromLatin1(what) +
                   QStringLiteral(" a su nombre.");
    }
    return {};
}

QString deleteCustomer(Database& db, qint64 customerId) {
    const QString blocked = deleteBlockedMessage(countDocuments(db, customerId));
    if (!blocked.isEmpty()) return blocked;
    db.exec(QStringLiteral("DELETE FROM Clientes WHERE Id_Cli = ?"), {customerId});
    return {};
}

SqlStatement customerKeys(CustomerOrder order) {
    switch (order) {
        case CustomerOrder::CodeValue:
            return {QStringLiteral(
                        "SELECT Id_Cli FROM Clientes ORDER BY CAST(Codigo AS INTEGER), Id_Cli"),
                    {}};
        case CustomerOrder::CodeText:
            return {QStringLiteral("SELECT Id_Cli FROM Clientes ORDER BY Codigo, Id_Cli"), {}};
        case CustomerOrder::Stored:
            break;
    }
    return {QStringLiteral("SELECT Id_Cli FROM Clientes ORDER BY Id_Cli"), {}};
}

// ---- Vehicles ----

QString checkVehicle(const Row& values) {
    if (text(values, "Matricula").trimmed().isEmpty() ||
        text(values, "Marca").trimmed().isEmpty() || text(values, "Modelo").trimmed().isEmpty())
        return QString::fromUtf8(kMandatoryVehicleFields);
    return unreadableValue(values, vehicleFields());
}

qint64 saveVehicle(Database& db, const QVariant& id, qint64 ownerId, const Row& values) {
    return writeRecord(db, QStringLiteral("Vehiculos"), QStringLiteral("Id_Veh"), id,
                       vehicleFields(), values, {}, {{QStringLiteral("Id_Cli"), ownerId}});
}

void deleteVehicle(Database& db, qint64 vehicleId) {
    db.exec(QStringLiteral("DELETE FROM Vehiculos WHERE Id_Veh = ?"), {vehicleId});
}

void changeOwner(Database& db, qint64 vehicleId, qint64 newOwnerId) {
    db.exec(QStringLiteral("UPDATE Vehiculos SET Id_Cli = ? WHERE Id_Veh = ?"),
            {newOwnerId, vehicleId});
}

// ---- Queries of the screens ----

SqlStatement vehiclesOf(qint64 customerId) {
    return {QStringLiteral("SELECT * FROM Vehiculos WHERE Id_Cli = ? ORDER BY Id_Veh"),
            {customerId}};
}

SqlStatement vehicleKeysOf(const QVariant& customerId) {
    return {QStringLiteral("SELECT Id_Veh FROM Vehiculos WHERE Id_Cli = ? ORDER BY Id_Veh"),
            {customerId.isValid() ? customerId : QVariant(-1)}};
}

const QList<GridColumn>& vehicleColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id_Veh"), {}, ColumnKind::Hidden},
        {QStringLiteral("Id_Cli"), {}, ColumnKind::Hidden},
        {QStringLiteral("Matricula"), QStringLiteral("Matrícula")},
        {QStringLiteral("CodigoColor"), QStringLiteral("Cód. color")},
        {QStringLiteral("NChasis"), QStringLiteral("Nº chasis")},
        {QStringLiteral("NMotor"), QStringLiteral("Nº motor")},
        {QStringLiteral("CodigoLLave"), QStringLiteral("Cód. llave")},
        {QStringLiteral("CodigoRadio"), QStringLiteral("Cód. radio")},
        {QStringLiteral("FechaITV"), QStringLiteral("Fecha ITV"), ColumnKind::Date},
        {QStringLiteral("FechaVenta"), QStringLiteral("Fecha venta"), ColumnKind::Date}};
    return columns;
}

const QList<GridColumn>& partsColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("Albaran"), QStringLiteral("Albarán")},
        {QStringLiteral("Cant"), QStringLiteral("Cant."), ColumnKind::Number},
        {QStringLiteral("Dto"), QStringLiteral("Dto. %"), ColumnKind::Number},
        {QStringLiteral("Codigo"), QStringLiteral("Código")},
        {QStringLiteral("Descripcion"), QStringLiteral("Descripción")},
        {QStringLiteral("Precio"), QStringLiteral("Precio"), ColumnKind::Money}};
    return columns;
}

const QList<GridColumn>& workOrderColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id_ODT"), {}, ColumnKind::Hidden},
        {QStringLiteral("Id_Cli"), {}, ColumnKind::Hidden},
        {QStringLiteral("Id_Coche"), {}, ColumnKind::Hidden},
        {QStringLiteral("NODT"), QStringLiteral("Nº O.T.")},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date},
        {QStringLiteral("FechaEntrega"), QStringLiteral("Entrega"), ColumnKind::Date},
        {QStringLiteral("Kilometros"), QStringLiteral("Km"), ColumnKind::Number},
        {QStringLiteral("NPresupuesto"), QStringLiteral("Presupuesto")},
        {QStringLiteral("NAlbaran"), QStringLiteral("Albarán")},
        {QStringLiteral("NFactura"), QStringLiteral("Factura")},
        {QStringLiteral("Nominal"), QStringLiteral("Importe"), ColumnKind::Money},
        {QStringLiteral("Recoge"), {}, ColumnKind::Hidden},
        {QStringLiteral("Imprevisto"), {}, ColumnKind::Hidden},
        {QStringLiteral("Presupuesto"), {}, ColumnKind::Hidden},
        {QStringLiteral("Combustible"), {}, ColumnKind::Hidden},
        {QStringLiteral("Interna"), {}, ColumnKind::Hidden}};
    return columns;
}

const QList<GridColumn>& jobColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("NODT"), {}, ColumnKind::Hidden},
        {QStringLiteral("NOperario"), QStringLiteral("Operario")},
        {QStringLiteral("TRealizado"), QStringLiteral("Trabajo realizado")},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date},
        {QStringLiteral("TReal"), QStringLiteral("T. real"), ColumnKind::Number},
        {QStringLiteral("TFacturado"), QStringLiteral("T. fact."), ColumnKind::Number},
        {QStringLiteral("Precio"), QStringLiteral("Precio"), ColumnKind::Money},
        {QStringLiteral("Dto"), QStringLiteral("Dto. %"), ColumnKind::Number}};
    return columns;
}

const QList<GridColumn>& materialColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("NODT"), {}, ColumnKind::Hidden},
        {QStringLiteral("NArticulo"), QStringLiteral("Artículo")},
        {QStringLiteral("Descripcion"), QStringLiteral("Descripción")},
        {QStringLiteral("Unidades"), QStringLiteral("Uds."), ColumnKind::Number},
        {QStringLiteral("Precio"), QStringLiteral("Precio"), ColumnKind::Money},
        {QStringLiteral("Dto"), QStringLiteral("Dto. %"), ColumnKind::Number}};
    return columns;
}

SqlStatement partsBoughtBy(qint64 customerId) {
    return {
        QStringLiteral("SELECT Salidas.Id, Salidas.Id_Alb AS Albaran, Salidas.Cantidad AS Cant, "
                       "Salidas.Dto, Salidas.Codigo, Salidas.Descripcion, Salidas.Precio AS Precio "
                       "FROM Albaranes INNER JOIN Salidas ON Albaranes.Id_Alb = Salidas.Id_Alb "
                       "WHERE Albaranes.Id_Cli = ? ORDER BY Salidas.Id"),
        {customerId}};
}

SqlStatement workOrdersOfVehicle(qint64 vehicleId) {
    return {QStringLiteral("SELECT * FROM ODTS WHERE ODTS.Id_Coche = ? ORDER BY Id_ODT"),
            {vehicleId}};
}

SqlStatement jobsOfWorkOrder(const QString& workOrderNumber) {
    return {QStringLiteral("SELECT * FROM TrabajosRealizadosODT WHERE NODT = ? ORDER BY Id"),
            {workOrderNumber}};
}

SqlStatement materialsOfWorkOrder(const QString& workOrderNumber) {
    return {QStringLiteral("SELECT * FROM MaterialesODT WHERE NODT = ? ORDER BY Id"),
            {workOrderNumber}};
}

namespace {
const char* const kCustomerSearchSelect = "SELECT Id_Cli, Codigo, NIF, Nombre FROM Clientes ";
}

SqlStatement customerSearchInitial() {
    return {QString::fromLatin1(kCustomerSearchSelect) +
                QStringLiteral("WHERE Codigo LIKE ? ORDER BY Codigo, Id_Cli"),
            {QStringLiteral("%")}};
}

SqlStatement customerSearch(int option, const QString& typed) {
    const QString select = QString::fromLatin1(kCustomerSearchSelect);
    // Each list comes in the order of the column searched, so the index that
    // filters also sorts.
    switch (option) {
        case 1:
            return {select + QStringLiteral("WHERE NIF LIKE ? ORDER BY NIF, Id_Cli"),
                    {likePrefix(typed)}};
        case 2:
            return {select + QStringLiteral("WHERE Nombre LIKE ? ORDER BY Nombre, Id_Cli"),
                    {likePrefix(typed)}};
        case 3:
            return {select + QStringLiteral("WHERE Nombre LIKE ? ORDER BY Nombre, Id_Cli"),
                    {likeWordInside(typed)}};
        case 4:
            return {QStringLiteral(
                        "SELECT Clientes.Id_Cli, Clientes.Codigo, Clientes.NIF, Clientes.Nombre "
                        "FROM Clientes INNER JOIN Vehiculos ON Clientes.Id_Cli = Vehiculos.Id_Cli "
                        "WHERE Vehiculos.Matricula LIKE ? ORDER BY Vehiculos.Matricula, "
                        "Vehiculos.Id_Veh"),
                    {likePrefix(typed)}};
        default:
            return {select + QStringLiteral("WHERE Codigo LIKE ? ORDER BY Codigo, Id_Cli"),
                    {likePrefix(typed)}};
    }
}

namespace {
const char* const kVehicleSearchSelect =
    "SELECT Vehiculos.Id_Cli, Vehiculos.Matricula, "
    "ifnull(Vehiculos.Marca, '') || '  ' || ifnull(Vehiculos.Modelo, '') AS Vehiculo, "
    "Clientes.Nombre AS Cliente, Vehiculos.Id_Veh, Vehiculos.Color "
    "FROM Vehiculos INNER JOIN Clientes ON Vehiculos.Id_Cli = Clientes.Id_Cli ";
}

SqlStatement vehicleSearchInitial(const QVariant& onlyCustomerId) {
    const QString select = QString::fromLatin1(kVehicleSearchSelect);
    if (onlyCustomerId.isValid() && !onlyCustomerId.isNull())
        return {select + QStringLiteral("WHERE Vehiculos.Id_Cli = ? ORDER BY Vehiculos.Id_Veh"),
                {onlyCustomerId}};
    return {select + QStringLiteral("ORDER BY Vehiculos.Id_Veh"), {}};
}

SqlStatement vehicleSearch(int option, const QString& typed) {
    // Column searched, and the order that its index gives without sorting.
    static const char* const searches[][2] = {
        {"Vehiculos.Matricula", "Vehiculos.Matricula, Vehiculos.Id_Veh"},
        {"Vehiculos.Marca", "Vehiculos.Marca, Vehiculos.Id_Veh"},
        {"Vehiculos.Modelo", "Vehiculos.Modelo, Vehiculos.Id_Veh"},
        {"Clientes.Nombre", "Clientes.Nombre, Clientes.Id_Cli, Vehiculos.Id_Veh"},
    };
    const auto& search = searches[option >= 0 && option < kVehicleSearchOptions ? option : 0];
    return {QString::fromLatin1(kVehicleSearchSelect) +
                QStringLiteral("WHERE %1 LIKE ? ORDER BY %2")
                    .arg(QString::fromLatin1(search[0]), QString::fromLatin1(search[1])),
            {likePrefix(typed)}};
}

std::pair<QString, QString> splitVehicleText(const QString& vehiculo) {
    const int first = vehiculo.indexOf(QLatin1Char(' '));
    if (first < 0) return {vehiculo, QString()};
    const int last = vehiculo.lastIndexOf(QLatin1Char(' '));
    return {vehiculo.left(first), vehiculo.mid(last + 1)};
}

SqlStatement vehicleHistory(qint64 vehicleId) {
    return {QStringLiteral(
                "SELECT ODTS.Id_ODT, ODTS.NODT, ODTS.Fecha, ODTS.Presupuesto, ODTS.NAlbaran, "
                "ODTS.NFactura, ODTS.Kilometros, Vehiculos.Marca, Vehiculos.Modelo, "
                "Vehiculos.Matricula, Clientes.Codigo, Clientes.NIF, Clientes.Nombre, "
                "ifnull(Clientes.Direccion, '') || '  ' || ifnull(Clientes.CP, '') || '  ' || "
                "ifnull(Clientes.Localidad, '') || '  ' || ifnull(Clientes.Provincia, '') AS "
                "Direccion, "
                "Clientes.Telefono, Clientes.Movil, Clientes.Fax "
                "FROM (ODTS INNER JOIN Vehiculos ON ODTS.Id_Coche = Vehiculos.Id_Veh) "
                "INNER JOIN Clientes ON Vehiculos.Id_Cli = Clientes.Id_Cli "
                "WHERE ODTS.Id_Coche = ? ORDER BY ODTS.Id_ODT"),
            {vehicleId}};
}

SqlStatement historyJobs(const QString& workOrderNumber) {
    return {QStringLiteral(
                "SELECT Id, TRealizado FROM TrabajosRealizadosODT WHERE NODT = ? ORDER BY Id"),
            {workOrderNumber}};
}

SqlStatement historyMaterials(const QString& workOrderNumber) {
    return {QStringLiteral("SELECT Id, Descripcion FROM MaterialesODT WHERE NODT = ? ORDER BY Id"),
            {workOrderNumber}};
}

}  // namespace torvane::customers
