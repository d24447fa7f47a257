#pragma once

#include <QString>
#include <QStringList>

#include "billing/free_invoices.h"
#include "core/money.h"
#include "core/session.h"
#include "core/sql_statement.h"
#include "data/database.h"
#include "reports/informes.h"
#include "reports/report_engine.h"
#include "reports/report_fixture.h"
#include "support/screen_helpers.h"

namespace torvane::testing {

// Rows the collections and free invoices work on, written as the invoicing screens
// leave them.
inline qint64 addClient(Database& db, const QString& name,
                        const QString& code = QStringLiteral("0001")) {
    return db.insert(
        "INSERT INTO Clientes (Codigo, Nombre, NIF, Direccion, CP, Localidad, Provincia) "
        "VALUES (?, ?, '12345678Z', 'C/ MAYOR 1', '46001', 'VALENCIA', 'VALENCIA')",
        {code, name});
}

// A work-order invoice over the given work orders of one customer.
inline void addWorkOrderInvoice(Database& db, const QString& number, const QString& isoDate,
                                qint64 customer, Money amount, Money paid = {},
                                int workOrders = 1) {
    db.insert(
        "INSERT INTO FacturasODT (NFactura, Fecha, Base, IVA, Importe, Pagado) "
        "VALUES (?, ?, 0, 0, ?, ?)",
        {number, isoDate, amount.toDb(), paid.toDb()});
    for (int i = 0; i < workOrders; ++i)
        db.insert(
            "INSERT INTO ODTS (NODT, Fecha, Id_Cli, NAlbaran, NFactura, Interna) "
            "VALUES (?, ?, ?, 'No', ?, 'No')",
            {number + QStringLiteral("-ODT") + QString::number(i), isoDate, customer, number});
}

// A parts-sale invoice over delivery notes with the given totals.
inline void addPartsInvoice(Database& db, const QString& number, const QString& isoDate,
                            qint64 customer, Money total, const QList<Money>& notes,
                            Money paid = {}) {
    db.insert("INSERT INTO Facturas (Id_Fac, Fecha, Id_Cli, Total, Pagado) VALUES (?, ?, ?, ?, ?)",
              {number, isoDate, customer, total.toDb(), paid.toDb()});
    int n = 0;
    for (Money note : notes)
        db.insert(
            "INSERT INTO Albaranes (Id_Alb, Fecha, Id_Cli, NFactura, Total) VALUES (?, ?, ?, ?, ?)",
            {number + QStringLiteral("-AR") + QString::number(n++), isoDate, customer, number,
             note.toDb()});
}

// A line as typed into the invoicing screens' entry fields; it must be accepted.
inline DocumentLine typedLine(const char* text, const char* units, const char* price,
                              const char* dto) {
    const auto e = free_invoices::readLine(QString::fromUtf8(text), QString::fromUtf8(units),
                                           QString::fromUtf8(price), QString::fromUtf8(dto));
    EXPECT_TRUE(e.line.has_value()) << e.error.toStdString();
    return e.line.value_or(DocumentLine{});
}

// One column of the rows a listing statement gives, in order.
inline QStringList listed(Database& db, const SqlStatement& s, const char* column = "NFactura") {
    QStringList out;
    for (const Row& r : db.rows(s.sql, s.params)) out << r.value(column).toString();
    return out;
}

inline Money eur(double euros) {
    return Money::fromDouble(euros);
}

// Types a line into the invoicing screens' entry fields and adds it.
inline void addLine(QWidget* form, const char* text, const char* units, const char* price,
                    const char* dto) {
    for (const char* name : {"TxtConcepto", "TxtUnidades", "TxtPrecUnidad", "TxtDescArt"})
        control<QLineEdit>(form, name)->clear();
    type(form, "TxtConcepto", QString::fromUtf8(text));
    type(form, "TxtUnidades", QString::fromUtf8(units));
    type(form, "TxtPrecUnidad", QString::fromUtf8(price));
    type(form, "TxtDescArt", QString::fromUtf8(dto));
    click(form, "KewlButtons5");
}

// The text of a printed document, as of the given day.
inline QString rendered(Session& session, const QString& file, const QString& formula,
                        QDate printed = QDate(2008, 4, 15)) {
    reports::ReportEngine engine(session.db(), reports::reportFolders(session), printed);
    const auto result = engine.render(file, formula);
    EXPECT_TRUE(result.report.has_value()) << result.error.toStdString();
    return result.report ? result.report->toText() : QString();
}

}  // namespace torvane::testing
