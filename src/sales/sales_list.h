#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "core/grid_column.h"
#include "core/money.h"
#include "core/sql_statement.h"
#include "data/database.h"

namespace torvane {
class Session;
}

namespace torvane::sales {

// ---- The list of delivery notes ----

// Option1: the column searched; Option2: which notes are shown.
enum class SearchColumn { Albaran = 0, Factura = 1, Cliente = 2, NIF = 3 };
enum class NoteState { Todos = 0, Facturadas = 1, SinFacturar = 2 };
inline constexpr int kSearchColumns = 4;
inline constexpr int kNoteStates = 3;
QStringList searchColumnCaptions();  // "Albaran", "Factura", "Cliente", "NIF"
QStringList noteStateCaptions();     // "Todos", "Facturadas", "Sin Facturar"

// Id, Albaran, Fecha, Nominal, Total, Factura, Cliente, NIF, Id_Cli; notes with
// lines only, newest first.
const QList<GridColumn>& listColumns();
SqlStatement listAll();
// Prefix match of the typed text on the column, within the state. The statement
// is shaped by how many notes match, so both a short and a long text answer at once.
SqlStatement listSearch(Database& db, SearchColumn column, NoteState state, const QString& typed);

// The notes of Uni/Multi Factura: Id, Albaran, Fecha, Nominal, Total, Factura, Id_Cli.
const QList<GridColumn>& pendingColumns();
SqlStatement pendingOf(qint64 customerId);
SqlStatement allPending();

// ---- Invoicing ----

inline constexpr const char* kOnlyOnePending =
    "Este cliente no tiene mas de una factura pendiente de facturar";
inline constexpr const char* kAllOrChoose =
    "¿Desea facturar todas las facturas pendientes para este cliente o seleccionarlas "
    "manualmente?";
inline constexpr const char* kPrintNow = "¿Desea imprimir la factura ahora?";
inline constexpr const char* kInvoiceFirst = "Para poder imprimir la factura debe facturar primero";
inline constexpr const char* kDeleteNoteQuestion =
    "Se va a eliminar la venta seleccionada y su factura. ¿Esta seguro?";
inline constexpr const char* kNoInvoice = "La venta seleccionada no tiene factura";
inline constexpr const char* kNotEditable = "No se puede editar una venta ya facturada";

// The number the next invoice gets: after the greatest FV number carried by a note.
QString proposedInvoiceNumber(Session& session);
// A typed number: empty, or "El número de factura ... ya está en uso.".
QString checkTypedNumber(Database& db, const QString& number);

// One invoice for one note; the note takes the invoice date. Refuses an invoiced
// note and a number already in use. One transaction.
void invoiceNote(Database& db, const QString& note, const QString& invoice, const QDate& date,
                 bool paid);

// The customer's notes not yet invoiced, in stored order.
QStringList pendingNotesOf(Database& db, qint64 customerId);
// One invoice for several notes of one customer: Total = the notes' totals. The
// notes keep their dates; the payment, when paid, is dated as the invoice. One
// transaction. Returns the invoice's total.
Money invoiceTogether(Database& db, const QStringList& notes, qint64 customerId,
                      const QString& invoice, const QDate& date, bool paid);
// {Albaranes.Id_Alb} like ["A","B"]
QString notesFormula(const QStringList& notes);

// One invoice per note, numbered from `first` on (each next number after the last
// invoice stored); Total = Nominal + the VAT rate set for invoicing, to cents; payments
// dated paymentDate.
// One transaction. Returns the invoice numbers, in the notes' order.
QStringList invoiceEach(Session& session, const QStringList& notes, const QString& first,
                        const QDate& date, bool paid, const QDate& paymentDate);

// ---- Deleting ----

// The note, its lines and its invoice row. Stock, payments and the other notes
// of the invoice stay as they are. One transaction.
void deleteNote(Database& db, const QString& note);
// The invoice row and every payment of it; its notes go back to "No". One transaction.
void deleteInvoice(Database& db, const QString& invoice);

}  // namespace torvane::sales
