#include "masters/articles.h"

#include <QSqlQuery>

namespace torvane::articles {

const QList<FieldBinding>& articleFields() {
    static const QList<FieldBinding> fields = {
        {"TxtCodigo", "Codigo"},         {"txtDescripcion", "Nombre"},
        {"TxtReferencia", "Referencia"}, {"txtStockA", "StockInicial"},
        {"txtStockM", "StockMinimo"},    {"txtPrecioVenta", "PrecioVenta"},
        {"TxtDescuento", "Descuento"},   {"TxtId_Pro", "Id_Proveedor"},
    };
    return fields;
}

namespace {

const QString kColumns = QStringLiteral(
    "Id_Art, Codigo, Nombre, Referencia, Familia, Almacen, StockInicial, StockMinimo, "
    "PrecioVenta, Descuento, Id_Proveedor");

QString text(const Row& values, const char* column) {
    return values.value(QString::fromLatin1(column)).toString().trimmed();
}

QVariant storedText(const Row& values, const char* column) {
    const QString s = text(values, column);
    return s.isEmpty() ? QVariant() : QVariant(s);
}

// A typed number; empty or unreadable text reads as 0 (the fields take digits only).
Quantity quantityOf(const QString& typed) {
    return Quantity::parse(typed).value_or(Quantity());
}

Article articleFrom(const Row& r) {
    Article a;
    a.id = r.value(QStringLiteral("Id_Art")).toLongLong();
    a.code = r.value(QStringLiteral("Codigo")).toString();
    a.description = r.value(QStringLiteral("Nombre")).toString();
    a.reference = r.value(QStringLiteral("Referencia")).toString();
    a.family = r.value(QStringLiteral("Familia")).toString();
    a.warehouse = r.value(QStringLiteral("Almacen")).toString();
    a.stock = Quantity::fromDb(r.value(QStringLiteral("StockInicial")));
    a.minimum = Quantity::fromDb(r.value(QStringLiteral("StockMinimo")));
    a.price = Money::fromDb(r.value(QStringLiteral("PrecioVenta")));
    a.discount = Quantity::fromDb(r.value(QStringLiteral("Descuento")));
    a.supplierId = r.value(QStringLiteral("Id_Proveedor"));
    if (a.supplierId.isNull()) a.supplierId = QVariant();
    return a;
}

QStringList names(Database& db, const QString& sql) {
    QStringList out;
    QSqlQuery q = db.execForward(sql);
    while (q.next()) out << q.value(0).toString();
    return out;
}

}  // namespace

std::optional<Article> articleById(Database& db, qint64 id) {
    const auto r = db.firstRow(
        QStringLiteral("SELECT %1 FROM Articulos WHERE Id_Art = ?").arg(kColumns), {id});
    if (!r) return std::nullopt;
    return articleFrom(*r);
}

std::optional<Article> articleByCode(Database& db, const QString& code) {
    const auto r = db.firstRow(
        QStringLiteral("SELECT %1 FROM Articulos WHERE Codigo = ? ORDER BY Id_Art").arg(kColumns),
        {code});
    if (!r) return std::nullopt;
    return articleFrom(*r);
}

bool codeTakenByAnother(Database& db, const QString& code, const QVariant& exceptId) {
    const QVariant except = exceptId.isValid() && !exceptId.isNull() ? exceptId : QVariant(-1);
    return db
        .scalar(QStringLiteral("SELECT 1 FROM Articulos WHERE Codigo = ? AND Id_Art <> ? "
                               "LIMIT 1"),
                {code, except})
        .isValid();
}

QString mandatoryMessage(MandatoryText which) {
    return which == MandatoryText::ArticleFile
               ? QStringLiteral(
                     "Los campos Codigo, Descripción, Stock actual y Precio de venta son "
                     "obligatorios")
               : QStringLiteral(
                     "Los campos Codigo, Descripción, Stock actual Y Precio de venta son "
                     "obligatorios");
}

QString checkArticle(const Row& values, MandatoryText which) {
    for (const char* column : {"Codigo", "Nombre", "StockInicial", "PrecioVenta"})
        if (text(values, column).isEmpty()) return mandatoryMessage(which);
    // Pasted text can get past the key filters; nothing unreadable is stored as 0.
    if (!Money::parse(text(values, "PrecioVenta")))
        return QStringLiteral("El precio de venta no es válido");
    for (const char* column : {"StockInicial", "StockMinimo", "Descuento"}) {
        const QString typed = text(values, column);
        if (!typed.isEmpty() && !Quantity::parse(typed))
            return QStringLiteral(
                "Los campos Stock actual, Stock minimo y Descuento solo "
                "admiten números");
    }
    return {};
}

qint64 saveArticle(Database& db, const QVariant& id, const Row& values) {
    const QString minimum = text(values, "StockMinimo");
    const QVariantList params = {
        storedText(values, "Codigo"),
        storedText(values, "Nombre"),
        storedText(values, "Referencia"),
        storedText(values, "Familia"),
        storedText(values, "Almacen"),
        quantityOf(text(values, "StockInicial")).toDb(),
        minimum.isEmpty() ? QVariant() : quantityOf(minimum).toDb(),
        Money::parse(text(values, "PrecioVenta")).value_or(Money()).toDb(),
        quantityOf(text(values, "Descuento")).toDb(),
        text(values, "Id_Proveedor").isEmpty()
            ? QVariant()
            : QVariant(text(values, "Id_Proveedor").toLongLong()),
    };
    if (!id.isValid() || id.isNull())
        return db.insert(
            QStringLiteral("INSERT INTO Articulos (Codigo, Nombre, Referencia, Familia, Almacen, "
                           "StockInicial, StockMinimo, PrecioVenta, Descuento, Id_Proveedor) "
                           "VALUES (?,?,?,?,?,?,?,?,?,?)"),
            params);
    QVariantList withKey = params;
    withKey << id;
    db.exec(QStringLiteral("UPDATE Articulos SET Codigo = ?, Nombre = ?, Referencia = ?, "
                           "Familia = ?, Almacen = ?, StockInicial = ?, StockMinimo = ?, "
                           "PrecioVenta = ?, Descuento = ?, Id_Proveedor = ? WHERE Id_Art = ?"),
            withKey);
    return id.toLongLong();
}

void deleteArticle(Database& db, qint64 id) {
    db.exec(QStringLiteral("DELETE FROM Articulos WHERE Id_Art = ?"), {id});
}

bool isLowStock(Quantity stock, Quantity minimum) {
    return stock < minimum;
}

bool isLowStock(const QString& stock, const QString& minimum) {
    return isLowStock(quantityOf(stock.trimmed()), quantityOf(minimum.trimmed()));
}

QString costPriceText(Money price, Quantity discount) {
    return ExactAmount(price).lessPercent(discount).roundCents().formatEuro();
}

SqlStatement articleKeys() {
    return {QStringLiteral("SELECT Id_Art FROM Articulos ORDER BY Codigo, Id_Art"), {}};
}

QStringList familyNames(Database& db) {
    return names(db, QStringLiteral("SELECT Familia FROM Familias ORDER BY Familia, Id_Fam"));
}

QStringList warehouseNames(Database& db) {
    return names(db, QStringLiteral("SELECT Almacen FROM Almacenes ORDER BY Almacen, Id_Alm"));
}

QList<Supplier> suppliersByName(Database& db) {
    QList<Supplier> out;
    QSqlQuery q = db.execForward(
        QStringLiteral("SELECT Id_Pro, Nombre FROM Proveedores ORDER BY Nombre, Id_Pro"));
    while (q.next()) out.append({q.value(0).toLongLong(), q.value(1).toString()});
    return out;
}

QString supplierName(Database& db, const QVariant& supplierId) {
    if (!supplierId.isValid() || supplierId.isNull() || supplierId.toString().isEmpty()) return {};
    return db
        .scalar(QStringLiteral("SELECT Nombre FROM Proveedores WHERE Id_Pro = ?"),
                {supplierId.toLongLong()})
        .toString();
}

QVariant supplierIdByName(Database& db, const QString& name) {
    return db.scalar(
        QStringLiteral("SELECT Id_Pro FROM Proveedores WHERE Nombre = ? ORDER BY Id_Pro LIMIT 1"),
        {name});
}

// ---- History ----

const QList<GridColumn>& entryColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id_Pro"), {}, ColumnKind::Hidden},
        {QStringLiteral("Nombre"), QStringLiteral("Proveedor"), ColumnKind::Text, 290},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date, 67},
        {QStringLiteral("Cantidad"), QStringLiteral("Cantidad"), ColumnKind::Number, 47},
        {QStringLiteral("Precio"), QStringLiteral("Precio"), ColumnKind::Money, 67},
        {QStringLiteral("Descuento"), QStringLiteral("Desc"), ColumnKind::Number, 33},
        {QStringLiteral("NEntrada"), QStringLiteral("Nº entrada"), ColumnKind::Text, 100},
    };
    return columns;
}

