#include "workorders/work_order.h"

#include <QSqlQuery>
#include <algorithm>

#include "core/format.h"
#include "verifactu/records.h"

namespace torvane::workorders {

namespace {

QString text(const QSqlQuery& q, int column) {
    return q.value(column).toString();
}

QVariant isoOrNull(const QDate& d) {
    return d.isValid() ? QVariant(toIsoDate(d)) : QVariant();
}

QDate dateOf(const QVariant& v) {
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

QString documentNumber(const QString& s) {
    const QString t = s.trimmed();
    return t.isEmpty() ? QString::fromLatin1(kNoDocument) : t;
}

QVariant kilometresValue(const QString& typed) {
    bool ok = false;
    const qlonglong km = typed.trimmed().toLongLong(&ok);
    return ok ? QVariant(double(km)) : QVariant();
}

QString kilometresText(const QVariant& stored) {
    if (stored.isNull() || !stored.isValid()) return {};
    return QString::number(qlonglong(stored.toDouble()));
}

Header headerFrom(const Row& r) {
    Header h;
    h.id = r.value(QStringLiteral("Id_ODT"));
    h.number = r.value(QStringLiteral("NODT")).toString();
    h.entryDate = dateOf(r.value(QStringLiteral("Fecha")));
    h.exitDate = dateOf(r.value(QStringLiteral("FechaEntrega")));
    h.kilometres = kilometresText(r.value(QStringLiteral("Kilometros")));
    h.fuel = r.value(QStringLiteral("Combustible")).toString();
    h.collects = r.value(QStringLiteral("Recoge")).toInt() != 0;
    h.unforeseen = r.value(QStringLiteral("Imprevisto")).toInt() != 0;
    h.estimate = r.value(QStringLiteral("Presupuesto")).toInt() != 0;
    h.estimateNumber = r.value(QStringLiteral("NPresupuesto")).toString();
    h.deliveryNote = r.value(QStringLiteral("NAlbaran")).toString();
    h.invoice = r.value(QStringLiteral("NFactura")).toString();
    h.internal = r.value(QStringLiteral("Interna"))
                     .toString()
                     .compare(QStringLiteral("Si"), Qt::CaseInsensitive) == 0;
    h.customerId = r.value(QStringLiteral("Id_Cli")).toLongLong();
    h.vehicleId = r.value(QStringLiteral("Id_Coche")).toLongLong();
    return h;
}

// The first article with this code (codes are unique in practice; the oldest wins).
std::optional<std::pair<qint64, Quantity>> stockOf(Database& db, const QString& code) {
    if (code.trimmed().isEmpty()) return std::nullopt;
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT Id_Art, StockInicial FROM Articulos WHERE Codigo = ? "
                               "ORDER BY Id_Art LIMIT 1"),
                {code.trimmed()});
    if (!q.next()) return std::nullopt;
    return std::make_pair(q.value(0).toLongLong(), Quantity::fromDb(q.value(1)));
}

// Adds delta to the stock of the article with this code; nothing when there is none.
void moveStock(Database& db, const QString& code, Quantity delta) {
    const auto article = stockOf(db, code);
    if (!article) return;
    db.exec(QStringLiteral("UPDATE Articulos SET StockInicial = ? WHERE Id_Art = ?"),
            {(article->second + delta).toDb(), article->first});
}

qint64 keyOf(const QVariant& id) {
    return id.isValid() && !id.isNull() ? id.toLongLong() : 0;
}

// Deletes material lines by key, giving back the units of those that moved stock.
void deleteMaterials(Database& db, const QList<qint64>& ids) {
    for (qint64 id : ids) {
        QSqlQuery q = db.exec(
            QStringLiteral("SELECT NArticulo, Unidades FROM MaterialesODT WHERE Id = ?"), {id});
        if (!q.next()) continue;
        moveStock(db, text(q, 0), Quantity::fromDb(q.value(1)));
        db.exec(QStringLiteral("DELETE FROM MaterialesODT WHERE Id = ?"), {id});
    }
}

void deleteByKey(Database& db, const QString& table, const QString& key, const QList<qint64>& ids) {
    for (qint64 id : ids)
        db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(table, key), {id});
}

