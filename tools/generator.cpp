#include "generator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "core/format.h"
#include "core/money.h"
#include "core/numbering.h"
#include "core/validation.h"
#include "data/database.h"
#include "generator_data.h"
#include "random.h"
#include "silent_dialogs.h"
#include "tow/tow_reports.h"

namespace torvane::gen {

std::optional<Scale> scaleNamed(const QString& name) {
    Scale s;
    if (name == QLatin1String("large")) {
        s = {20000, 25000, 150000, 100000, 30000, 150, 25, 10, 3000, 500, 6000, 10};
        return s;
    }
    if (name == QLatin1String("demo")) {
        s = {300, 380, 1200, 900, 400, 20, 6, 5, 40, 8, 60, 1};
        return s;
    }
    bool ok = false;
    const int n = name.toInt(&ok);
    if (!ok || n < 5 || n > 1000000) return std::nullopt;
    s.customers = n;
    s.vehicles = n + n / 4;
    s.workOrders = n * 15 / 2;
    s.sales = n * 5;
    s.articles = std::max(120, n * 3 / 2);
    s.suppliers = std::max(4, n / 130);
    s.operators = std::clamp(n / 800, 4, 25);
    s.insurers = std::clamp(n / 2000, 3, 10);
    s.freeInvoices = std::max(4, n * 3 / 20);
    s.commissions = std::max(2, n / 40);
    s.towReports = std::max(6, n * 3 / 10);
    s.years = std::clamp(n / 2000, 1, 10);
    return s;
}

QString Counts::summary() const {
    return QStringLiteral(
               "%1 clientes, %2 vehiculos, %3 articulos, %4 ODTs con %5 lineas, %6 facturas de "
               "ODT, %7 ventas con %8 lineas, %9 facturas de venta, %10 cobros, %11 compras, "
               "%12 facturas libres, %13 comisiones, %14 recibos, %15 partes de grua")
        .arg(customers)
        .arg(vehicles)
        .arg(articles)
        .arg(workOrders)
        .arg(workOrderLines)
        .arg(workOrderInvoices)
        .arg(sales)
        .arg(saleLines)
        .arg(saleInvoices)
        .arg(payments)
        .arg(purchases)
        .arg(freeInvoices)
        .arg(commissions)
        .arg(receipts)
        .arg(towReports);
}

namespace {

const QString kNo = QStringLiteral("No");
// An empty text box writes an empty text, not a null.
const QString kEmpty = QStringLiteral("");

QString pad(qint64 n, int width) {
    return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}
QString iso(const QDate& d) {
    return toIsoDate(d);
}
QVariant null() {
    return QVariant();
}

// One statement prepared once and run many times: the generator's whole speed.
class Stmt {
  public:
    Stmt(Database& db, const QString& sql) : q_(db.handle()), sql_(sql) {
        q_.setForwardOnly(true);
        if (!q_.prepare(sql)) throw DbError(q_.lastError().text() + QStringLiteral(": ") + sql);
    }
    qint64 run(std::initializer_list<QVariant> values) {
        int i = 0;
        for (const QVariant& v : values) q_.bindValue(i++, v);
        if (!q_.exec()) throw DbError(q_.lastError().text() + QStringLiteral(": ") + sql_);
        return q_.lastInsertId().toLongLong();
    }

  private:
    QSqlQuery q_;
    QString sql_;
};

// The last number issued per series and prefix, as the screens would read it back from the
// table (documents are issued in date order, so the last row is the greatest).
class Numbers {
  public:
    QString next(Series s, const QDate& d) { return batch(s, d, 1).front(); }
    // Numbers created together (receipts): increments 0, 1, 2 from the same last number.
    QStringList batch(Series s, const QDate& d, int count) {
        const QString prefix = ExpandSeries(defaultSeriesText(s), d);
        QString& last = last_[{static_cast<int>(s), prefix}];
        const QString from = last.isEmpty() ? QStringLiteral("a0") : last;
        QStringList out;
        for (int k = 0; k < count; ++k) out << NextNumber(from, prefix, k);
        last = out.back();
        return out;
    }
    // New article codes probe prefix + 0001, 0003, 0006, ... within the month.
    QString articleCode(const QDate& d) {
        const QString prefix = ExpandSeries(defaultSeriesText(Series::A), d);
        const qint64 k = ++articles_[prefix];
        return prefix + pad(k * (k + 1) / 2, 4);
    }

  private:
    std::map<std::pair<int, QString>, QString> last_;
    std::map<QString, qint64> articles_;
};

struct Customer {
    QString nombre, direccion, cp, localidad, provincia, telefono, movil, fax;
    QString banco, sucursal, cuenta;
    int diaPago = 0;
    double descuento = 0;
    std::vector<int> vehicles;  // indexes
};

struct Vehicle {
    int owner = 0;  // index
    QString matricula, marca, modelo, color;
    double km = 0;
};

// A line's amount: units x price less the discount %, to the cent.
Money lineAmount(double units, double price, double discount) {
    return (Money::fromDouble(price) * Quantity::fromDouble(units))
        .lessPercent(Quantity::fromDouble(discount))
        .roundCents();
}

Money vat16(Money base) {
    return base.percent(Quantity::whole(16)).roundCents();
}

// A tariff amount scaled by a factor, to the cent.
Money scaledCents(Money amount, Quantity factor) {
    return (amount * factor).roundCents();
}

struct Operator {
    QString codigo, nombre;
    int department = 0;
};

struct Article {
    qint64 id = 0;
    QString codigo, nombre;
    double price = 0;
    double stock = 0;
    int minStock = 1;
    int maxUnits = 1;
    int supplier = 1;  // Id_Pro
    bool reorder = false;
};

struct Tariff {
    qint64 insurerId = 0;
    QString nombre;
    std::map<QString, Money> rate;  // amounts; the P1/P2 percentages and I* kilometres whole
    insurers::Tariff priced;        // the same row as the tow screen reads it
};

struct WorkOrder {
    QString nodt;
    QDate fecha, entrega;
    int customer = 0, vehicle = 0;  // indexes
    double km = 0;
    QString combustible;
    bool recoge = false, imprevisto = false, presupuesto = false, interna = false;
    Money nominal;
    int outcome = 0;
    QString nalbaran = kNo, nfactura = kNo;
    qint64 rowId = 0;
};

enum Outcome { InvoiceNow, NoteThenGroup, Group, NoteOnly, Nothing, Internal };

struct Sale {
    qint64 rowId = 0;
    int customer = 0;
    Money nominal, total;
};

struct OpenInvoice {
    QString number;
    int customer = 0;
    Money importe;
};

class Generator {
  public:
    Generator(Database& db, const Options& o)
        : db_(db),
          o_(o),
          rng_(o.seed),
          today_(o.today),
          start_(o.today.addYears(-o.scale.years).addDays(1)) {}