const QList<GridColumn>& saleColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("Nombre"), QStringLiteral("Cliente"), ColumnKind::Text, 283},
        {QStringLiteral("Id_Alb"), QStringLiteral("Albaran"), ColumnKind::Text, 100},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date, 67},
        {QStringLiteral("Cantidad"), QStringLiteral("Cantidad"), ColumnKind::Number, 53},
        {QStringLiteral("Precio"), QStringLiteral("Precio"), ColumnKind::Money, 67},
        {QStringLiteral("Dto"), QStringLiteral("Dto"), ColumnKind::Number, 33},
    };
    return columns;
}

const QList<GridColumn>& workOrderUseColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("Nombre"), QStringLiteral("Nombre"), ColumnKind::Text, 363},
        {QStringLiteral("NODT"), QStringLiteral("ODT"), ColumnKind::Text, 80},
        {QStringLiteral("Unidades"), QStringLiteral("Unidades"), ColumnKind::Number},
        {QStringLiteral("Precio"), QStringLiteral("Precio"), ColumnKind::Money},
        {QStringLiteral("Dto"), QStringLiteral("Dto"), ColumnKind::Number, 33},
    };
    return columns;
}

// CROSS JOIN fixes the join order: the movement table is read by its article
// index first, whatever statistics the file has.
SqlStatement entriesOf(qint64 articleId) {
    return {QStringLiteral("SELECT Entradas.Id_Pro, Proveedores.Nombre, Entradas.Fecha, "
                           "Entradas.Cantidad, Entradas.Precio, Entradas.Descuento, "
                           "Entradas.NEntrada FROM Entradas CROSS JOIN Proveedores "
                           "ON Entradas.Id_Pro = Proveedores.Id_Pro "
                           "WHERE Entradas.Id_Art = ? ORDER BY Entradas.Id_Ent"),
            {articleId}};
}

