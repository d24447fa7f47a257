#include "purchasing/purchases.h"

#include "core/format.h"
#include "core/numbering.h"
#include "core/session.h"

#include <algorithm>

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

QString searched(const QByteArray& condition, const char* order) {
    return QString::fromLatin1(kListSelect) + QString::fromLatin1(kListFrom) +
           QStringLiteral("WHERE ") + QString::fromUtf8(condition) + QLatin1Char(' ') +
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

namespace {

// A prefix that matches many entries finds its first screenful soonest by walking the date
// index newest first; one that matches few, through its own index and a sort. Counting up to
// this many matches through the index tells which.
constexpr int kDense = 4000;

bool dense(Database& db, const QString& condition, const QVariantList& params) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM Entradas WHERE ") +
                         condition + QStringLiteral(" LIMIT %1)").arg(kDense),
                     params)
               .toInt() >= kDense;
}

// The dates between the first and the last entry whose dd/mm/yyyy begins with typed; none
// when there are more than `most`.
std::optional<QVariantList> datesShownAs(Database& db, const QString& typed, int most) {
    const auto range = db.firstRow(QStringLiteral(
        "SELECT (SELECT min(Fecha) FROM Entradas) AS a, (SELECT max(Fecha) FROM Entradas) AS b"));
    QVariantList dates;
    if (!range) return dates;
    const QDate last = QDate::fromString(range->value(QStringLiteral("b")).toString(), Qt::ISODate);
    for (QDate d = QDate::fromString(range->value(QStringLiteral("a")).toString(), Qt::ISODate);
         d.isValid() && d <= last; d = d.addDays(1)) {
        if (!formatDate(d).startsWith(typed, Qt::CaseInsensitive)) continue;
        if (dates.size() == most) return std::nullopt;
        dates << toIsoDate(d);
    }
    return dates;
}

}  // namespace

SqlStatement listSearch(Database& db, int option, const QString& typed) {
    const QVariantList like = {likePrefix(typed)};
    const char* byDate = "ORDER BY Entradas.Fecha DESC";
    if (option == 4) {
        // The date as shown, dd/mm/yyyy. A prefix that names few days looks them up.
        if (const auto dates = datesShownAs(db, typed, 200); dates && !typed.isEmpty()) {
            if (dates->isEmpty()) return {searched("Entradas.Fecha = ''", byDate), {}};
            QStringList marks(dates->size(), QStringLiteral("?"));
            return {searched(("Entradas.Fecha IN (" + marks.join(QLatin1Char(',')) + ")").toUtf8(),
                             byDate),
                    *dates};
        }
        return {searched("substr(Entradas.Fecha, 9, 2) || '/' || substr(Entradas.Fecha, 6, 2) "
                         "|| '/' || substr(Entradas.Fecha, 1, 4) LIKE ?",
                         byDate),
                like};
    }
    static const char* const conditions[] = {
        "Entradas.NAlbaran LIKE ?", "Entradas.NEntrada LIKE ?",
        "Entradas.Id_Art IN (SELECT Id_Art FROM Articulos WHERE Nombre LIKE ?)",
        "Entradas.Id_Pro IN (SELECT Id_Pro FROM Proveedores WHERE Nombre LIKE ?)"};
    const char* condition = conditions[std::clamp(option, 0, 3)];
    if (!typed.isEmpty() && !dense(db, QString::fromLatin1(condition), like))
        return {searched(condition, "ORDER BY +Entradas.Fecha DESC"), like};
    // "+" keeps the column's own index out, so the date index leads.
    return {searched("+" + QByteArray(condition), byDate), like};
}

void deleteEntry(Database& db, qint64 entryId) {
    db.exec(QStringLiteral("DELETE FROM Entradas WHERE Id_Ent = ?"), {entryId});
}

}  // namespace torvane::purchases