struct KindTable {
    const char* table;
    const char* key;
    const char* number;
};
constexpr KindTable kTables[kLineKinds] = {
    {"TrabajosRealizar_ODT", "Id_Tr", "NODT"},
    {"TrabajosRealizadosODT", "Id", "NODT"},
    {"MaterialesODT", "Id", "NODT"},
    {"LineasLibresODT", "Id", "nODT"},
};

QList<qint64> keysOf(Database& db, LineKind kind, const QString& number) {
    const KindTable& t = kTables[int(kind)];
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? ORDER BY %1")
                    .arg(QLatin1String(t.key), QLatin1String(t.table), QLatin1String(t.number)),
                {number});
    QList<qint64> keys;
    while (q.next()) keys << q.value(0).toLongLong();
    return keys;
}

void deleteLines(Database& db, LineKind kind, const QList<qint64>& ids) {
    if (kind == LineKind::Materials) {
        deleteMaterials(db, ids);
        return;
    }
    const KindTable& t = kTables[int(kind)];
    deleteByKey(db, QLatin1String(t.table), QLatin1String(t.key), ids);
}

Money baseOf(const std::vector<DocumentLine>& lines) {
    return lineTotals(lines).amount;
}

template <class Line>
std::vector<DocumentLine> documentLines(const std::vector<Line>& lines,
                                        const QList<qint64>& deleted) {
    std::vector<DocumentLine> out;
    out.reserve(lines.size());
    for (const Line& l : lines) {
        DocumentLine d = toDocumentLine(l);
        d.deleted = deleted.contains(keyOf(l.id));
        out.push_back(std::move(d));
    }
    return out;
}

}  // namespace

// ---- Lines ----

Money LabourLine::amount() const {
    return toDocumentLine(*this).amount();
}
Money MaterialLine::amount() const {
    return toDocumentLine(*this).amount();
}
Money FreeLine::amount() const {
    return toDocumentLine(*this).amount();
}

DocumentLine toDocumentLine(const JobLine& l) {
    DocumentLine d;
    d.id = l.id;
    d.description = l.text;
    d.texts = {l.id.toString()};
    return d;
}

namespace {

// A priced line as the grid holds it: texts[0] is the key.
DocumentLine pricedLine(const QVariant& id, const QString& code, const QString& description,
                        Quantity units, Money price, Quantity discount, bool toCurrencyFirst) {
    DocumentLine d;
    d.id = id;
    d.code = code;
    d.description = description;
    d.units = units;
    d.price = price;
    d.discount = discount;
    d.toCurrencyFirst = toCurrencyFirst;
    d.texts = {id.toString()};
    return d;
}

}  // namespace

DocumentLine toDocumentLine(const LabourLine& l) {
    DocumentLine d =
        pricedLine(l.id, l.operatorCode, l.work, l.billedTime, l.price, l.discount, true);
    // Times show as amounts do: "#,##0.00".
    d.texts << l.operatorName << l.department << formatDate(l.date)
            << formatMoney(Money::fromUnits(l.realTime.units()))
            << formatMoney(Money::fromUnits(l.billedTime.units()));
    return d;
}

DocumentLine toDocumentLine(const MaterialLine& l) {
    return pricedLine(l.id, l.code, l.description, l.units, l.price, l.discount, false);
}

DocumentLine toDocumentLine(const FreeLine& l) {
    return pricedLine(l.id, l.reference, l.text, l.units, l.price, l.discount, true);
}

std::vector<JobLine> jobsOf(Database& db, const QString& number) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT Id_Tr, Trabajo FROM TrabajosRealizar_ODT "
                                         "WHERE NODT = ? ORDER BY Id_Tr"),
                          {number});
    std::vector<JobLine> lines;
    while (q.next()) lines.push_back({q.value(0), text(q, 1)});
    return lines;
}

