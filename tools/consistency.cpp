#include <QSqlQuery>
#include <cmath>
#include <map>
#include <set>

#include "core/format.h"
#include "core/money.h"
#include "core/numbering.h"
#include "core/validation.h"
#include "data/database.h"
#include "generator.h"
#include "silent_dialogs.h"
#include "tow/tow_reports.h"

namespace torvane::gen {

namespace {

bool same(double a, double b, double tolerance = 1e-6) {
    return std::fabs(a - b) <= tolerance;
}

class Checker {
  public:
    Checker(Database& db, int limit) : db_(db), limit_(limit) {}

    QStringList run() {
        links();
        workOrderTotals();
        workOrderInvoices();
        sales();
        paid();
        numbers();
        stock();
        taxIds();
        return problems_;
    }

  private:
    void report(const QString& kind, const QString& text) {
        if (++perKind_[kind] <= limit_) problems_ << kind + QStringLiteral(": ") + text;
    }

    // Every value of a link column must exist on the other side.
    void orphan(const QString& kind, const QString& sql) {
        QSqlQuery q = db_.execForward(sql);
        while (q.next()) report(kind, q.value(0).toString());
    }

    void links() {
        for (const char* table : {"TrabajosRealizar_ODT", "TrabajosRealizadosODT", "MaterialesODT"})
            orphan(QStringLiteral("linea sin ODT"),
                   QStringLiteral("SELECT DISTINCT t.NODT FROM %1 t WHERE NOT EXISTS "
                                  "(SELECT 1 FROM ODTS o WHERE o.NODT = t.NODT)")
                       .arg(QLatin1String(table)));
        orphan(QStringLiteral("linea sin ODT"),
               QStringLiteral("SELECT DISTINCT t.nODT FROM LineasLibresODT t WHERE NOT EXISTS "
                              "(SELECT 1 FROM ODTS o WHERE o.NODT = t.nODT)"));
        orphan(QStringLiteral("ODT sin vehiculo de su cliente"),
               QStringLiteral("SELECT o.NODT FROM ODTS o LEFT JOIN Vehiculos v ON v.Id_Veh = "
                              "o.Id_Coche WHERE v.Id_Veh IS NULL OR v.Id_Cli <> o.Id_Cli"));
        orphan(QStringLiteral("vehiculo sin cliente"),
               QStringLiteral("SELECT v.Matricula FROM Vehiculos v WHERE NOT EXISTS "
                              "(SELECT 1 FROM Clientes c WHERE c.Id_Cli = v.Id_Cli)"));
        orphan(QStringLiteral("trabajo sin operario"),
               QStringLiteral("SELECT DISTINCT t.NOperario FROM TrabajosRealizadosODT t WHERE NOT "
                              "EXISTS (SELECT 1 FROM Operarios o WHERE o.Codigo = t.NOperario)"));
        orphan(QStringLiteral("salida sin albaran"),
               QStringLiteral("SELECT DISTINCT s.Id_Alb FROM Salidas s WHERE NOT EXISTS "
                              "(SELECT 1 FROM Albaranes a WHERE a.Id_Alb = s.Id_Alb)"));
        orphan(QStringLiteral("salida sin articulo"),
               QStringLiteral("SELECT s.Id FROM Salidas s WHERE s.Id_Art <> 0 AND NOT EXISTS "
                              "(SELECT 1 FROM Articulos a WHERE a.Id_Art = s.Id_Art)"));
        orphan(QStringLiteral("entrada sin articulo o proveedor"),
               QStringLiteral("SELECT e.NEntrada FROM Entradas e WHERE NOT EXISTS (SELECT 1 FROM "
                              "Articulos a WHERE a.Id_Art = e.Id_Art) OR NOT EXISTS (SELECT 1 FROM "
                              "Proveedores p WHERE p.Id_Pro = e.Id_Pro)"));
        orphan(QStringLiteral("albaran sin factura"),
               QStringLiteral("SELECT a.Id_Alb FROM Albaranes a WHERE a.NFactura <> 'No' AND NOT "
                              "EXISTS (SELECT 1 FROM Facturas f WHERE f.Id_Fac = a.NFactura)"));
        orphan(
            QStringLiteral("factura de venta sin albaranes"),
            QStringLiteral("SELECT f.Id_Fac FROM Facturas f WHERE NOT EXISTS (SELECT 1 FROM "
                           "Albaranes a WHERE a.NFactura = f.Id_Fac AND a.Id_Cli = f.Id_Cli) "
                           "AND (SELECT COUNT(*) FROM Partes p WHERE p.NFactura = f.Id_Fac) <> 1"));
        orphan(QStringLiteral("cobro sin factura"),
               QStringLiteral("SELECT c.NFactura FROM Cobros c WHERE NOT EXISTS (SELECT 1 FROM "
                              "FacturasODT f WHERE f.NFactura = c.NFactura) AND NOT EXISTS (SELECT "
                              "1 FROM Facturas v WHERE v.Id_Fac = c.NFactura)"));
        orphan(QStringLiteral("linea libre sin factura"),
               QStringLiteral("SELECT DISTINCT s.NFactura FROM SalidasLibres s WHERE NOT EXISTS "
                              "(SELECT 1 FROM FacturasLibres f WHERE f.NFactura = s.NFactura)"));
        orphan(QStringLiteral("linea de comision sin factura"),
               QStringLiteral("SELECT DISTINCT s.NFactura FROM SalidasComisiones s WHERE NOT "
                              "EXISTS (SELECT 1 FROM Comisiones c WHERE c.NFactura = s.NFactura)"));
        orphan(QStringLiteral("linea de parte sin parte"),
               QStringLiteral("SELECT DISTINCT l.NParte FROM LineasPartes l WHERE NOT EXISTS "
                              "(SELECT 1 FROM Partes p WHERE p.NParte = l.NParte)"));
        orphan(QStringLiteral("parte sin aseguradora con tarifa"),
               QStringLiteral("SELECT p.NParte FROM Partes p WHERE NOT EXISTS (SELECT 1 FROM "
                              "Tarifas t WHERE t.Id_Ase = p.Id_Ase)"));
        orphan(QStringLiteral("recibo sin factura"),
               QStringLiteral("SELECT r.NRecibo FROM Recibos r WHERE NOT EXISTS (SELECT 1 FROM "
                              "FacturasODT f WHERE f.NFactura = r.NFactura)"));
    }