SqlStatement salesOf(qint64 articleId) {
    return {QStringLiteral("SELECT Salidas.Id, Clientes.Nombre, Salidas.Id_Alb, Albaranes.Fecha, "
                           "Salidas.Cantidad, Salidas.Precio, Salidas.Dto FROM Salidas "
                           "CROSS JOIN Albaranes ON Salidas.Id_Alb = Albaranes.Id_Alb "
                           "CROSS JOIN Clientes ON Albaranes.Id_Cli = Clientes.Id_Cli "
                           "WHERE Salidas.Id_Art = ? ORDER BY Salidas.Id"),
            {articleId}};
}

SqlStatement workOrderUsesOf(const QString& code) {
    return {QStringLiteral("SELECT MaterialesODT.Id, Clientes.Nombre, MaterialesODT.NODT, "
                           "MaterialesODT.Unidades, MaterialesODT.Precio, MaterialesODT.Dto "
                           "FROM MaterialesODT CROSS JOIN ODTS ON MaterialesODT.NODT = ODTS.NODT "
                           "CROSS JOIN Clientes ON ODTS.Id_Cli = Clientes.Id_Cli "
                           "WHERE MaterialesODT.NArticulo = ? ORDER BY MaterialesODT.Id"),
            {code}};
}

// ---- Search ----

const QList<GridColumn>& searchColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id_Art"), {}, ColumnKind::Hidden},
        {QStringLiteral("Codigo"), QStringLiteral("Codigo"), ColumnKind::Text, 110},
        {QStringLiteral("Nombre"), QStringLiteral("Nombre"), ColumnKind::Text, 260},
        {QStringLiteral("Familia"), QStringLiteral("Familia"), ColumnKind::Text, 110},
        {QStringLiteral("StockInicial"), QStringLiteral("Stock"), ColumnKind::Number, 60},
        {QStringLiteral("PrecioVenta"), QStringLiteral("Precio"), ColumnKind::Money, 80},
        {QStringLiteral("Descuento"), QStringLiteral("Dto"), ColumnKind::Number, 50},
        {QStringLiteral("StockMinimo"), QStringLiteral("Stock min."), ColumnKind::Number, 70},
    };
    return columns;
}

namespace {
const QString kSearchSelect = QStringLiteral(
    "SELECT Id_Art, Codigo, Nombre, Familia, StockInicial, PrecioVenta, Descuento, StockMinimo "
    "FROM Articulos WHERE ");
}

SqlStatement searchInitial(const QVariant& supplierId) {
    if (supplierId.isValid() && !supplierId.isNull())
        return {kSearchSelect + QStringLiteral("Id_Proveedor = ? ORDER BY Codigo, Id_Art"),
                {supplierId.toLongLong()}};
    return {kSearchSelect + QStringLiteral("Codigo LIKE '%' ORDER BY Codigo, Id_Art"), {}};
}

SqlStatement search(int option, const QString& typed) {
    // A description prefix is found through its own index and then sorted: walking the
    // code index instead would read every article for a rare prefix.
    if (option == 1 && !typed.isEmpty())
        return {kSearchSelect + QStringLiteral("Nombre LIKE ? ORDER BY +Codigo, Id_Art"),
                {likePrefix(typed)}};
    const QString column = option == 1 ? QStringLiteral("Nombre") : QStringLiteral("Codigo");
    return {kSearchSelect + column + QStringLiteral(" LIKE ? ORDER BY Codigo, Id_Art"),
            {likePrefix(typed)}};
}

}  // namespace torvane::articles
