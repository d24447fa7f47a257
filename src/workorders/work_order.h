#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <optional>
#include <vector>

#include "core/document_lines.h"
#include "core/money.h"
#include "data/database.h"

namespace torvane {
class Session;
}

namespace torvane::workorders {

// Work orders carry the VAT rate set for invoicing (verifactu::vatRate); the company's VAT
// field is not used here.
// What a document-number column holds while the document does not exist.
inline constexpr const char* kNoDocument = "No";
inline constexpr const char* kUnknownFuel = "Desconocido";

// The ODTS row as the editor holds it.
struct Header {
    QVariant id;  // Id_ODT; invalid until the work order is stored
    QString number;
    QDate entryDate;
    QDate exitDate;
    QString kilometres;  // as typed: whole kilometres, required at saving
    QString fuel = QString::fromLatin1(kUnknownFuel);
    bool estimate = false;    // Presupuesto
    bool collects = false;    // Recoge
    bool unforeseen = false;  // Imprevisto
    bool internal = false;    // Interna "Si"/"No"
    QString estimateNumber;
    QString deliveryNote;
    QString invoice;
    qint64 customerId = 0;
    qint64 vehicleId = 0;
};

// The customer and vehicle shown beside the header, read only.
struct VehicleOwner {
    qint64 customerId = 0;
    qint64 vehicleId = 0;
    QString make, model, plate;
    QString name, tradeName, phone, mobile;
};
std::optional<VehicleOwner> vehicleOwner(Database& db, qint64 vehicleId);

// The four line kinds. Jobs to do are text; the others are priced lines.
enum class LineKind { Jobs, Labour, Materials, FreeLines };
inline constexpr int kLineKinds = 4;

struct JobLine {
    QVariant id;  // Id_Tr
    QString text;
};

struct LabourLine {
    QVariant id;
    QString operatorCode;  // NOperario; empty: no operator
    QString operatorName;  // read through the operator's code
    QString department;
    QString work;  // TRealizado
    QDate date;
    Quantity realTime;
    Quantity billedTime;
    Money price;  // per hour
    Quantity discount;
    // Billed time × price less the discount, converted to currency, counted to cents.
    Money amount() const;
};

struct MaterialLine {
    QVariant id;
    QString code;  // NArticulo; empty: a line without stock control
    QString description;
    Quantity units;
    Money price;
    Quantity discount;
    Money amount() const;  // units × price less the discount, to cents
};

struct FreeLine {
    QVariant id;
    QString reference;
    QString text;  // TextoLibre, the concept
    Quantity units;
    Money price;
    Quantity discount;
    Money amount() const;  // converted to currency, then to cents
};

// Everything stored under one number.
struct Lines {
    std::vector<JobLine> jobs;
    std::vector<LabourLine> labour;
    std::vector<MaterialLine> materials;
    std::vector<FreeLine> freeLines;
};
Lines linesOf(Database& db, const QString& number);
std::vector<JobLine> jobsOf(Database& db, const QString& number);
std::vector<LabourLine> labourOf(Database& db, const QString& number);
std::vector<MaterialLine> materialsOf(Database& db, const QString& number);
std::vector<FreeLine> freeLinesOf(Database& db, const QString& number);

// The grid lines: amounts as the grid counts them, marks kept by the grid. texts[0] is
// the key; labour adds operator, department, date, real and billed time.
DocumentLine toDocumentLine(const JobLine& l);
DocumentLine toDocumentLine(const LabourLine& l);
DocumentLine toDocumentLine(const MaterialLine& l);
DocumentLine toDocumentLine(const FreeLine& l);

// Base, VAT and amount. The base sums the lines not marked deleted, each rounded to
// cents as its cell shows it; the VAT is vatRate % of the base rounded to cents.
struct Totals {
    Money base;
    Money vat;
    Money total;
};
Totals totalsOf(Money base, Quantity vatRate);
// The panel of a tab: 0 the whole work order, 1 labour, 2 materials, 3 free lines.
Totals tabTotals(int tab, const std::vector<DocumentLine>& labour,
                 const std::vector<DocumentLine>& materials,
                 const std::vector<DocumentLine>& freeLines, Quantity vatRate);

// A discount field: above 100 becomes "100"; an empty one becomes "0" when the field is
// entered or left (whenLeaving), and stays empty while it is being typed.
QString boundDiscount(const QString& text, bool enteringOrLeaving);

// ---- Opening ----

// A new work order for a vehicle: today's dates, "Desconocido", the owner's ids. Not stored.
Header newHeader(Database& db, const QString& number, qint64 vehicleId, const QDate& today);
std::optional<Header> headerById(Database& db, qint64 id);
std::optional<Header> headerByNumber(Database& db, const QString& number);
bool numberExists(Database& db, const QString& number);
// "La orden de trabajo <number> ya existe".
QString duplicateNumberMessage(const QString& number);

// How many lines of each kind are stored, in LineKind order.
std::array<int, kLineKinds> lineCounts(Database& db, const QString& number);

// ---- Lines, each stored as it is added (one transaction each) ----

// Appends or (id set) rewrites a line; returns its key.
qint64 storeJob(Database& db, const QString& number, const JobLine& line);
qint64 storeLabour(Database& db, const QString& number, const LabourLine& line);
qint64 storeFreeLine(Database& db, const QString& number, const FreeLine& line);
// A material line moves stock when its code names a stored article: adding takes its
// units; rewriting a stored line gives back what it took before and takes the new units,
// so an edit from 2 to 5 takes 3 more.
qint64 storeMaterial(Database& db, const QString& number, const MaterialLine& line);
bool movesStock(Database& db, const QString& code);

// Operators and departments for the labour panel.
QStringList operatorNames(Database& db);
struct OperatorChoice {
    QString code;
    QString department;
};
std::optional<OperatorChoice> operatorByName(Database& db, const QString& name);
QStringList departmentNames(Database& db);
std::optional<Money> departmentPrice(Database& db, const QString& department);

// ---- Saving and discarding ----

// Stored lines marked deleted in the grids, removed at saving.
struct Deletions {
    QList<qint64> jobs, labour, materials, freeLines;
    bool isEmpty() const {
        return jobs.isEmpty() && labour.isEmpty() && materials.isEmpty() && freeLines.isEmpty();
    }
};

enum class SaveCheck { Ok, NoKilometres, NoJobs };
// "Compruebe los KM del vehículo" / "No hay trabajos a realizar"; empty for Ok.
QString saveCheckMessage(SaveCheck check);
// Kilometres first, then whether a job to do survives the deletions.
SaveCheck checkSave(Database& db, const Header& header, const Deletions& deletions);

struct SaveResult {
    SaveCheck check = SaveCheck::Ok;
    qint64 id = 0;  // Id_ODT
    Totals totals;
};
// One transaction: the header (empty document numbers as "No", Nominal = base), the
// marked lines deleted, and the units of deleted stock-moving material lines given back.
// Nothing is written when the check fails.
SaveResult save(Database& db, const Header& header, const Deletions& deletions);
// The same inside the caller's transaction (a delivery note or an invoice stores the
// work order with its number): nothing written when the check fails.
SaveResult saveWithin(Database& db, const Header& header, const Deletions& deletions);
// The totals saving would store: every line of the work order less the deleted ones.
Totals savedTotals(Database& db, const QString& number, const Deletions& deletions);

// Closing without saving, one transaction. A new work order: every line of the number is
// deleted and its stock-moving materials give their units back (the header was never
// stored). An existing one: per kind, the last lines are deleted while more remain than
// were counted at opening, with the same stock rule.
void discardNew(Database& db, const QString& number);
void discardExisting(Database& db, const QString& number,
                     const std::array<int, kLineKinds>& countsAtOpening);

}  // namespace torvane::workorders