    // Nominal is the sum of the line amounts as the grids show them (to the cent).
    void workOrderTotals() {
        std::map<QString, Money> sum;
        auto add = [&](const QString& sql) {
            QSqlQuery q = db_.execForward(sql);
            while (q.next()) sum[q.value(0).toString()] += lineAmount(q);
        };
        add(QStringLiteral("SELECT NODT, TFacturado, Precio, Dto FROM TrabajosRealizadosODT"));
        add(QStringLiteral("SELECT NODT, Unidades, Precio, Dto FROM MaterialesODT"));
        add(QStringLiteral("SELECT nODT, Unidades, Precio, Dto FROM LineasLibresODT"));
        QSqlQuery q = db_.execForward(QStringLiteral("SELECT NODT, Nominal FROM ODTS"));
        while (q.next()) {
            const Money expected = sum[q.value(0).toString()];
            const Money stored = Money::fromDb(q.value(1));
            if (stored != expected)
                report(QStringLiteral("Nominal distinto de la suma de lineas"),
                       QStringLiteral("%1: %2 <> %3")
                           .arg(q.value(0).toString(), stored.format(), expected.format()));
        }
    }

    // Units x price less the discount % (columns 1, 2, 3), to the cent.
    static Money lineAmount(const QSqlQuery& q) {
        return (Money::fromDb(q.value(2)) * Quantity::fromDb(q.value(1)))
            .lessPercent(Quantity::fromDb(q.value(3)))
            .roundCents();
    }

    static Money vat16(Money base) { return base.percent(Quantity::whole(16)).roundCents(); }

    void workOrderInvoices() {
        std::map<QString, Money> nominal;
        QSqlQuery q = db_.execForward(
            QStringLiteral("SELECT NFactura, Nominal FROM ODTS WHERE NFactura <> 'No'"));
        while (q.next()) nominal[q.value(0).toString()] += Money::fromDb(q.value(1));
        std::set<QString> invoices;
        q = db_.execForward(QStringLiteral("SELECT NFactura, Base, IVA, Importe FROM FacturasODT"));
        while (q.next()) {
            const QString n = q.value(0).toString();
            invoices.insert(n);
            const Money base = Money::fromDb(q.value(1)), vat = Money::fromDb(q.value(2));
            auto it = nominal.find(n);
            if (it == nominal.end()) {
                report(QStringLiteral("factura de ODT sin ODT"), n);
                continue;
            }
            if (base != it->second)
                report(QStringLiteral("base distinta de la suma de Nominal"),
                       QStringLiteral("%1: %2 <> %3").arg(n, base.format(), it->second.format()));
            if (vat != vat16(base)) report(QStringLiteral("IVA de factura de ODT"), n);
            if (Money::fromDb(q.value(3)) != base + vat)
                report(QStringLiteral("importe de factura de ODT"), n);
        }
        for (const auto& [n, total] : nominal)
            if (!invoices.count(n)) report(QStringLiteral("NFactura sin factura de ODT"), n);
    }

