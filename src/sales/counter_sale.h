#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/db_errors.h"
#include "core/dialogs.h"
#include "core/document_lines.h"
#include "core/money.h"
#include "data/database.h"

namespace torvane {
class Session;
}

namespace torvane::sales {

// A business rule said no; the message is ready to show (critical icon).
class Refused : public std::runtime_error {
  public:
    explicit Refused(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};

inline constexpr const char* kNotInvoiced = "No";

inline constexpr const char* kAlreadyInvoiced = "Esta venta ya se ha facturado.";
inline constexpr const char* kNoLines = "No hay detalles de venta";
inline constexpr const char* kIncompleteLine = "Debe completar todos los campos";
inline constexpr const char* kDiscountTooHigh = "El descuento no puede ser mayor de 100";
inline constexpr const char* kNoStock = "No hay ninguna unidad del artículo en stock";
inline constexpr const char* kMarkPaid = "¿Marcar como PAGADA?";

struct SaleCustomer {
    qint64 id = 0;
    QString code;
    QString name;
};
std::optional<SaleCustomer> customerOf(Database& db, qint64 customerId);

// The header of a delivery note (Albaranes).
struct NoteHeader {
    QString number;  // Id_Alb
    QDate date;
    qint64 customerId = 0;
    QString invoice = QString::fromLatin1(kNotInvoiced);  // NFactura
    QString notes;                                        // Notas
};
std::optional<NoteHeader> noteByNumber(Database& db, const QString& number);

// One sold item: a catalogue article (articleId set; its units leave the stock)
// or a free item (articleId 0, no stock move). line.id is Salidas.Id once stored.
struct SaleLine {
    qint64 articleId = 0;
    DocumentLine line;
};
std::vector<SaleLine> linesOf(Database& db, const QString& number);

// The line fields as typed: description, units (may be negative), price and
// discount. Returns the line, or the message that refuses it.
struct TypedLine {
    QString code;
    QString description;
    QString units;
    QString price;
    QString discount;
};
struct LineCheck {
    std::optional<DocumentLine> line;
    QString message;
};
LineCheck checkLine(const TypedLine& typed);

// Stores a line as it is added (no Salidas.Id) or rewrites an edited one in
// place, moving the stock of the articles involved, in one transaction.
// Returns the line's Salidas.Id.
qint64 storeLine(Database& db, const QString& number, const SaleLine& line);

// What the foot shows: the lines as shown, each to cents; VAT at vatRate % to cents.
struct SaleTotals {
    Money sum;    // Suma / Nominal
    Money vat;    // IVA
    Money total;  // Total
};
SaleTotals totalsOf(const std::vector<DocumentLine>& lines, Quantity vatRate);

// Saves the note: header written (inserted the first time), the lines deleted in
// the grid removed and their units given back. One transaction. The totals are
// those of the note's stored lines less the deleted ones. Refused without a
// line left ("No hay detalles de venta").
SaleTotals saveNote(Database& db, const NoteHeader& header, const QList<qint64>& deletedLines);

// Closing without saving: the lines added in this visit go (last first, units
// back to stock) until the note has as many as it had when opened; a new note's
// header goes too. Lines deleted in the grid stay.
void discardVisit(Database& db, const QString& number, int linesAtOpen, bool newNote);

// The number for a new note of series AR. Lines that an interrupted sale left
// under that number without a header are removed first, their units given back.
QString startNewNote(Session& session);

// Invoices the note from the sale screen: next FV number (after the last one in
// stored order, and past every number already used), Facturas row with the note's
// total, a payment when paid, and the note saved with its number. One transaction.
// Returns the invoice number.
QString invoiceSale(Session& session, NoteHeader header, const QList<qint64>& deletedLines,
                    bool paid);

// ---- Invoice numbers and rows, shared by the sale screen and the sales list ----

QString inUseMessage(const QString& number);
// Appends the Facturas row (and, when paid, the Cobros row with Pagado = total).
void addInvoice(Database& db, const QString& number, qint64 customerId, const QDate& date,
                Money total, bool paid, const QDate& paymentDate);

// "{Albaranes.Id_Alb}='AR08/03/00001'"
QString noteFormula(const QString& number);

}  // namespace torvane::sales

namespace torvane::sales {

// Runs a step; a refusal or a database error becomes one critical message and
// nothing is stored. False when the step did not go through.
template <class Work>
bool reportingRefusals(Dialogs& dialogs, Work&& work) {
    bool refused = false;
    const bool stored = reportingDbErrors(dialogs, [&] {
        try {
            std::forward<Work>(work)();
        } catch (const Refused& r) {
            dialogs.critical(r.message());
            refused = true;
        }
    });
    return stored && !refused;
}

}  // namespace torvane::sales