std::vector<LabourLine> labourOf(Database& db, const QString& number) {
    QSqlQuery q =
        db.exec(QStringLiteral(
                    "SELECT t.Id, t.NOperario, (SELECT o.Nombre FROM Operarios o WHERE o.Codigo = "
                    "t.NOperario ORDER BY o.Id_Ope LIMIT 1), t.Departamento, t.TRealizado, "
                    "t.Fecha, t.TReal, t.TFacturado, t.Precio, t.Dto "
                    "FROM TrabajosRealizadosODT t WHERE t.NODT = ? ORDER BY t.Id"),
                {number});
    std::vector<LabourLine> lines;
    while (q.next()) {
        LabourLine l;
        l.id = q.value(0);
        l.operatorCode = text(q, 1);
        l.operatorName = text(q, 2);
        l.department = text(q, 3);
        l.work = text(q, 4);
        l.date = dateOf(q.value(5));
        l.realTime = Quantity::fromDb(q.value(6));
        l.billedTime = Quantity::fromDb(q.value(7));
        l.price = Money::fromDb(q.value(8));
        l.discount = Quantity::fromDb(q.value(9));
        lines.push_back(std::move(l));
    }
    return lines;
}

namespace {

// Materials and free lines read alike: key, code or reference, text, units, price, discount.
template <class Line>
std::vector<Line> pricedLinesOf(Database& db, const QString& sql, const QString& number) {
    QSqlQuery q = db.exec(sql, {number});
    std::vector<Line> lines;
    while (q.next())
        lines.push_back({q.value(0), text(q, 1), text(q, 2), Quantity::fromDb(q.value(3)),
                         Money::fromDb(q.value(4)), Quantity::fromDb(q.value(5))});
    return lines;
}

}  // namespace

std::vector<MaterialLine> materialsOf(Database& db, const QString& number) {
    return pricedLinesOf<MaterialLine>(
        db,
        QStringLiteral("SELECT Id, NArticulo, Descripcion, Unidades, Precio, Dto "
                       "FROM MaterialesODT WHERE NODT = ? ORDER BY Id"),
        number);
}

std::vector<FreeLine> freeLinesOf(Database& db, const QString& number) {
    return pricedLinesOf<FreeLine>(
        db,
        QStringLiteral("SELECT Id, Referencia, TextoLibre, Unidades, Precio, Dto "
                       "FROM LineasLibresODT WHERE nODT = ? ORDER BY Id"),
        number);
}

Lines linesOf(Database& db, const QString& number) {
    return {jobsOf(db, number), labourOf(db, number), materialsOf(db, number),
            freeLinesOf(db, number)};
}

// ---- Totals ----

Totals totalsOf(Money base, Quantity vatRate) {
    Totals t;
    t.base = base;
    t.vat = base.percent(vatRate).roundCents();
    t.total = t.base + t.vat;
    return t;
}

Totals tabTotals(int tab, const std::vector<DocumentLine>& labour,
                 const std::vector<DocumentLine>& materials,
                 const std::vector<DocumentLine>& freeLines, Quantity vatRate) {
    Money base;
    if (tab == 0 || tab == 1) base += baseOf(labour);
    if (tab == 0 || tab == 2) base += baseOf(materials);
    if (tab == 0 || tab == 3) base += baseOf(freeLines);
    return totalsOf(base, vatRate);
}

QString boundDiscount(const QString& text, bool enteringOrLeaving) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return enteringOrLeaving ? QStringLiteral("0") : text;
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok);
    // Digits only reach here; a number too long to read is above 100 too.
    if (!ok || v > 100) return QStringLiteral("100");
    return text;
}

// ---- Opening ----

