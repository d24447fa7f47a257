#pragma once

#include <QStringList>
#include <QTextStream>
#include <vector>

#include "verifactu/records.h"

namespace torvane::verifactu {

// "torvane verifactu --check --db FILE": recomputes every fingerprint, 0 when the chain
// holds, 1 when a link is broken (the first one is told), 2 for bad use or an unreadable file.
// "torvane verifactu --export --db FILE --from D --to D": the records of those dates
// (dd/mm/yyyy or yyyy-mm-dd, by invoice date) as XML on out.
int runCommand(const QStringList& args, QTextStream& out, QTextStream& err);

// The records as the agency's XML registration batch (not signed).
QString exportXml(const QString& emisor, const QString& nombre, const std::vector<Record>& records);

}  // namespace torvane::verifactu
