#pragma once

#include <QDate>
#include <QList>
#include <QRadioButton>

#include "controls/opc_entrada.h"
#include "controls/search_screen.h"
#include "core/db_errors.h"
#include "sales/sales_handoffs.h"
#include "sales/sales_list.h"

namespace torvane {

// The parts-sale delivery notes with their customers and invoices: searching,
// invoicing one, all or some notes of a customer, or several notes one invoice
// each, printing, and deleting notes and invoices.
class LVRecambios : public SearchScreen {
    Q_OBJECT
  public:
    LVRecambios(Session& session, Services& services, OpenCounterSale counterSale,
                QWidget* parent = nullptr);

    // Re-reads the list and proposes the next invoice number and today.
    void refresh();

  private:
    QList<CommandRow> commands();
    sales::NoteState state() const;
    QString note() const;
    QString invoiceOfRow() const;
    // Tells message (critical) when the selected note is invoiced.
    bool refusedWhenInvoiced(const char* message);
    std::optional<QDate> invoiceDate();
    // The typed number, refused when a note already carries it.
    bool numberFree();
    void checkNumber();
    void edit();
    void invoiceOne();
    void invoicePending();
    void multiInvoice();
    void print(const QString& report, bool needsInvoice, bool preview);
    void deleteNote();
    void deleteInvoice();

    OpenCounterSale counterSale_;
    QLineEdit* proxFact_ = nullptr;
    OpcEntrada* proxFecha_ = nullptr;
    QList<QRadioButton*> states_;
};

}  // namespace torvane