std::optional<VehicleOwner> vehicleOwner(Database& db, qint64 vehicleId) {
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT c.Id_Cli, v.Id_Veh, v.Marca, v.Modelo, v.Matricula, c.Nombre, "
                       "c.Apellido1, c.Telefono, c.Movil FROM Vehiculos v "
                       "LEFT JOIN Clientes c ON c.Id_Cli = v.Id_Cli WHERE v.Id_Veh = ?"),
        {vehicleId});
    if (!q.next()) return std::nullopt;
    VehicleOwner o;
    o.customerId = q.value(0).toLongLong();
    o.vehicleId = q.value(1).toLongLong();
    o.make = text(q, 2);
    o.model = text(q, 3);
    o.plate = text(q, 4);
    o.name = text(q, 5);
    o.tradeName = text(q, 6);
    o.phone = text(q, 7);
    o.mobile = text(q, 8);
    return o;
}

Header newHeader(Database& db, const QString& number, qint64 vehicleId, const QDate& today) {
    Header h;
    h.number = number;
    h.entryDate = today;
    h.exitDate = today;
    h.vehicleId = vehicleId;
    if (const auto owner = vehicleOwner(db, vehicleId)) h.customerId = owner->customerId;
    h.deliveryNote = QString::fromLatin1(kNoDocument);
    h.invoice = QString::fromLatin1(kNoDocument);
    return h;
}

std::optional<Header> headerById(Database& db, qint64 id) {
    const auto row = db.firstRow(QStringLiteral("SELECT * FROM ODTS WHERE Id_ODT = ?"), {id});
    if (!row) return std::nullopt;
    return headerFrom(*row);
}

std::optional<Header> headerByNumber(Database& db, const QString& number) {
    const auto row = db.firstRow(
        QStringLiteral("SELECT * FROM ODTS WHERE NODT = ? ORDER BY Id_ODT LIMIT 1"), {number});
    if (!row) return std::nullopt;
    return headerFrom(*row);
}

bool numberExists(Database& db, const QString& number) {
    return db.scalar(QStringLiteral("SELECT 1 FROM ODTS WHERE NODT = ? LIMIT 1"), {number})
        .isValid();
}

QString duplicateNumberMessage(const QString& number) {
    return QStringLiteral("La orden de trabajo ") + number + QStringLiteral(" ya existe");
}

std::array<int, kLineKinds> lineCounts(Database& db, const QString& number) {
    std::array<int, kLineKinds> counts{};
    for (int k = 0; k < kLineKinds; ++k) {
        const KindTable& t = kTables[k];
        counts[k] = db.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?")
                                  .arg(QLatin1String(t.table), QLatin1String(t.number)),
                              {number})
                        .toInt();
    }
    return counts;
}

// ---- Lines as they are added ----

qint64 storeJob(Database& db, const QString& number, const JobLine& line) {
    if (const qint64 id = keyOf(line.id)) {
        db.exec(
            QStringLiteral("UPDATE TrabajosRealizar_ODT SET NODT = ?, Trabajo = ? WHERE Id_Tr = ?"),
            {number, line.text, id});
        return id;
    }
    return db.insert(
        QStringLiteral("INSERT INTO TrabajosRealizar_ODT (NODT, Trabajo) VALUES (?, ?)"),
        {number, line.text});
}