    Counts run() {
        prepare();
        masters();
        activity();
        finish();
        return counts_;
    }

  private:
    // ---------------------------------------------------------------- statements
    void prepare() {
        auto s = [&](const char* sql) {
            return std::make_unique<Stmt>(db_, QString::fromUtf8(sql));
        };
        insCliente_ =
            s("INSERT INTO Clientes (Codigo, NIF, Nombre, Apellido1, Direccion, CP, "
              "Localidad, Provincia, Telefono, Movil, Fax, Banco, Sucursal, NumeroCuenta, "
              "Forma_Pago, DiaDePago, Descuento, CodigoContable) "
              "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        insVehiculo_ =
            s("INSERT INTO Vehiculos (Id_Cli, Matricula, Marca, Modelo, Color, "
              "CodigoColor, NChasis, NMotor, CodigoLLave, CodigoRadio, FechaITV, "
              "FechaVenta, Notas) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)");
        insArticulo_ =
            s("INSERT INTO Articulos (Codigo, Nombre, Referencia, Familia, Almacen, "
              "StockInicial, StockMinimo, PrecioVenta, Descuento, Id_Proveedor) "
              "VALUES (?,?,?,?,?,?,?,?,?,?)");
        insOdt_ =
            s("INSERT INTO ODTS (NODT, Fecha, FechaEntrega, Id_Cli, Id_Coche, Kilometros, "
              "Combustible, Recoge, Imprevisto, Presupuesto, NPresupuesto, NAlbaran, "
              "NFactura, Nominal, Interna) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        insTrabajo_ = s("INSERT INTO TrabajosRealizar_ODT (NODT, Trabajo) VALUES (?,?)");
        insLabour_ =
            s("INSERT INTO TrabajosRealizadosODT (NODT, NOperario, Departamento, "
              "TRealizado, Fecha, TReal, TFacturado, Precio, Dto) "
              "VALUES (?,?,?,?,?,?,?,?,?)");
        insMaterial_ =
            s("INSERT INTO MaterialesODT (NODT, NArticulo, Descripcion, Unidades, "
              "Precio, Dto) VALUES (?,?,?,?,?,?)");
        insLibre_ =
            s("INSERT INTO LineasLibresODT (nODT, Referencia, TextoLibre, Unidades, "
              "Precio, Dto) VALUES (?,?,?,?,?,?)");
        insFacturaOdt_ =
            s("INSERT INTO FacturasODT (NFactura, Fecha, Base, IVA, Importe, Pagado) "
              "VALUES (?,?,?,?,?,?)");
        setOdtInvoice_ = s("UPDATE ODTS SET NFactura = ? WHERE Id_ODT = ?");
        insAlbaran_ =
            s("INSERT INTO Albaranes (Id_Alb, Fecha, Id_Cli, NFactura, Notas, Suma, "
              "Nominal, IVA, Total) VALUES (?,?,?,?,?,?,?,?,?)");
        setSaleInvoice_ = s("UPDATE Albaranes SET NFactura = ? WHERE Id = ?");
        insSalida_ =
            s("INSERT INTO Salidas (Id_Alb, Id_Art, Codigo, Descripcion, Cantidad, Precio, "
              "Dto) VALUES (?,?,?,?,?,?,?)");
        insFactura_ =
            s("INSERT INTO Facturas (Id_Fac, Fecha, Id_Cli, Pagado, Total) "
              "VALUES (?,?,?,?,?)");
        insCobro_ = s("INSERT INTO Cobros (NFactura, Fecha, Cantidad) VALUES (?,?,?)");
        insEntrada_ =
            s("INSERT INTO Entradas (NEntrada, NAlbaran, Fecha, Id_Pro, Id_Art, Cantidad, "
              "Precio, Descuento) VALUES (?,?,?,?,?,?,?,?)");
        insLibreFac_ =
            s("INSERT INTO FacturasLibres (Fecha, NFactura, Id_Cli, Suma, Iva, Total, "
              "Descuento, Dto, TipoIva) VALUES (?,?,?,?,?,?,?,?,?)");
        insLibreLinea_ =
            s("INSERT INTO SalidasLibres (NFactura, Concepto, Unidades, Precio, Dto, "
              "Importe) VALUES (?,?,?,?,?,?)");
        insRecibo_ =
            s("INSERT INTO Recibos (NRecibo, Fecha, Vto, Importe, Id_cli, Banco, Sucursal, "
              "NCuenta, ImporteLetras, NFactura) VALUES (?,?,?,?,?,?,?,?,?,?)");
        insComision_ =
            s("INSERT INTO Comisiones (NFactura, Fecha, Id_Cli, Suma, Iva, Retencion, "
              "Resto, TipoRetencion) VALUES (?,?,?,?,?,?,?,?)");
        insComisionLinea_ =
            s("INSERT INTO SalidasComisiones (NFactura, Concepto, Unidades, Precio, "
              "Dto, Total) VALUES (?,?,?,?,?,?)");
        insParte_ =
            s("INSERT INTO Partes (NParte, Referencia, Fecha, \"Compañia\", Matricula, "
              "Marca, Modelo, Color, TipoVehiculo, OtroVehiculo, Conductor, TipoDia, "
              "TipoSalida, Desde, Hasta, Kilometros, TiempoEspera, TiempoRescate, "
              "DiasDeposito, Nombre, Direccion, Localidad, Provincia, CP, Telefono, Movil, "
              "Fax, Observaciones, NFactura, Id_Ase, IVA, FechaFactura) "
              "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        insLineaParte_ =
            s("INSERT INTO LineasPartes (NParte, Texto, Cantidad, Precio, Importe) "
              "VALUES (?,?,?,?,?)");
    }

    // ---------------------------------------------------------------- small helpers
    QString pick(const QStringList& l) {
        return l.at(rng_.range(0, static_cast<int>(l.size()) - 1));
    }
    double money(double lo, double hi) { return cents(lo, hi).toDouble(); }
    Money cents(double lo, double hi) {
        return Money::fromCents(rng_.range(static_cast<int>(lo * 100), static_cast<int>(hi * 100)));
    }
    QString digits(int n) {
        QString s;
        for (int i = 0; i < n; ++i) s += QChar('0' + rng_.range(0, 9));
        return s;
    }
    QString letters(int n, const char* alphabet) {
        const int len = static_cast<int>(qstrlen(alphabet));
        QString s;
        for (int i = 0; i < n; ++i) s += QLatin1Char(alphabet[rng_.range(0, len - 1)]);
        return s;
    }
    QString personName() {
        const QString first = rng_.chance(0.55) ? pick(maleNames()) : pick(femaleNames());
        return first + ' ' + pick(surnames()) + ' ' + pick(surnames());
    }
    QString nif() {
        const QString d = QString::number(rng_.range(10000000, 79999999));
        return d + nifLetter(d);
    }
    // A company tax id whose control character the CIF check accepts.
    QString cif() {
        static const char* firsts = "BBBBBBAAAGEFH";
        const QString head =
            QChar(QLatin1Char(firsts[rng_.range(0, 12)])) + pad(rng_.range(3, 50), 2) + digits(5);
        static const QString controls = QStringLiteral("0123456789JABCDEFGHI");
        for (const QChar c : controls) {
            QString candidate = head + c;
            if (ValidarCIF(silent_, candidate)) return candidate;
        }
        return head + '0';  // not reached: one of the controls always matches
    }
    // Spanish bank account (entity, office, two control digits, account).
    QString account() {
        const QString entity = digits(4), office = digits(4), number = digits(10);
        auto dc = [](const QString& ten) {
            static const int w[10] = {1, 2, 4, 8, 5, 10, 9, 7, 3, 6};
            int sum = 0;
            for (int i = 0; i < 10; ++i) sum += (ten.at(i).unicode() - '0') * w[i];
            int d = 11 - sum % 11;
            if (d == 11) d = 0;
            if (d == 10) d = 1;
            return QString::number(d);
        };
        return entity + office + dc(QStringLiteral("00") + entity + office) + dc(number) + number;
    }
    QDate workingDayOnOrAfter(QDate d) const {
        if (d.dayOfWeek() == 7) d = d.addDays(1);
        return d;
    }

    // ---------------------------------------------------------------- master data
    void masters() {
        const Scale& sc = o_.scale;
        db_.exec(QStringLiteral("INSERT INTO DatosEmpresa (Nombre, Titular, Nif, Direccion, CP, "
                                "Localidad, Provincia, Telefono, Fax, IVA, Registro) "
                                "VALUES (?,?,?,?,?,?,?,?,?,?,?)"),
                 {QStringLiteral("TALLERES TORVANE, S.L."), QStringLiteral("VICENTE TORMO GARCIA"),
                  cif(), QStringLiteral("C/ DE LA INDUSTRIA, 14"), QStringLiteral("46960"),
                  QStringLiteral("ALDAIA"), QStringLiteral("VALENCIA"), QStringLiteral("961504422"),
                  QStringLiteral("961504423"), 16.0,
                  QStringLiteral("R.M. VALENCIA, TOMO 5432, FOLIO 118, HOJA V-44871")});

        for (const auto& d : departments())
            db_.exec(QStringLiteral("INSERT INTO PreciosHora (Departamento, Precio) VALUES (?,?)"),
                     {QString::fromUtf8(d.name), d.price});
        for (const auto& f : families())
            db_.exec(QStringLiteral("INSERT INTO Familias (Familia) VALUES (?)"),
                     {QString::fromUtf8(f.name)});
        for (const QString& w : warehouses())
            db_.exec(QStringLiteral("INSERT INTO Almacenes (Almacen) VALUES (?)"), {w});

        for (int i = 0; i < sc.operators; ++i) {
            Operator op;
            op.codigo = pad(i + 1, 2);
            op.nombre = personName();
            op.department = i % static_cast<int>(departments().size());
            const Town& t = towns()[rng_.range(0, static_cast<int>(towns().size()) - 1)];
            db_.exec(
                QStringLiteral("INSERT INTO Operarios (Codigo, Nombre, NIF, SS, Categoria, "
                               "Departamento, PrecioHora, Direccion, CP, Localidad, Provincia, "
                               "Telefono1, Telefono2, Movil, Fecha_Alta, Fecha_Nac, Notas) "
                               "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                {op.codigo, op.nombre, nif(), QStringLiteral("46/") + digits(8) + '/' + digits(2),
                 pick(categories()), QString::fromUtf8(departments()[op.department].name),
                 money(12, 22),
                 pick(streets()) + QStringLiteral(", ") + QString::number(rng_.range(1, 120)),
                 QString::fromUtf8(t.postcode) + digits(2), QString::fromUtf8(t.name),
                 QString::fromUtf8(t.province), phone(t), kEmpty, mobile(),
                 iso(start_.addDays(-rng_.range(30, 6000))),
                 iso(today_.addYears(-rng_.range(20, 60)).addDays(-rng_.range(0, 364))), kEmpty});
            operators_.push_back(op);
        }

        for (int i = 0; i < sc.suppliers; ++i) {
            const Town& t = towns()[rng_.range(0, static_cast<int>(towns().size()) - 1)];
            db_.exec(QStringLiteral("INSERT INTO Proveedores (Codigo_Pro, NIF, Nombre, Direccion, "
                                    "CP, Localidad, Provincia, Telefono1, Telefono2, Fax, "
                                    "CodigoContable, Notas) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"),
                     {pad(i + 1, 4), cif(),
                      pick(supplierWords()) + ' ' + pick(surnames()) + ' ' + pick(companyKinds()),
                      pick(streets()) + QStringLiteral(", ") + QString::number(rng_.range(1, 120)),
                      QString::fromUtf8(t.postcode) + digits(2), QString::fromUtf8(t.name),
                      QString::fromUtf8(t.province), phone(t), kEmpty, phone(t),
                      QStringLiteral("400") + pad(i + 1, 5), kEmpty});
        }

        for (int i = 0; i < sc.insurers; ++i) {
            const Town& t = towns()[rng_.range(0, static_cast<int>(towns().size()) - 1)];
            Tariff tf;
            tf.nombre = insurerNames().at(i % insurerNames().size());
            if (i >= insurerNames().size())
                tf.nombre += ' ' + QString::number(i / insurerNames().size() + 1);
            tf.insurerId = db_.insert(
                QStringLiteral(
                    "INSERT INTO Aseguradoras (Codigo, NIF, Nombre, Referencia, Direccion, "
                    "CP, Localidad, Provincia, Telefono, Movil, Fax, CodigoContable, "
                    "Notas) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                {pad(i + 1, 3), cif(), tf.nombre, QStringLiteral("CONV-") + digits(4),
                 pick(streets()) + QStringLiteral(", ") + QString::number(rng_.range(1, 120)),
                 QString::fromUtf8(t.postcode) + digits(2), QString::fromUtf8(t.name),
                 QString::fromUtf8(t.province), phone(t), mobile(), phone(t),
                 QStringLiteral("430") + pad(90000 + i, 5), kEmpty});
            auto& r = tf.rate;
            r["P1"] = Money::whole(rng_.range(20, 30));
            r["P2"] = Money::whole(rng_.range(25, 35));
            r["Deposito"] = cents(8, 15);
            r["Espera"] = cents(20, 30);
            r["Rescate"] = cents(35, 50);
            for (const char* kind : {"T", "F"}) {
                const Quantity vanFactor = QLatin1String(kind) == QLatin1String("F")
                                               ? Quantity::fromUnits(12000)
                                               : Quantity::whole(1);
                const Quantity surcharge = Quantity::fromUnits(12500);  // holidays and nights
                const Money urban = scaledCents(cents(55, 75), vanFactor);
                const Money road = scaledCents(cents(80, 110), vanFactor);
                const Money included = Money::whole(rng_.chance(0.5) ? 20 : 25);
                const Money perKm = scaledCents(cents(1.1, 1.6), vanFactor);
                const Money longExit = scaledCents(cents(120, 160), vanFactor);
                const Money longKm = scaledCents(cents(1.0, 1.5), vanFactor);
                const QString k = QLatin1String(kind);
                r["U" + k + "L"] = urban;
                r["U" + k + "F"] = scaledCents(urban, surcharge);
                r["C" + k + "L"] = road;
                r["C" + k + "F"] = scaledCents(road, surcharge);
                r["I" + k + "L"] = included;
                r["I" + k + "F"] = included;
                r["P" + k + "L"] = perKm;
                r["P" + k + "F"] = scaledCents(perKm, surcharge);
                r["SL" + k + "L"] = longExit;
                r["SL" + k + "F"] = scaledCents(longExit, surcharge);
                r["KL" + k + "L"] = longKm;
                r["KL" + k + "F"] = scaledCents(longKm, surcharge);
            }
            QStringList cols{"Id_Ase"};
            QVariantList vals{tf.insurerId};
            for (const auto& [name, value] : r) {
                cols << name;
                vals << value.toDb();
            }
            db_.exec(
                QStringLiteral("INSERT INTO Tarifas (%1) VALUES (%2)")
                    .arg(cols.join(','), QStringList(cols.size(), QStringLiteral("?")).join(',')),
                vals);
            tf.priced.stored = true;
            for (const QString& column : insurers::tariffColumns())
                tf.priced.amounts << (r.count(column) ? r.at(column) : Money());
            tariffs_.push_back(std::move(tf));
        }

        customers_.resize(sc.customers);
        for (int i = 0; i < sc.customers; ++i) addCustomer(i);
        vehicles_.resize(sc.vehicles);
        for (int i = 0; i < sc.vehicles; ++i)
            addVehicle(i, i < sc.customers ? i : rng_.range(0, sc.customers - 1));

        // Most of the catalogue exists before the period; the rest is created along it.
        const int catalogue = sc.articles - sc.articles / 8;
        for (int i = 0; i < catalogue; ++i) addArticle(kEmpty, start_);
        newArticlesLeft_ = sc.articles - catalogue;
    }

    QString phone(const Town& t) {
        const QString area = QString::fromUtf8(t.phone);
        return area + digits(9 - static_cast<int>(area.size()));
    }
    QString mobile() { return QChar(rng_.chance(0.8) ? '6' : '7') + digits(8); }

    void addCustomer(int i) {
        Customer& c = customers_[i];
        const bool company = rng_.chance(0.15);
        const Town& t = towns()[rng_.range(0, static_cast<int>(towns().size()) - 1)];
        QString nifText, empresa;
        if (company) {
            c.nombre = pick(companyWords()) + ' ' + pick(surnames()) + ' ' + pick(companyKinds());
            nifText = cif();
            if (rng_.chance(0.4)) empresa = pick(companyWords()) + ' ' + pick(surnames());
        } else {
            c.nombre = personName();
            nifText = nif();
        }
        c.direccion = pick(streets()) + QStringLiteral(", ") + QString::number(rng_.range(1, 150));
        if (!company && rng_.chance(0.5))
            c.direccion +=
                QStringLiteral(" %1º %2").arg(rng_.range(1, 9)).arg(QChar('A' + rng_.range(0, 3)));
        c.cp = QString::fromUtf8(t.postcode) + digits(2);
        c.localidad = QString::fromUtf8(t.name);
        c.provincia = QString::fromUtf8(t.province);
        c.telefono = rng_.chance(0.7) ? phone(t) : kEmpty;
        c.movil = rng_.chance(0.85) ? mobile() : kEmpty;
        c.fax = company && rng_.chance(0.5) ? phone(t) : kEmpty;
        const bool bank = company ? rng_.chance(0.8) : rng_.chance(0.45);
        if (bank) {
            c.banco = pick(banks());
            c.sucursal = QStringLiteral("OF. ") + digits(4) + ' ' + c.localidad;
            c.cuenta = account();
            c.diaPago = QList<int>{5, 10, 15, 20, 25}.at(rng_.range(0, 4));
        }
        c.descuento = rng_.chance(0.1) ? (rng_.chance(0.5) ? 5 : 10) : 0;
        const QString terms = bank ? QStringLiteral("RECIBO DOMICILIADO") : pick(paymentTerms());
        insCliente_->run({pad(i + 1, 4), nifText, c.nombre, empresa, c.direccion, c.cp, c.localidad,
                          c.provincia, c.telefono, c.movil, c.fax, c.banco, c.sucursal, c.cuenta,
                          terms, c.diaPago ? QString::number(c.diaPago) : kEmpty, c.descuento,
                          QStringLiteral("430") + pad(i + 1, 5)});
        ++counts_.customers;
    }

    void addVehicle(int i, int owner) {
        Vehicle& v = vehicles_[i];
        v.owner = owner;
        customers_[owner].vehicles.push_back(i);
        const CarMake& m = carMakes()[rng_.range(0, static_cast<int>(carMakes().size()) - 1)];
        v.marca = QString::fromUtf8(m.make);
        v.modelo = pick(m.models);
        v.color = pick(colours());
        const int regYear = rng_.range(today_.year() - 22, today_.year() - 1);
        const QDate sold(regYear, rng_.range(1, 12), rng_.range(1, 28));
        if (regYear >= 2001) {
            // Current plates: four digits and three consonants that advance with the years.
            static const char* cons = "BCDFGHJKLMNPRSTVWXYZ";
            const int first = std::clamp((regYear - 2000) * 20 / 26, 0, 19);
            v.matricula = digits(4) + ' ' + QLatin1Char(cons[first]) + letters(2, cons);
        } else {
            static const char* prov[] = {"V", "CS", "A", "M", "AB", "MU"};
            v.matricula = QLatin1String(prov[rng_.range(0, 5)]) + '-' + digits(4) + '-' +
                          letters(2, "ABCDEFGHJKLMNPRSTUVWXYZ");
        }
        v.km = rng_.range(5, 60) * 1000.0 * (today_.year() - regYear) / 4.0 + rng_.range(0, 999);
        const QDate itv = sold.addYears(std::max(4, (today_.year() - regYear) / 2 * 2 + 2));
        insVehiculo_->run(
            {qint64(owner + 1), v.matricula, v.marca, v.modelo, v.color,
             rng_.chance(0.5) ? letters(2, "ABCDEFGHKLMNPRSTUVWXYZ") + digits(2) : kEmpty,
             letters(3, "ABCDEFGHJKLMNPRSTUVWXYZ") + letters(1, "0123456789ABCDEFGHJ") + digits(13),
             rng_.chance(0.5) ? letters(3, "ABCDEFGHJKLMNPRSTUVWXYZ") + digits(6) : kEmpty,
             rng_.chance(0.3) ? digits(5) : kEmpty, rng_.chance(0.2) ? digits(4) : kEmpty, iso(itv),
             iso(sold), kEmpty});
        ++counts_.vehicles;
    }

    void addArticle(const QString& code, const QDate&) {
        const Family& f = families()[rng_.range(0, static_cast<int>(families().size()) - 1)];
        Article a;
        const QString brand = pick(f.brands);
        const QString ref = letters(rng_.range(1, 2), "ABCDEFGHKLMNPRSTW") +
                            digits(rng_.range(3, 6)) +
                            (rng_.chance(0.3) ? QStringLiteral("/") + digits(2) : kEmpty);
        a.codigo = code.isEmpty() ? QString::fromUtf8(f.code) + pad(articles_.size() + 1, 5) : code;
        a.nombre = pick(f.items) + ' ' + brand + ' ' + ref;
        a.price = money(f.minPrice, f.maxPrice);
        a.maxUnits = f.maxUnits;
        a.minStock = rng_.range(1, 3) * std::max(1, f.maxUnits);
        a.supplier = rng_.range(1, o_.scale.suppliers);
        a.id = insArticulo_->run({a.codigo, a.nombre, ref, QString::fromUtf8(f.name),
                                  pick(warehouses()), 0.0, double(a.minStock), a.price, 0.0,
                                  a.supplier});
        a.reorder = true;  // stock arrives with the first purchase
        reorders_.push_back(static_cast<int>(articles_.size()));
        articles_.push_back(a);
        ++counts_.articles;
    }

    // ---------------------------------------------------------------- activity
    void activity() {
        std::vector<QDate> days;
        std::vector<double> weight;
        double total = 0;
        for (QDate d = start_; d <= today_; d = d.addDays(1)) {
            const double w = d.dayOfWeek() == 7 ? 0.0 : d.dayOfWeek() == 6 ? 0.5 : 1.0;
            days.push_back(d);
            weight.push_back(w);
            total += w;
        }
        const Scale& sc = o_.scale;
        struct Flow {
            double perWeight, acc = 0;
            int take(double w) {
                acc += perWeight * w;
                const int n = static_cast<int>(acc);
                acc -= n;
                return n;
            }
        };
        Flow odt{sc.workOrders / total}, sale{sc.sales / total}, libre{sc.freeInvoices / total},
            comi{sc.commissions / total}, grua{sc.towReports / total},
            art{newArticlesLeft_ / total};
        // Rounding may leave the last one behind; a tiny push makes the totals come out.
        for (Flow* f : {&odt, &sale, &libre, &comi, &grua, &art}) f->acc = 0.5;

        for (std::size_t i = 0; i < days.size(); ++i) {
            const QDate d = days[i];
            const double w = weight[i];
            if (w == 0) continue;
            purchases(d);
            for (int n = art.take(w); n > 0; --n) addArticle(numbers_.articleCode(d), d);
            for (int n = odt.take(w); n > 0; --n) openWorkOrder(d);
            for (int n = sale.take(w); n > 0; --n) counterSale(d);
            closeWorkOrders(d);
            for (int n = libre.take(w); n > 0; --n) freeInvoice(d);
            for (int n = comi.take(w); n > 0; --n) commission(d);
            for (int n = grua.take(w); n > 0; --n) towReport(d);
            // Month-end billing on the last working day of a month that is over.
            QDate next = d.addDays(1);
            while (next <= today_ && next.dayOfWeek() == 7) next = next.addDays(1);
            if (next <= today_ && next.month() != d.month()) monthEnd(d);
        }
        // Orders still in the workshop were saved with neither note nor invoice.
        for (auto& [day, list] : closing_)
            for (int idx : list) storeWorkOrder(workOrders_[idx]);
        closing_.clear();
    }

    int pickVehicle() { return rng_.skewed(static_cast<int>(vehicles_.size())); }
    int pickCustomer() { return rng_.skewed(static_cast<int>(customers_.size())); }
    Article& pickArticle() { return articles_[rng_.skewed(static_cast<int>(articles_.size()))]; }
    void takeStock(Article& a, double units) {
        a.stock -= units;
        if (a.stock <= a.minStock && !a.reorder) {
            a.reorder = true;
            reorders_.push_back(static_cast<int>(&a - articles_.data()));
        }
    }

    void purchases(const QDate& d) {
        if (reorders_.empty()) return;
        std::map<int, std::vector<int>> bySupplier;
        for (int idx : reorders_) bySupplier[articles_[idx].supplier].push_back(idx);
        reorders_.clear();
        for (auto& [supplier, list] : bySupplier) {
            const QString number = numbers_.next(Series::EN, d);
            const QString note = QStringLiteral("%1/%2").arg(pad(supplier, 3), digits(6));
            for (int idx : list) {
                Article& a = articles_[idx];
                const double units = std::max(1.0, a.minStock * 3.0 - a.stock);
                insEntrada_->run({number, note, iso(d), supplier, a.id, units, a.price, 0.0});
                a.stock += units;
                a.reorder = false;
            }
            ++counts_.purchases;
        }
    }

    void openWorkOrder(const QDate& d) {
        WorkOrder o;
        o.nodt = numbers_.next(Series::ODT, d);
        o.fecha = d;
        o.vehicle = pickVehicle();
        Vehicle& v = vehicles_[o.vehicle];
        o.customer = v.owner;
        v.km += rng_.range(300, 15000);
        o.km = std::floor(v.km);
        o.combustible = pick(fuelLevels());
        o.recoge = rng_.chance(0.3);
        o.imprevisto = rng_.chance(0.6);
        o.presupuesto = rng_.chance(0.05);
        const int stay = rng_.chance(0.3) ? 0 : rng_.chance(0.45) ? 1 : rng_.range(2, 7);
        o.entrega = workingDayOnOrAfter(d.addDays(stay));
        const double r = rng_.unit();
        o.interna = r < 0.03;
        o.outcome = o.interna  ? Internal
                    : r < 0.72 ? InvoiceNow
                    : r < 0.80 ? NoteThenGroup
                    : r < 0.88 ? Group
                    : r < 0.95 ? NoteOnly
                               : Nothing;

        // Lines are stored as they are added, before the order itself.
        const double dto = customers_[o.customer].descuento;
        Money base;
        for (int n = rng_.range(1, 3); n > 0; --n) {
            insTrabajo_->run({o.nodt, pick(jobsToDo())});
            ++counts_.workOrderLines;
        }
        for (int n = rng_.range(1, 4); n > 0; --n) {
            const Operator& op = operators_[rng_.range(0, static_cast<int>(operators_.size()) - 1)];
            const auto& dep = departments()[op.department];
            const double billed = rng_.range(2, 16) * 0.25;
            const double real = std::max(0.25, billed + rng_.range(-1, 1) * 0.25);
            const double lineDto = rng_.chance(0.1) ? 10 : 0;
            insLabour_->run({o.nodt, op.codigo, QString::fromUtf8(dep.name), pick(labourTexts()),
                             iso(d.addDays(rng_.range(0, d.daysTo(o.entrega)))), real, billed,
                             dep.price, lineDto});
            base += lineAmount(billed, dep.price, lineDto);
            ++counts_.workOrderLines;
        }
        for (int n = rng_.range(2, 7); n > 0; --n) {
            if (rng_.chance(0.9)) {
                Article& a = pickArticle();
                const double units = rng_.range(1, a.maxUnits);
                insMaterial_->run({o.nodt, a.codigo, a.nombre, units, a.price, dto});
                takeStock(a, units);
                base += lineAmount(units, a.price, dto);
            } else {
                const double price = money(0.5, 12);
                insMaterial_->run({o.nodt, kEmpty, pick(looseMaterials()), 1.0, price, 0.0});
                base += lineAmount(1, price, 0);
            }
            ++counts_.workOrderLines;
        }
        const double r2 = rng_.unit();
        for (int n = r2 < 0.4 ? 0 : r2 < 0.8 ? 1 : 2; n > 0; --n) {
            const double units = rng_.chance(0.8) ? 1 : rng_.range(2, 3);
            const double price = money(3, 60);
            insLibre_->run({o.nodt, rng_.chance(0.3) ? digits(6) : kEmpty, pick(freeLineTexts()),
                            units, price, 0.0});
            base += lineAmount(units, price, 0);
            ++counts_.workOrderLines;
        }
        o.nominal = base;
        closing_[o.entrega].push_back(static_cast<int>(workOrders_.size()));
        workOrders_.push_back(std::move(o));
        ++counts_.workOrders;
    }

    void storeWorkOrder(WorkOrder& o) {
        o.rowId = insOdt_->run({o.nodt, iso(o.fecha), iso(o.entrega), qint64(o.customer + 1),
                                qint64(o.vehicle + 1), o.km, o.combustible, int(o.recoge),
                                int(o.imprevisto), int(o.presupuesto), kNo, o.nalbaran, o.nfactura,
                                o.nominal.toDb(), o.interna ? QStringLiteral("Si") : kNo});
    }

    void closeWorkOrders(const QDate& d) {
        auto it = closing_.find(d);
        if (it == closing_.end()) return;
        for (int idx : it->second) {
            WorkOrder& o = workOrders_[idx];
            switch (o.outcome) {
                case InvoiceNow: {
                    // Invoiced from the editor on its exit date: VAT as shown, to the cent.
                    o.nfactura = numbers_.next(Series::FR, d);
                    const Money vat = vat16(o.nominal);
                    storeWorkOrderInvoice(o.nfactura, d, o.nominal, vat, o.nominal + vat,
                                          o.customer, d);
                    break;
                }
                case NoteThenGroup:
                    o.nalbaran = numbers_.next(Series::AL, d);
                    pendingOrders_.push_back(idx);
                    break;
                case Group:
                    pendingOrders_.push_back(idx);
                    break;
                case NoteOnly:
                    o.nalbaran = numbers_.next(Series::AL, d);
                    break;
                default:
                    break;
            }
            storeWorkOrder(o);
        }
        closing_.erase(it);
    }

    void storeWorkOrderInvoice(const QString& number, const QDate& d, Money base, Money vat,
                               Money importe, int customer, const QDate& paidOn) {
        const Money pagado = payments(number, importe, d, paidOn);
        insFacturaOdt_->run(
            {number, iso(d), base.toDb(), vat.toDb(), importe.toDb(), pagado.toDb()});
        ++counts_.workOrderInvoices;
        monthInvoices_.push_back({number, customer, pagado.isZero() ? importe : Money()});
    }

    // Books the payments of an invoice and returns its Pagado (their sum).
    Money payments(const QString& number, Money amount, const QDate& d, const QDate& paidOn) {
        const int age = d.daysTo(today_);
        const double r = rng_.unit();
        std::vector<std::pair<QDate, Money>> parts;
        if (r < 0.55) {
            parts.push_back({paidOn, amount});
        } else if (age > 20 && r < 0.80) {
            const int k = rng_.range(1, 3);
            Money left = amount;
            QDate when = d;
            for (int i = 0; i < k; ++i) {
                when = std::min(today_, when.addDays(rng_.range(5, 40)));
                const Money part =
                    i == k - 1 ? left
                               : amount.percent(Quantity::whole(rng_.range(20, 45))).roundCents();
                parts.push_back({when, part});
                left -= part;
            }
        } else if (age > 20 && r < 0.90) {
            QDate when = d;
            for (int i = rng_.range(1, 2); i > 0; --i) {
                when = std::min(today_, when.addDays(rng_.range(5, 40)));
                parts.push_back(
                    {when, amount.percent(Quantity::whole(rng_.range(15, 35))).roundCents()});
            }
        }
        Money pagado;
        for (const auto& [when, part] : parts) {
            insCobro_->run({number, iso(when), part.toDb()});
            pagado += part;
            ++counts_.payments;
        }
        return pagado;
    }

    void counterSale(const QDate& d) {
        Sale s;
        s.customer = pickCustomer();
        const QString number = numbers_.next(Series::AR, d);
        const double dto = customers_[s.customer].descuento;
        Money sum;
        for (int n = rng_.range(1, 4); n > 0; --n) {
            if (rng_.chance(0.88)) {
                Article& a = pickArticle();
                const double units = rng_.range(1, a.maxUnits);
                insSalida_->run({number, a.id, a.codigo, a.nombre, units, a.price, dto});
                takeStock(a, units);
                sum += lineAmount(units, a.price, dto);
            } else {
                const double price = money(1, 25);
                insSalida_->run({number, 0, kEmpty, pick(looseMaterials()), 1.0, price, 0.0});
                sum += lineAmount(1, price, 0);
            }
            ++counts_.saleLines;
        }
        s.nominal = sum;
        const Money vat = vat16(s.nominal);
        s.total = s.nominal + vat;
        QString invoice = kNo;
        const double r = rng_.unit();
        if (r < 0.55) {
            invoice = numbers_.next(Series::FV, d);
            storeSaleInvoice(invoice, d, s.customer, s.total, d);
        }
        s.rowId =
            insAlbaran_->run({number, iso(d), qint64(s.customer + 1), invoice, kEmpty,
                              s.nominal.toDb(), s.nominal.toDb(), vat.toDb(), s.total.toDb()});
        if (invoice == kNo && r < 0.85) pendingSales_.push_back(s);
        ++counts_.sales;
    }

    void storeSaleInvoice(const QString& number, const QDate& d, int customer, Money total,
                          const QDate& paidOn) {
        const Money pagado = payments(number, total, d, paidOn);
        insFactura_->run({number, iso(d), qint64(customer + 1), pagado.toDb(), total.toDb()});
        ++counts_.saleInvoices;
    }

    void monthEnd(const QDate& d) {
        // Work orders left for the month's billing: one invoice per customer.
        std::map<int, std::vector<int>> orders;
        for (int idx : pendingOrders_) orders[workOrders_[idx].customer].push_back(idx);
        pendingOrders_.clear();
        for (auto& [customer, list] : orders) {
            const QString number = numbers_.next(Series::FR, d);
            Money base;
            for (int idx : list) {
                WorkOrder& o = workOrders_[idx];
                o.nfactura = number;
                setOdtInvoice_->run({number, o.rowId});
                base += o.nominal;
            }
            const Money vat = vat16(base);
            storeWorkOrderInvoice(number, d, base, vat, base + vat, customer, d);
        }
        // Delivery notes: several of a customer on one invoice, a single one on its own.
        std::map<int, std::vector<Sale>> sales;
        for (const Sale& s : pendingSales_) sales[s.customer].push_back(s);
        pendingSales_.clear();
        for (auto& [customer, list] : sales) {
            const QString number = numbers_.next(Series::FV, d);
            Money total;
            for (const Sale& s : list) {
                setSaleInvoice_->run({number, s.rowId});
                total += s.total;
            }
            storeSaleInvoice(number, d, customer, total, d);
        }
        receipts(d);
    }

    void receipts(const QDate& d) {
        for (const OpenInvoice& inv : monthInvoices_) {
            const Customer& c = customers_[inv.customer];
            if (inv.importe.isZero() || c.cuenta.isEmpty() || !rng_.chance(0.5)) continue;
            const int t = rng_.range(0, static_cast<int>(receiptTerms().size()) - 1);
            static const std::vector<std::vector<int>> due{{0},  {30},     {45},     {60},
                                                           {90}, {30, 60}, {60, 90}, {30, 60, 90}};
            const auto& offsets = due[t];
            const int n = static_cast<int>(offsets.size());
            const QStringList numbers = numbers_.batch(Series::REC, d, n);
            const Money amount = inv.importe.shareCents(n);
            const int day = c.diaPago ? c.diaPago : d.day();
            for (int k = 0; k < n; ++k) {
                const QString dueText = formatDate(d.addDays(offsets[k]));
                insRecibo_->run({numbers[k], iso(d), QString::number(day) + dueText.right(8),
                                 amount.toDb(), qint64(inv.customer + 1), c.banco, c.sucursal,
                                 c.cuenta, MonedaLetras(amount, QStringLiteral("Euros")),
                                 inv.number});
                ++counts_.receipts;
            }
        }
        monthInvoices_.clear();
    }

    void freeInvoice(const QDate& d) {
        const QString number = numbers_.next(Series::FL, d);
        const int customer = pickCustomer();
        Money suma;
        for (int n = rng_.range(1, 4); n > 0; --n) {
            const double units = rng_.range(1, 3);
            const double price = money(20, 600);
            const double dto = rng_.chance(0.2) ? 5 : 0;
            const Money importe = lineAmount(units, price, dto);
            insLibreLinea_->run(
                {number, pick(freeInvoiceConcepts()), units, price, dto, importe.toDb()});
            suma += importe;
        }
        const Money vat = vat16(suma);
        const double dto = rng_.chance(0.1) ? 5 : 0;
        const Money discount = (suma + vat).percent(Quantity::fromDouble(dto)).roundCents();
        insLibreFac_->run({iso(d), number, qint64(customer + 1), suma.toDb(), vat.toDb(),
                           (suma + vat - discount).toDb(), discount.toDb(), dto, 16.0});
        ++counts_.freeInvoices;
    }

    void commission(const QDate& d) {
        const qint64 id = ++commissionRows_;
        const QString number =
            QStringLiteral("FC") + d.toString(QStringLiteral("yy/MM/")) + pad(id, 4);
        Money suma;
        std::vector<std::pair<QString, double>> lines;
        for (int n = rng_.range(1, 3); n > 0; --n) {
            const double price = money(60, 900);
            lines.push_back({pick(commissionConcepts()), price});
            suma += Money::fromDouble(price);
        }
        const Money vat = vat16(suma);
        const Money withholding = suma.percent(Quantity::whole(15)).roundCents();
        insComision_->run({number, iso(d), qint64(pickCustomer() + 1), suma.toDb(), vat.toDb(),
                           withholding.toDb(), (suma + vat - withholding).toDb(), 15.0});
        for (const auto& [text, price] : lines)
            insComisionLinea_->run({number, text, 1.0, price, 0.0, price});
        ++counts_.commissions;
    }

    void towReport(const QDate& d) {
        const QString number = numbers_.next(Series::PG, d);
        const Tariff& tf = tariffs_[rng_.range(0, static_cast<int>(tariffs_.size()) - 1)];
        const int customer = pickCustomer();
        const Customer& c = customers_[customer];
        const Vehicle& v = vehicles_[c.vehicles.front()];
        const bool car = rng_.chance(0.8);
        const bool working = rng_.chance(0.75);
        const bool percentage = !working && rng_.chance(0.3);
        const double re = rng_.unit();
        const QString exit = re < 0.5   ? QStringLiteral("URBANA")
                             : re < 0.9 ? QStringLiteral("CARRETERA")
                                        : QStringLiteral("LARGO RECORRIDO");
        const int km = exit == QLatin1String("URBANA")      ? rng_.range(2, 15)
                       : exit == QLatin1String("CARRETERA") ? rng_.range(10, 60)
                                                            : rng_.range(80, 400);
        const QString wait = rng_.chance(0.3) ? QStringLiteral("00:%1").arg(rng_.range(1, 3) * 15)
                                              : QStringLiteral("00:00");
        const QString rescue =
            rng_.chance(0.15) ? QStringLiteral("01:00") : QStringLiteral("00:00");
        const QString storage = rng_.chance(0.2) ? QString::number(rng_.range(1, 5)) : kEmpty;

        tow::TowJob job;
        job.vehicle = QString::fromUtf8(car ? tow::kCar : tow::kVan);
        job.day = QString::fromUtf8(working ? tow::kWorkingDay : tow::kHolidayNight);
        job.exit = exit;
        job.percentage = percentage;
        job.km = QString::number(km);
        job.waitTime = wait;
        job.rescueTime = rescue;
        job.storageDays = storage;
        const tow::Pricing priced = tow::priceJob(tf.priced, job);
        if (!priced.error.isEmpty()) throw DbError(priced.error);
        for (const tow::TowLine& l : priced.lines)
            insLineaParte_->run(
                {number, l.texto, l.cantidad.toDb(), l.precio.toDb(), l.importe.toDb()});
        // Four in five are invoiced to the insurer the same day.
        QString invoice = kNo;
        QVariant invoiced = null();
        if (rng_.chance(0.8)) {
            invoice = numbers_.next(Series::FV, d);
            invoiced = iso(d);
            const Money total = tow::totals(priced.lines, Quantity::whole(16)).total;
            insFactura_->run({invoice, iso(d), qint64(0), 0.0, total.toDb()});
        }

        const Operator& driver = operators_[rng_.range(0, static_cast<int>(operators_.size()) - 1)];
        insParte_->run({number,
                        QStringLiteral("SIN-") + digits(7),
                        iso(d),
                        tf.nombre,
                        v.matricula,
                        v.marca,
                        v.modelo,
                        v.color,
                        car ? QStringLiteral("TURISMO") : QStringLiteral("FURGON"),
                        kEmpty,
                        driver.nombre,
                        working ? QStringLiteral("LABORABLE") : QStringLiteral("FESTIVO/NOCTURNO"),
                        exit,
                        pick(streets()) + ' ' + c.localidad,
                        QStringLiteral("TALLER"),
                        QString::number(km),
                        wait,
                        rescue,
                        storage,
                        c.nombre,
                        c.direccion,
                        c.localidad,
                        c.provincia,
                        c.cp,
                        c.telefono,
                        c.movil,
                        c.fax,
                        kEmpty,
                        invoice,
                        tf.insurerId,
                        16.0,
                        invoiced});
        ++counts_.towReports;
    }

    void finish() {
        Stmt update(db_, QStringLiteral("UPDATE Articulos SET StockInicial = ?, PrecioVenta = ?, "
                                        "Descuento = ?, Id_Proveedor = ? WHERE Id_Art = ?"));
        for (const Article& a : articles_) update.run({a.stock, a.price, 0.0, a.supplier, a.id});
    }

    Database& db_;
    Options o_;
    Rng rng_;
    QDate today_, start_;
    Counts counts_;
    Numbers numbers_;
    SilentDialogs silent_;

    std::vector<Customer> customers_;
    std::vector<Vehicle> vehicles_;
    std::vector<Operator> operators_;
    std::vector<Article> articles_;
    std::vector<Tariff> tariffs_;
    std::vector<WorkOrder> workOrders_;
    std::map<QDate, std::vector<int>> closing_;
    std::vector<int> pendingOrders_;
    std::vector<Sale> pendingSales_;
    std::vector<OpenInvoice> monthInvoices_;
    std::vector<int> reorders_;
    int newArticlesLeft_ = 0;
    qint64 commissionRows_ = 0;

    std::unique_ptr<Stmt> insCliente_, insVehiculo_, insArticulo_, insOdt_, insTrabajo_, insLabour_,
        insMaterial_, insLibre_, insFacturaOdt_, setOdtInvoice_, insAlbaran_, setSaleInvoice_,
        insSalida_, insFactura_, insCobro_, insEntrada_, insLibreFac_, insLibreLinea_, insRecibo_,
        insComision_, insComisionLinea_, insParte_, insLineaParte_;
};

}  // namespace

bool generateDatabase(const QString& path, const Options& options, QString* error, Counts* counts) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (!options.today.isValid())
        return fail(QStringLiteral("La fecha de referencia no es válida."));
    const Scale& sc = options.scale;
    if (sc.customers < 1 || sc.vehicles < sc.customers || sc.operators < 1 || sc.suppliers < 1 ||
        sc.insurers < 1 || sc.articles < 1 || sc.years < 1)
        return fail(QStringLiteral("La escala pedida no es válida."));

    // Built beside the target and renamed at the end, so a failed run leaves no half file.
    const QString temp = path + QStringLiteral(".tmp");
    QFile::remove(temp);
    QString reason;
    if (!Database::createFromSchema(temp, &reason))
        return fail(QStringLiteral("No se puede crear ") + temp + QStringLiteral(": ") + reason);
    bool ok = false;
    {
        Database db;
        if (!db.open(temp, &reason)) {
            QFile::remove(temp);
            return fail(QStringLiteral("No se puede abrir ") + temp + QStringLiteral(": ") +
                        reason);
        }
        try {
            // Speed only while generating: a crash just means generating again.
            db.execForward(QStringLiteral("PRAGMA journal_mode=OFF"));
            db.execForward(QStringLiteral("PRAGMA synchronous=OFF"));
            db.execForward(QStringLiteral("PRAGMA cache_size=-262144"));
            Counts c;
            {
                Database::Transaction tx(db);
                Generator g(db, options);
                c = g.run();
                tx.commit();
            }
            db.execForward(QStringLiteral("PRAGMA journal_mode=DELETE"));
            db.execForward(QStringLiteral("PRAGMA synchronous=FULL"));
            db.execForward(QStringLiteral("VACUUM"));
            if (counts) *counts = c;
            ok = true;
        } catch (const DbError& e) {
            reason = e.message();
        }
        db.close();
    }
    if (!ok) {
        QFile::remove(temp);
        return fail(QStringLiteral("Error al generar la base de datos: ") + reason);
    }
    QFile::remove(path);
    if (!QFile::rename(temp, path)) {
        QFile::remove(temp);
        return fail(QStringLiteral("No se puede escribir ") + path);
    }
    return true;
}

}  // namespace torvane::gen