    void sales() {
        std::map<QString, Money> sum;
        QSqlQuery q =
            db_.execForward(QStringLiteral("SELECT Id_Alb, Cantidad, Precio, Dto FROM Salidas"));
        while (q.next()) sum[q.value(0).toString()] += lineAmount(q);
        std::map<QString, Money> notesOf;
        q = db_.execForward(
            QStringLiteral("SELECT Id_Alb, Suma, Nominal, IVA, Total, NFactura FROM Albaranes"));
        while (q.next()) {
            const QString n = q.value(0).toString();
            const Money nominal = Money::fromDb(q.value(2)), vat = Money::fromDb(q.value(3));
            if (nominal != sum[n] || Money::fromDb(q.value(1)) != nominal)
                report(QStringLiteral("Nominal de albaran distinto de sus lineas"), n);
            if (vat != vat16(nominal) || Money::fromDb(q.value(4)) != nominal + vat)
                report(QStringLiteral("IVA o total de albaran"), n);
            if (q.value(5).toString() != QLatin1String("No"))
                notesOf[q.value(5).toString()] += Money::fromDb(q.value(4));
        }
        // A tow report's invoice: its lines plus the report's VAT.
        q =
            db_.execForward(QStringLiteral("SELECT NParte, NFactura, IVA FROM Partes "
                                           "WHERE NFactura <> 'No'"));
        while (q.next())
            notesOf[q.value(1).toString()] +=
                tow::totals(tow::loadLines(db_, q.value(0).toString()),
                            Quantity::fromDb(q.value(2)))
                    .total;
        q = db_.execForward(QStringLiteral("SELECT Id_Fac, Total FROM Facturas"));
        while (q.next()) {
            const auto it = notesOf.find(q.value(0).toString());
            if (it == notesOf.end() || Money::fromDb(q.value(1)) != it->second)
                report(QStringLiteral("total de factura de venta distinto de sus albaranes"),
                       q.value(0).toString());
        }
    }

    // Pagado is the running sum of the invoice's payments.
    void paid() {
        std::map<QString, Money> cobros;
        QSqlQuery q =
            db_.execForward(QStringLiteral("SELECT NFactura, Cantidad FROM Cobros ORDER BY Id"));
        while (q.next()) cobros[q.value(0).toString()] += Money::fromDb(q.value(1));
        for (const char* sql :
             {"SELECT NFactura, Pagado FROM FacturasODT", "SELECT Id_Fac, Pagado FROM Facturas"}) {
            q = db_.execForward(QString::fromUtf8(sql));
            while (q.next()) {
                const QString n = q.value(0).toString();
                const Money expected = cobros.count(n) ? cobros[n] : Money();
                const Money stored = Money::fromDb(q.value(1));
                if (stored != expected)
                    report(
                        QStringLiteral("Pagado distinto de la suma de cobros"),
                        QStringLiteral("%1: %2 <> %3").arg(n, stored.format(), expected.format()));
            }
        }
    }

    // Each number is its series expanded at the document's date plus a counter; the counters
    // of one prefix run 1, 2, 3, ... without gaps or repeats.
    void series(const QString& label, Series s, const QString& sql, bool dated) {
        std::map<QString, std::vector<qint64>> counters;
        QSqlQuery q = db_.execForward(sql);
        while (q.next()) {
            const QString number = q.value(0).toString();
            const QString tail = numericTail(number);
            const QString head = number.left(number.size() - tail.size());
            if (dated) {
                const QDate d = QDate::fromString(q.value(1).toString().left(10), Qt::ISODate);
                const QString prefix = ExpandSeries(defaultSeriesText(s), d);
                if (head != prefix) {
                    report(label + QStringLiteral(" fuera de su serie o mes"),
                           number + QStringLiteral(" (") + q.value(1).toString() + ')');
                    continue;
                }
            }
            if (tail.size() < 5) {
                report(label + QStringLiteral(" sin contador de cinco cifras"), number);
                continue;
            }
            counters[head].push_back(tail.toLongLong());
        }
        for (auto& [prefix, list] : counters) {
            std::sort(list.begin(), list.end());
            for (std::size_t i = 0; i < list.size(); ++i) {
                if (list[i] == static_cast<qint64>(i) + 1) continue;
                report(label + QStringLiteral(" duplicado o salto"),
                       QStringLiteral("%1 contador %2").arg(prefix).arg(list[i]));
                break;
            }
        }
    }

