#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "core/dialogs.h"
#include "core/money.h"
#include "data/database.h"

namespace torvane {
class Session;
}

// Delivery notes and invoices of work orders. Every step that writes is one
// transaction: the invoice row, its payment and the NFactura of every work order
// it covers are stored together or not at all. A refusal is returned as the
// message to show; database failures throw DbError (nothing stored).
namespace torvane::invoicing {

inline constexpr const char* kNone = "No";  // NFactura / NAlbaran of a document not made yet

// The report files the invoicing paths print.
inline constexpr const char* kInvoiceReport = "\\QARVOFACODT.rpt";
inline constexpr const char* kJointInvoiceReport = "\\QARVOFACODT2.rpt";
inline constexpr const char* kInternalInvoiceReport = "\\QARVOFACODTI.rpt";
inline constexpr const char* kTicketReport = "\\TICKETODT.rpt";
inline constexpr const char* kDeliveryNoteReport = "\\qarvoalbodt.rpt";

// Messages.
inline constexpr const char* kNoJobs = "No hay trabajos a realizar";
inline constexpr const char* kCheckKilometres = "Compruebe los Kilómetros del vehículo";
inline constexpr const char* kAlreadyInvoiced =
    "Ya se ha facturado esta ODT, no puede volver a facturarla";
inline constexpr const char* kNoInvoice = "La ODT seleccionada no tiene factura";
inline constexpr const char* kNoDeliveryNote = "La ODT seleccionada no tiene albaran";
inline constexpr const char* kNoteAfterInvoice =
    "No se puede crear el albarán después de haber facturado";
inline constexpr const char* kNoActiveRecord = "Ningún registro activo";
inline constexpr const char* kOnePendingOnly =
    "Este cliente no tiene mas de una factura pendiente de facturar";
inline constexpr const char* kNothingPending = "No existen trabajos pendientes de facturar";
inline constexpr const char* kMarkPaid = "¿Marcar como pagada?";
// "El número de factura <number> ya está en uso."
QString numberInUseMessage(const QString& number);
// Said when the work order to write into is not stored.
QString workOrderNotStoredMessage(const QString& workOrder);

// Base, VAT (vatRate % of the base, to the cent, halves away from zero) and total. The
// invoicing steps take the rate set for invoicing when they write.
struct Amounts {
    Money base, vat, total;
};
Amounts amountsFor(Money base, Quantity vatRate);

// An invoice number is in use when a work order or an invoice row carries it.
bool numberInUse(Database& db, const QString& number);

// What an invoicing step did, or why it did nothing.
struct Result {
    QString refusal;  // empty when done
    Dialogs::Icon icon = Dialogs::Icon::Critical;
    QStringList numbers;  // invoice or delivery-note numbers given, in order
    QString formula;      // selection formula of what to print
    Amounts amounts;      // of the (last) invoice written
    explicit operator bool() const { return refusal.isEmpty(); }
    static Result refused(const QString& message, Dialogs::Icon icon = Dialogs::Icon::Critical);
};

// {ODTS.NODT} ='N1' and {ODTS.NODT} like ["N1","N2"].
QString workOrderFormula(const QString& workOrder);
QString workOrdersFormula(const QStringList& workOrders);

// A stored work order as the list and the invoicing read it.
struct WorkOrderState {
    qint64 id = 0;
    QString number;  // NODT
    qint64 customerId = 0;
    qint64 vehicleId = 0;
    bool internal = false;
    QString deliveryNote;  // NAlbaran
    QString invoice;       // NFactura
    Money nominal;
    bool invoiced() const { return invoice != QLatin1String(kNone); }
    bool hasDeliveryNote() const { return deliveryNote != QLatin1String(kNone); }
};
std::optional<WorkOrderState> workOrderById(Database& db, qint64 id);
std::optional<WorkOrderState> workOrderByNumber(Database& db, const QString& number);

// ---- From the work-order editor ----

// The checks before a delivery note or an invoice, jobs first: "No hay trabajos a
// realizar", then "Compruebe los Kilómetros del vehículo" for an empty km field.
// Empty when both pass.
QString checkEditorDocument(bool jobsRemain, const QString& kilometres);

// Stores the work order's header inside the step's transaction (the editor's quiet
// save, given the number it must carry). It must not open a transaction of its own.
using StoreWorkOrder = std::function<void(Database& db, const QString& number)>;

// Editor "Crear albaran": the next number of series AL written into the work order
// (by storeWorkOrder when given, then by number). numbers[0] is the note's number,
// formula what to print with kDeliveryNoteReport.
Result deliveryNoteFromEditor(Session& session, const QString& workOrder,
                              const StoreWorkOrder& storeWorkOrder = {});

struct EditorInvoice {
    QString workOrder{};  // NODT
    QDate exitDate{};     // invoice date and payment date
    Money base{};         // the editor's recomputed total before VAT
    bool paid = false;
    StoreWorkOrder storeWorkOrder{};  // optional, see above
};
// Editor "Facturar" / "Factura interna" / "Ticket": the next number of series FR
// (continuing the last invoice row of the prefix), the invoice row with the
// exit date, the payment when paid, and the work order's NFactura.
Result invoiceFromEditor(Session& session, const EditorInvoice& invoice);

// What each invoice command of the editor and the list prints.
enum class InvoiceDocument { Invoice, Internal, Ticket };
struct PrintTarget {
    QString file;
    bool preview = true;
};
PrintTarget printTarget(InvoiceDocument document);

// ---- From the work-order list ----

struct ListInvoice {
    qint64 workOrderId = 0;
    QString number{};  // txtProxFact
    QDate date{};      // OpcProxFecha
    bool paid = false;
};
// One work order on its own invoice, base its stored Nominal; payment dated today.
// Refuses an invoiced work order and a number in use.
Result invoiceFromList(Session& session, const ListInvoice& invoice);
// The refusal invoiceFromList would give before anything is asked (empty: none).
QString checkListInvoice(Database& db, qint64 workOrderId, const QString& number);

// The customer's work orders not yet invoiced (internal ones included), in stored order.
struct PendingWorkOrders {
    qint64 customerId = 0;
    QStringList workOrders;
};
std::optional<PendingWorkOrders> pendingOfCustomerOf(Database& db, const QString& workOrder);

struct JointInvoice {
    QStringList workOrders{};
    QString number{};
    QDate date{};
    bool paid = false;
};
// "Uni Factura": one number into every work order, one invoice of the summed bases;
// formula selects them all for kJointInvoiceReport.
Result invoiceTogether(Session& session, const JointInvoice& invoice);

// Whether "Multi Factura" has anything to invoice.
bool anyPendingWorkOrder(Database& db);

struct SeparateInvoices {
    QStringList workOrders{};  // in list order
    QString firstNumber{};     // the list's proposal
    QDate date{};
    bool paid = false;  // one answer for all
};
// "Multi Factura": one invoice per work order, the first with firstNumber, each
// further one the next of series FR after the greatest stored in a work order.
Result invoiceEach(Session& session, const SeparateInvoices& invoices);

// Removes the invoice of a work order: every work order of it back to "No", every
// payment of that number and its invoice row deleted.
Result removeInvoice(Database& db, qint64 workOrderId);

// The list's delivery note: the next number of series AL (refused once invoiced).
Result createDeliveryNote(Session& session, qint64 workOrderId);
Result removeDeliveryNote(Database& db, qint64 workOrderId);

// Deletes a work order with its jobs and lines, and its invoice row when it was
// invoiced (other work orders of that invoice keep the number; the payments of the
// number go only when no work order carries it any more). Stock is not touched.
Result deleteWorkOrder(Database& db, qint64 workOrderId);
// Internal work orders: only the ODTS row is deleted.
Result deleteInternalWorkOrder(Database& db, qint64 workOrderId);

void setInternal(Database& db, qint64 workOrderId, bool internal);

}  // namespace torvane::invoicing
