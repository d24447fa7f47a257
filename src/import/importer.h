#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "import/table_reader.h"

namespace torvane::import {

// What an import did, table by table, and what it could not place.
struct ImportReport {
    struct Table {
        QString name;
        qint64 rows = 0;     // rows copied
        qint64 skipped = 0;  // rows the new file refused
    };
    QString source;
    QString target;
    std::vector<Table> tables;   // every table of the new file, in schema order
    QStringList absentTables;    // tables of the new file that the old one lacks
    QStringList unknownTables;   // tables of the old file not copied, with their rows
    QStringList unknownColumns;  // "Tabla.Columna" of the old file not copied
    QStringList notes;           // values changed on the way (markers, positions, bad values)
    QStringList skippedRows;     // why rows were refused (the first few)
    QStringList problems;        // rules of the consistency check that the data break

    qint64 rows(const QString& table) const;
    qint64 totalRows() const;
    // The text shown at the end of an import and printed by the command line.
    QString summary() const;
};

// Called before each table is copied: its name, its place (from 1) and how many there are.
using ImportProgress = std::function<void(const QString& table, int index, int count)>;

struct ImportOptions {
    // The template to start from ("Nueva"); empty or missing: the built-in schema.
    QString templatePath;
    ImportProgress progress;
};

// Copies every table of the schema from reader into a new database file at target, by table
// and column name, in one transaction, keys kept; then runs the consistency check. The new
// file is written under a temporary name and renamed at the end: on failure nothing is left
// at target. Throws ImportError with a full Spanish message.
// Tables an older file cannot hold: the counters the program keeps up to date by itself
// (rebuilt from the copied rows) and the invoice records with their settings, which start
// as the template has them (switched off, no records). They are neither copied nor missed.
bool notInOlderFiles(const QString& table);

ImportReport importTables(TableReader& reader, const QString& source, const QString& target,
                          const ImportOptions& options = {});

// The same from an older Jet file, which is only read.
ImportReport importJetFile(const QString& source, const QString& target,
                           const ImportOptions& options = {});

// The name the new file gets in folder: the old file's name with the extension ".erm".
QString importTargetIn(const QString& source, const QString& folder);

}  // namespace torvane::import