qint64 storeLabour(Database& db, const QString& number, const LabourLine& line) {
    const QVariantList values = {
        number,
        line.operatorCode.isEmpty() ? QVariant() : QVariant(line.operatorCode),
        line.department,
        line.work,
        isoOrNull(line.date),
        line.realTime.toDb(),
        line.billedTime.toDb(),
        line.price.toDb(),
        line.discount.toDb()};
    if (const qint64 id = keyOf(line.id)) {
        QVariantList params = values;
        params << id;
        db.exec(QStringLiteral("UPDATE TrabajosRealizadosODT SET NODT = ?, NOperario = ?, "
                               "Departamento = ?, TRealizado = ?, Fecha = ?, TReal = ?, "
                               "TFacturado = ?, Precio = ?, Dto = ? WHERE Id = ?"),
                params);
        return id;
    }
    return db.insert(
        QStringLiteral("INSERT INTO TrabajosRealizadosODT (NODT, NOperario, Departamento, "
                       "TRealizado, Fecha, TReal, TFacturado, Precio, Dto) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        values);
}

qint64 storeFreeLine(Database& db, const QString& number, const FreeLine& line) {
    const QVariantList values = {number,
                                 line.reference,
                                 line.text,
                                 line.units.toDb(),
                                 line.price.toDb(),
                                 line.discount.toDb()};
    if (const qint64 id = keyOf(line.id)) {
        QVariantList params = values;
        params << id;
        db.exec(
            QStringLiteral("UPDATE LineasLibresODT SET nODT = ?, Referencia = ?, TextoLibre = ?, "
                           "Unidades = ?, Precio = ?, Dto = ? WHERE Id = ?"),
            params);
        return id;
    }
    return db.insert(QStringLiteral("INSERT INTO LineasLibresODT (nODT, Referencia, TextoLibre, "
                                    "Unidades, Precio, Dto) VALUES (?, ?, ?, ?, ?, ?)"),
                     values);
}

bool movesStock(Database& db, const QString& code) {
    return stockOf(db, code).has_value();
}

qint64 storeMaterial(Database& db, const QString& number, const MaterialLine& line) {
    Database::Transaction tx(db);
    qint64 id = keyOf(line.id);
    if (id) {
        // What the stored line took comes back before the new units are taken.
        QSqlQuery q = db.exec(
            QStringLiteral("SELECT NArticulo, Unidades FROM MaterialesODT WHERE Id = ?"), {id});
        if (q.next()) moveStock(db, text(q, 0), Quantity::fromDb(q.value(1)));
    }
    moveStock(db, line.code, -line.units);
    const QVariantList values = {number,
                                 line.code,
                                 line.description,
                                 line.units.toDb(),
                                 line.price.toDb(),
                                 line.discount.toDb()};
    if (id) {
        QVariantList params = values;
        params << id;
        db.exec(QStringLiteral("UPDATE MaterialesODT SET NODT = ?, NArticulo = ?, Descripcion = ?, "
                               "Unidades = ?, Precio = ?, Dto = ? WHERE Id = ?"),
                params);
    } else {
        id = db.insert(QStringLiteral("INSERT INTO MaterialesODT (NODT, NArticulo, Descripcion, "
                                      "Unidades, Precio, Dto) VALUES (?, ?, ?, ?, ?, ?)"),
                       values);
    }
    tx.commit();
    return id;
}

namespace {

QStringList firstColumn(Database& db, const QString& sql) {
    QStringList values;
    QSqlQuery q = db.exec(sql);
    while (q.next()) values << q.value(0).toString();
    return values;
}

}  // namespace

QStringList operatorNames(Database& db) {
    return firstColumn(db, QStringLiteral("SELECT Nombre FROM Operarios ORDER BY Id_Ope"));
}

std::optional<OperatorChoice> operatorByName(Database& db, const QString& name) {
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT Codigo, Departamento FROM Operarios WHERE Nombre = ? "
                               "ORDER BY Id_Ope LIMIT 1"),
                {name});
    if (!q.next()) return std::nullopt;
    return OperatorChoice{text(q, 0), text(q, 1)};
}

QStringList departmentNames(Database& db) {
    return firstColumn(db, QStringLiteral("SELECT Departamento FROM PreciosHora ORDER BY Id"));
}

std::optional<Money> departmentPrice(Database& db, const QString& department) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT Precio FROM PreciosHora WHERE Departamento = ? "
                                         "ORDER BY Id LIMIT 1"),
                          {department});
    if (!q.next()) return std::nullopt;
    return Money::fromDb(q.value(0));
}

// ---- Saving and discarding ----

QString saveCheckMessage(SaveCheck check) {
    switch (check) {
        case SaveCheck::NoKilometres:
            return QStringLiteral("Compruebe los KM del vehículo");
        case SaveCheck::NoJobs:
            return QStringLiteral("No hay trabajos a realizar");
        case SaveCheck::Ok:
            break;
    }
    return {};
}

