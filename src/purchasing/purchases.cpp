#include "purchasing/purchases.h"

#include "core/format.h"
#include "core/numbering.h"
#include "core/session.h"

namespace torvane::purchases {

QString articleGoneMessage(const QString& code) {
    return QStringLiteral("El artículo %1 ya no existe. No se ha guardado la compra.").arg(code);
}

std::optional<SupplierShown> supplierById(Database& db, qint64 id) {
    const auto row = db.firstRow(
        QStringLiteral("SELECT Id_Pro, Codigo_Pro, Nombre FROM Proveedores WHERE Id_Pro = ?"),
        {id});
    if (!row) return std::nullopt;
    return SupplierShown{id, row->value(QStringLiteral("Codigo_Pro")).toString(),
                         row->value(QStringLiteral("Nombre")).toString()};
}

QString proposeEntryNumber(Session& session) {
    return nextDocumentNumber(session, NumberConsumer::PurchaseEntry);
}

bool entryNumberInUse(Database& db, const QString& number) {
    return db.scalar(QStringLiteral("SELECT 1 FROM Entradas WHERE NEntrada = ? LIMIT 1"), {number})
        .isValid();
}

WorkOrderState workOrderState(Database& db, const QString& number) {
    const QVariant invoice = db.scalar(
        QStringLiteral("SELECT coalesce(NFactura, 'No') FROM ODTS WHERE NODT = ? LIMIT 1"),
        {number});
    if (!invoice.isValid()) return WorkOrderState::Missing;
    return invoice.toString() == QLatin1String("No") ? WorkOrderState::Open
                                                     : WorkOrderState::Invoiced;
}

QString workOrderRefusal(WorkOrderState state) {
    switch (state) {
        case WorkOrderState::Missing:
            return QString::fromUtf8(kNoWorkOrder);
        case WorkOrderState::Invoiced:
            return QString::fromUtf8(kInvoicedWorkOrder);
        case WorkOrderState::Open:
            break;
    }
    return {};
}

CheckedLine checkLine(const LineEntry& entry) {
    CheckedLine out;
    const QString texts[] = {entry.code, entry.description, entry.units, entry.price,
                             entry.discount};
    for (const QString& t : texts)
        if (t.trimmed().isEmpty()) {
            out.problem = QString::fromUtf8(kMissingFields);
            return out;
        }
    const auto units = Quantity::parse(entry.units.trimmed());
    const auto price = Money::parse(entry.price.trimmed());
    const auto discount = Quantity::parse(entry.discount.trimmed());
    if (!units || !price || !discount || *discount < Quantity() || *price < Money()) {
        out.problem = QString::fromUtf8(kBadNumbers);
        return out;
    }
    if (*discount > Quantity::whole(100)) {
        out.problem = QString::fromUtf8(kDiscountTooHigh);
        return out;
    }
    out.line.articleId = entry.articleId;
    out.line.code = entry.code.trimmed();
    out.line.description = entry.description.trimmed();
    out.line.units = *units;
    out.line.price = *price;
    out.line.discount = *discount;
    out.line.workOrder = entry.workOrder.trimmed();
    return out;
}

QString checkPurchase(Database& db, const Header& header, const std::vector<DocumentLine>& lines) {
    if (lineTotals(lines).lines == 0) return QString::fromUtf8(kNoLines);
    if (header.number.trimmed().isEmpty()) return QString::fromUtf8(kNoEntryNumber);
    if (!header.date.isValid()) return QString::fromUtf8(kBadDate);
    if (!header.supplierId.isValid() || header.supplierId.isNull() ||
        header.supplierId.toString().isEmpty())
        return QString::fromUtf8(kNoSupplier);
    if (entryNumberInUse(db, header.number.trimmed())) return QString::fromUtf8(kEntryInUse);
    return {};
}

void savePurchase(Database& db, const Header& header, const std::vector<DocumentLine>& lines) {
    Database::Transaction t(db);
    const QString number = header.number.trimmed();
    const QString date = toIsoDate(header.date);
    for (const DocumentLine& line : lines) {
        if (line.deleted) continue;
        const auto stock =
            db.firstRow(QStringLiteral("SELECT StockInicial FROM Articulos WHERE Id_Art = ?"),
                        {line.articleId});
        if (!stock) throw DbError(articleGoneMessage(line.code));
        db.insert(QStringLiteral("INSERT INTO Entradas (NEntrada, NAlbaran, Fecha, Id_Pro, Id_Art, "
                                 "Cantidad, Precio, Descuento) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                  {number, header.delivery.trimmed(), date, header.supplierId, line.articleId,
                   line.units.toDb(), line.price.toDb(), line.discount.toDb()});
        // Read and written as exact quantities, so 0,1 + 0,2 is 0,3.
        const Quantity newStock =
            Quantity::fromDb(stock->value(QStringLiteral("StockInicial"))) + line.units;
        db.exec(QStringLiteral("UPDATE Articulos SET StockInicial = ?, PrecioVenta = ?, "
                               "Descuento = ?, Id_Proveedor = ? WHERE Id_Art = ?"),
                {newStock.toDb(), line.price.toDb(), line.discount.toDb(), header.supplierId,
                 line.articleId});
        if (!line.workOrder.isEmpty())
            db.insert(QStringLiteral("INSERT INTO MaterialesODT (NODT, NArticulo, Descripcion, "
                                     "Unidades, Precio, Dto) VALUES (?, ?, ?, ?, ?, ?)"),
                      {line.workOrder, line.code, line.description, line.units.toDb(),
                       line.price.toDb(), line.discount.toDb()});
    }
    t.commit();
}

// ---- Purchase list ----

namespace {

// Entradas leads the joins, so the list walks the entries' date index newest first.
const char* const kListSelect =
    "SELECT Entradas.Id_Ent, Entradas.Fecha, Proveedores.Nombre AS Proveedor, "
    "Articulos.Nombre AS Articulo, Entradas.Cantidad AS Cant, Entradas.Precio, "
    "Entradas.Descuento AS Dto";
const char* const kListFrom =
    ", Entradas.NEntrada, Entradas.NAlbaran FROM Entradas "
    "CROSS JOIN Proveedores ON Entradas.Id_Pro = Proveedores.Id_Pro "
    "CROSS JOIN Articulos ON Entradas.Id_Art = Articulos.Id_Art ";

QString searched(const char* condition, const char* order) {
    return QString::fromLatin1(kListSelect) + QString::fromLatin1(kListFrom) +
           QStringLiteral("WHERE ") + QString::fromLatin1(condition) + QLatin1Char(' ') +
           QString::fromLatin1(order);
}

}  // namespace

const QList<GridColumn>& listColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id_Ent"), {}, ColumnKind::Hidden},
        {QStringLiteral("Fecha"), {}, ColumnKind::Date, 80},
        {QStringLiteral("Proveedor"), {}, ColumnKind::Text, 180},
        {QStringLiteral("Articulo"), {}, ColumnKind::Text, 200},
        {QStringLiteral("Cant"), {}, ColumnKind::Number, 50},
        {QStringLiteral("Precio"), {}, ColumnKind::Money, 70},
        {QStringLiteral("Dto"), {}, ColumnKind::Number, 40},
        {QStringLiteral("Prec F"), {}, ColumnKind::Money, 70},
        {QStringLiteral("NEntrada"), {}, ColumnKind::Text, 110},
        {QStringLiteral("NAlbaran"), {}, ColumnKind::Text, 100},
    };
    return columns;
}