    void numbers() {
        series(QStringLiteral("ODT"), Series::ODT, QStringLiteral("SELECT NODT, Fecha FROM ODTS"),
               true);
        series(QStringLiteral("albaran de ODT"), Series::AL,
               QStringLiteral("SELECT NAlbaran FROM ODTS WHERE NAlbaran <> 'No'"), false);
        series(QStringLiteral("factura de ODT"), Series::FR,
               QStringLiteral("SELECT NFactura, Fecha FROM FacturasODT"), true);
        series(QStringLiteral("albaran de venta"), Series::AR,
               QStringLiteral("SELECT Id_Alb, Fecha FROM Albaranes"), true);
        series(QStringLiteral("factura de venta"), Series::FV,
               QStringLiteral("SELECT Id_Fac, Fecha FROM Facturas"), true);
        series(QStringLiteral("entrada"), Series::EN,
               QStringLiteral("SELECT DISTINCT NEntrada, Fecha FROM Entradas"), true);
        series(QStringLiteral("factura libre"), Series::FL,
               QStringLiteral("SELECT NFactura, Fecha FROM FacturasLibres"), true);
        series(QStringLiteral("recibo"), Series::REC,
               QStringLiteral("SELECT NRecibo, Fecha FROM Recibos"), true);
        series(QStringLiteral("parte de grua"), Series::PG,
               QStringLiteral("SELECT NParte, Fecha FROM Partes"), true);
        QSqlQuery q = db_.execForward(QStringLiteral("SELECT Id, NFactura, Fecha FROM Comisiones"));
        std::set<QString> seen;
        while (q.next()) {
            const QDate d = QDate::fromString(q.value(2).toString(), Qt::ISODate);
            const QString expected =
                QStringLiteral("FC") + d.toString(QStringLiteral("yy/MM/")) +
                QStringLiteral("%1").arg(q.value(0).toLongLong(), 4, 10, QLatin1Char('0'));
            if (q.value(1).toString() != expected || !seen.insert(expected).second)
                report(QStringLiteral("factura de comision mal numerada"), q.value(1).toString());
        }
        q = db_.execForward(
            QStringLiteral("SELECT Codigo FROM Articulos GROUP BY Codigo HAVING count(*) > 1"));
        while (q.next())
            report(QStringLiteral("codigo de articulo repetido"), q.value(0).toString());
    }

    // With no stock before the first purchase, the stock is what came in less what went out.
    void stock() {
        QSqlQuery q = db_.execForward(QStringLiteral(
            "SELECT a.Codigo, a.StockInicial, "
            "(SELECT coalesce(sum(Cantidad), 0) FROM Entradas e WHERE e.Id_Art = a.Id_Art), "
            "(SELECT coalesce(sum(Cantidad), 0) FROM Salidas s WHERE s.Id_Art = a.Id_Art), "
            "(SELECT coalesce(sum(Unidades), 0) FROM MaterialesODT m WHERE m.NArticulo = a.Codigo) "
            "FROM Articulos a"));
        while (q.next()) {
            const double expected =
                q.value(2).toDouble() - q.value(3).toDouble() - q.value(4).toDouble();
            if (!same(q.value(1).toDouble(), expected))
                report(QStringLiteral("stock distinto de entradas menos salidas"),
                       QStringLiteral("%1: %2 <> %3")
                           .arg(q.value(0).toString())
                           .arg(q.value(1).toDouble())
                           .arg(expected));
        }
    }

    void taxIds() {
        SilentDialogs quiet;
        for (const char* sql : {"SELECT NIF FROM Clientes", "SELECT NIF FROM Proveedores",
                                "SELECT NIF FROM Aseguradoras", "SELECT NIF FROM Operarios",
                                "SELECT Nif FROM DatosEmpresa"}) {
            QSqlQuery q = db_.execForward(QString::fromUtf8(sql));
            while (q.next()) {
                QString id = q.value(0).toString();
                const bool ok = !id.isEmpty() && id.at(0).isDigit() ? ValidarNIF(quiet, id)
                                                                    : ValidarCIF(quiet, id);
                if (!ok) report(QStringLiteral("NIF/CIF con letra de control incorrecta"), id);
            }
        }
    }

    Database& db_;
    int limit_;
    QStringList problems_;
    std::map<QString, int> perKind_;
};

}  // namespace

QStringList checkConsistency(Database& db, int limit) {
    return Checker(db, limit).run();
}

}  // namespace torvane::gen
