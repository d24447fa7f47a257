#pragma once

// The data of a document, a ticket or a receipt, bound and fetched once, whatever the
// paper it is laid out on.

#include "reports/report_layout.h"

namespace torvane::reports {

struct SectionData {
    std::unique_ptr<Loaded> rep;
    SelectList select;
    std::vector<Bound> cols;
    Bound link;             // in the parent's query
    QString linkSql;        // in the section's query
    int amountColumn = -1;  // the column whose total adds up to the base
};

// A row of the totals as printed.
struct TotalLine {
    QString label;
    QString amount;  // "1.234,50", or the amount in words
    bool bold = false;
    bool words = false;
};

class DocumentData {
  public:
    // Binds every part of the definition and fetches the records; false with ctx.error.
    bool prepare(LayoutContext& ctx, const Loaded& rep, const SqlCondition& cond);

    const ReportDefinition* def = nullptr;
    std::vector<Record> records;
    Record companyRow;
    std::vector<Bound> company, fields, customer, record, foot;
    std::optional<Bound> qr;
    // The tax QR code's address for a record's invoice: empty while invoice records are
    // switched off or the invoice has none.
    QString qrAddress(LayoutContext& ctx, const Record& r) const;
    std::vector<SectionData> sections;

    // The non-empty lines of a block for a record.
    static QStringList lines(const std::vector<Bound>& block, const Record& r);
    std::vector<Record> sectionLines(LayoutContext& ctx, const SectionData& s,
                                     const Record& r) const;
    // A section line's amount as printed (to the cent).
    static Money lineAmount(const SectionData& s, const Record& line);
    // The declared totals rows over some records (all of them, or one receipt's);
    // sectionsBase is the sum of the sections' totals.
    std::vector<TotalLine> totals(Money sectionsBase, const std::vector<Record>& over) const;
    std::vector<TotalLine> totals(Money sectionsBase) const {
        return totals(sectionsBase, records);
    }

  private:
    std::vector<std::optional<Bound>> totalValues_, totalBases_;
    Quantity configuredRate_;  // the VAT rate in force, first guess for a stored VAT's rate
    SelectList select_;
};

}  // namespace torvane::reports