SqlStatement listAll() {
    return {QString::fromLatin1(kListSelect) +
                QStringLiteral(", Entradas.Precio - (Entradas.Precio * Entradas.Descuento / 100) "
                               "AS [Prec F]") +
                QString::fromLatin1(kListFrom) + QStringLiteral("ORDER BY Entradas.Fecha DESC"),
            {}};
}

QStringList listOptionCaptions() {
    return {QStringLiteral(" Albaran"), QStringLiteral(" Entrada"), QStringLiteral("Articulo"),
            QStringLiteral("Proveedor"), QStringLiteral("Fecha")};
}

SqlStatement listSearch(int option, const QString& typed) {
    const QVariantList like = {likePrefix(typed)};
    // A text that narrows the list leads with its own index; the whole list (nothing typed)
    // walks the date index.
    const bool narrow = !typed.isEmpty();
    const char* byDate = "ORDER BY Entradas.Fecha DESC";
    const char* order = narrow ? "ORDER BY +Entradas.Fecha DESC" : byDate;
    switch (option) {
        case 0:
            return {searched("Entradas.NAlbaran LIKE ?", byDate), like};
        case 1:
            return {searched("Entradas.NEntrada LIKE ?", order), like};
        case 2:
            return {
                searched("Entradas.Id_Art IN (SELECT Id_Art FROM Articulos WHERE Nombre LIKE ?)",
                         order),
                like};
        case 3:
            return {searched("Entradas.Id_Pro IN (SELECT Id_Pro FROM Proveedores WHERE Nombre "
                             "LIKE ?)",
                             order),
                    like};
        default:
            // The date as shown, dd/mm/yyyy.
            return {searched("substr(Entradas.Fecha, 9, 2) || '/' || substr(Entradas.Fecha, 6, 2) "
                             "|| '/' || substr(Entradas.Fecha, 1, 4) LIKE ?",
                             byDate),
                    like};
    }
}

void deleteEntry(Database& db, qint64 entryId) {
    db.exec(QStringLiteral("DELETE FROM Entradas WHERE Id_Ent = ?"), {entryId});
}

}  // namespace torvane::purchases
