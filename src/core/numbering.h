#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace torvane {

class Database;
class Dialogs;
class Session;

// The ten numbering series, in the order they are kept in the session and in "conf.fpl".
enum class Series { AR, AL, A, EN, FV, FL, FR, ODT, REC, PG };
inline constexpr int kSeriesCount = 10;

// The file that holds the series, in the program folder.
inline constexpr const char* kSeriesFile = "conf.fpl";

// The default texts: "AR&Año&/&Mes&/&", ..., "PG&Mes&/&".
QStringList defaultSeries();
QString defaultSeriesText(Series series);
// Name of the series as the user knows it ("AR", "ODT", ...).
QString seriesName(Series series);

// The text of a series in the session (its default if the session holds fewer than ten).
QString seriesText(const Session& session, Series series);
// The series expanded against the session's today.
QString seriesPrefix(const Session& session, Series series);

// A series longer than this, or with control characters, is a damaged one.
inline constexpr int kMaxSeriesLength = 100;
bool isReadableSeries(const QString& text);

// Reads "conf.fpl" into the session. Missing file: the defaults are set and written, no
// message. A file with fewer than ten fields (or unreadable), or with damaged series: the
// series read as written keep their positions, the rest take their defaults, the file is
// left untouched and one exclamation message names every series not read as written. Returns false
// only when the file was damaged or could not be read or written.
bool LoadSeries(Session& session, Dialogs& dialogs);

// Rewrites "conf.fpl" whole with the ten texts and, only when that worked, puts them into the
// session, so memory and file never disagree. On failure *error holds a Spanish reason.
bool SaveSeries(Session& session, const QStringList& series, QString* error = nullptr);

// The message shown when "conf.fpl" holds fewer than ten fields.
QString damagedSeriesFileMessage(const QStringList& defaultsInUse);

// Expands a series text into a prefix: "Año" -> two-digit year, "Mes" -> month, "Dia" -> day,
// any other token literally; text after the last "&" is dropped. Case-sensitive.
QString ExpandSeries(const QString& series, const QDate& date);

// The number that follows `last` in the period of `prefix`: counter + 1 when the head of
// `last` (without its numeric tail) equals the prefix, else 1; plus increment; padded to 5.
QString NextNumber(const QString& last, const QString& prefix, int increment = 0);
// The numeric tail of a number text, as NextNumber sees it (see numbering.cpp).
QString numericTail(const QString& number);

// Every place that continues a series from the last number stored in a table.
enum class NumberConsumer {
    CounterSaleDeliveryNote,       // AR: Albaranes.Id_Alb, ascending, last row
    WorkOrderDeliveryNote,         // AL: ODTS.NAlbaran, last row in stored order
    PurchaseEntry,                 // EN: Entradas.NEntrada, last row of the table
    CounterSaleInvoice,            // FV: Albaranes.NFactura, last row in stored order
    SalesListInvoiceProposal,      // FV: Albaranes.NFactura, descending, first row
    SalesMultiInvoice,             // FV: Facturas.Id_Fac, last row in stored order
    FreeInvoice,                   // FL: FacturasLibres.NFactura, last row of the table
    WorkOrderInvoice,              // FR: FacturasODT.NFactura, last row in stored order
    WorkOrderListInvoiceProposal,  // FR: ODTS.NFactura, descending, first row
    WorkOrderMultiInvoice,         // FR: ODTS.NFactura, ascending, last row
    WorkOrderFromVehicleSearch,    // ODT: ODTS.NODT, ascending, last row; checks conf.fpl
    Receipt,                       // REC: Recibos.NRecibo, descending, first row
    TowReportScreen,               // PG: Partes.NParte, ascending, last row; checks conf.fpl
};

Series seriesOf(NumberConsumer consumer);

// The last number the consumer continues from, for a prefix; "a0" when there is none.
QString lastNumber(Database& db, NumberConsumer consumer, const QString& prefix);
// NextNumber(lastNumber(...), prefix, increment).
QString nextNumberIn(Database& db, NumberConsumer consumer, const QString& prefix,
                     int increment = 0);

// The next number of the consumer's series, expanded against the session's today. Receipts
// pass the index (0, 1, 2) of the receipt as increment; every other caller passes 0.
// This overload never checks for "conf.fpl".
QString nextDocumentNumber(Session& session, NumberConsumer consumer, int increment = 0);
// The same, but the two consumers that check for "conf.fpl" (work order from the vehicle
// search, tow-report screen) show "No se encuentra el archivo en la ruta <folder>\" when it
// is missing and return "1".
QString nextDocumentNumber(Session& session, Dialogs& dialogs, NumberConsumer consumer,
                           int increment = 0);
QString missingSeriesFileMessage(const Session& session);

// The probe loops: the first candidate not yet stored, exactly as trying candidates one by
// one would find it, but reading the stored numbers of the prefix in one query.
// Work order from the customer screen: prefix + "0001", "0002", ... (4 digits at least).
QString nextWorkOrderNumberByProbe(Session& session);
// New article code (series A) and new tow report from the main toolbar (series PG):
// prefix + "0001", "0003", "0006", "0010", ...
QString nextArticleCode(Session& session);
QString nextTowReportNumberByProbe(Session& session);

// The same on a database and an explicit prefix.
QString probeWorkOrderNumber(Database& db, const QString& prefix);
QString probeArticleCode(Database& db, const QString& prefix);
QString probeTowReportNumber(Database& db, const QString& prefix);

// Parts-sale and tow invoices share series FV: a number is taken when a Facturas row or
// a sales note carries it.
bool partsInvoiceNumberInUse(Database& db, const QString& number);
// candidate, or when it is taken the number after the greatest of the prefix.
QString freePartsInvoiceNumber(Database& db, const QString& prefix, const QString& candidate);

}  // namespace torvane