SaveCheck checkSave(Database& db, const Header& header, const Deletions& deletions) {
    if (header.kilometres.trimmed().isEmpty()) return SaveCheck::NoKilometres;
    const QList<qint64> jobs = keysOf(db, LineKind::Jobs, header.number);
    for (qint64 id : jobs)
        if (!deletions.jobs.contains(id)) return SaveCheck::Ok;
    return SaveCheck::NoJobs;
}

Totals savedTotals(Database& db, const QString& number, const Deletions& deletions) {
    return tabTotals(0, documentLines(labourOf(db, number), deletions.labour),
                     documentLines(materialsOf(db, number), deletions.materials),
                     documentLines(freeLinesOf(db, number), deletions.freeLines),
                     verifactu::vatRate(db));
}

SaveResult save(Database& db, const Header& header, const Deletions& deletions) {
    Database::Transaction tx(db);
    SaveResult result = saveWithin(db, header, deletions);
    if (result.check == SaveCheck::Ok) tx.commit();
    return result;
}

SaveResult saveWithin(Database& db, const Header& header, const Deletions& deletions) {
    SaveResult result;
    result.check = checkSave(db, header, deletions);
    if (result.check != SaveCheck::Ok) return result;
    result.totals = savedTotals(db, header.number, deletions);
    const QVariantList values = {header.number,
                                 isoOrNull(header.entryDate),
                                 isoOrNull(header.exitDate),
                                 header.customerId,
                                 header.vehicleId,
                                 kilometresValue(header.kilometres),
                                 header.fuel,
                                 int(header.collects),
                                 int(header.unforeseen),
                                 int(header.estimate),
                                 documentNumber(header.estimateNumber),
                                 documentNumber(header.deliveryNote),
                                 documentNumber(header.invoice),
                                 result.totals.base.toDb(),
                                 header.internal ? QStringLiteral("Si") : QStringLiteral("No")};
    if (const qint64 id = keyOf(header.id)) {
        QVariantList params = values;
        params << id;
        db.exec(QStringLiteral("UPDATE ODTS SET NODT = ?, Fecha = ?, FechaEntrega = ?, Id_Cli = ?, "
                               "Id_Coche = ?, Kilometros = ?, Combustible = ?, Recoge = ?, "
                               "Imprevisto = ?, Presupuesto = ?, NPresupuesto = ?, NAlbaran = ?, "
                               "NFactura = ?, Nominal = ?, Interna = ? WHERE Id_ODT = ?"),
                params);
        result.id = id;
    } else {
        result.id = db.insert(
            QStringLiteral(
                "INSERT INTO ODTS (NODT, Fecha, FechaEntrega, Id_Cli, Id_Coche, Kilometros, "
                "Combustible, Recoge, Imprevisto, Presupuesto, NPresupuesto, NAlbaran, "
                "NFactura, Nominal, Interna) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            values);
    }
    deleteLines(db, LineKind::Jobs, deletions.jobs);
    deleteLines(db, LineKind::Labour, deletions.labour);
    deleteLines(db, LineKind::Materials, deletions.materials);
    deleteLines(db, LineKind::FreeLines, deletions.freeLines);
    return result;
}

void discardNew(Database& db, const QString& number) {
    discardExisting(db, number, {0, 0, 0, 0});
}

void discardExisting(Database& db, const QString& number,
                     const std::array<int, kLineKinds>& countsAtOpening) {
    Database::Transaction tx(db);
    // Labour, materials, free lines, then jobs to do.
    for (LineKind kind :
         {LineKind::Labour, LineKind::Materials, LineKind::FreeLines, LineKind::Jobs}) {
        const QList<qint64> keys = keysOf(db, kind, number);
        const int keep = std::max(0, countsAtOpening[int(kind)]);
        if (keys.size() > keep) deleteLines(db, kind, keys.mid(keep));
    }
    tx.commit();
}

}  // namespace torvane::workorders
