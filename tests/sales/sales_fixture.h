#pragma once

#include <gtest/gtest.h>

#include <QDate>
#include <QString>

#include "core/session.h"
#include "data/database.h"
#include "masters/articles_fixture.h"
#include "masters/customers_fixture.h"
#include "masters/screen_fixture.h"
#include "sales/counter_sale.h"

namespace torvane::testing {

// Stored counter sales for the sales tests.
inline double stockOf(Database& db, qint64 articleId) {
    return db.scalar("SELECT StockInicial FROM Articulos WHERE Id_Art = ?", {articleId}).toDouble();
}

inline sales::SaleLine saleLine(qint64 articleId, const QString& code, const char* units,
                                const char* price, const char* discount = "0",
                                const QVariant& id = {}) {
    sales::SaleLine s;
    s.articleId = articleId;
    s.line.id = id;
    s.line.code = code;
    s.line.description = code.isEmpty() ? QStringLiteral("LIBRE") : QStringLiteral("ART ") + code;
    s.line.units = *Quantity::parse(QString::fromLatin1(units));
    s.line.price = *Money::parse(QString::fromLatin1(price));
    s.line.discount = *Quantity::parse(QString::fromLatin1(discount));
    return s;
}

// A saved note with one free line of `amount` (before VAT) for the customer.
inline QString addSavedNote(Session& session, qint64 customer, const char* amount,
                            const QDate& date = QDate(2008, 3, 5)) {
    const QString number = sales::startNewNote(session);
    sales::storeLine(session.db(), number, saleLine(0, {}, "1", amount));
    sales::NoteHeader h;
    h.number = number;
    h.date = date;
    h.customerId = customer;
    sales::saveNote(session.db(), h, {});
    return number;
}

inline QString invoiceOf(Database& db, const QString& note) {
    return db.scalar("SELECT NFactura FROM Albaranes WHERE Id_Alb = ?", {note}).toString();
}

// Two customers on 5 March 2008, for the sales logic and screen tests.
class SalesLogic : public ScreenTest {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2008, 3, 5));
        ana = addCustomer(db(), "C1", "ANA LOPEZ", "11111111H");
        bea = addCustomer(db(), "C2", "BEATRIZ RUIZ", "22222222J");
    }
    // A note of ANA on that day.
    sales::NoteHeader header(const QString& number) {
        sales::NoteHeader h;
        h.number = number;
        h.date = QDate(2008, 3, 5);
        h.customerId = ana;
        h.notes = "URGENTE";
        return h;
    }

    qint64 ana = 0;
    qint64 bea = 0;
};

}  // namespace torvane::testing
