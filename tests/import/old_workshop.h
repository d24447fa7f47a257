#pragma once

// An older workshop file, as rows the importer reads through its table-reader interface.
#include <gtest/gtest.h>

#include <QDateTime>
#include <map>
#include <vector>

#include "core/money.h"
#include "data/database.h"
#include "import/importer.h"

namespace torvane::testing {

namespace ti = torvane::import;

using Cells = std::map<QString, ti::Value>;

inline QDateTime day(int y, int m, int d) {
    return QDateTime(QDate(y, m, d), QTime(0, 0));
}

// A workshop in the older layout: at least one row in every table of the schema, with the
// awkward values an old file holds.
struct OldRow {
    const char* table;
    Cells cells;
};

inline std::vector<OldRow> oldWorkshop() {
    const QString fr = QStringLiteral("FR08/03/00012");
    return {
        {"Clientes",
         {{"Id_Cli", qint64(57)},
          {"Codigo", QStringLiteral("C0057")},
          {"NIF", QStringLiteral("12345678Z")},
          {"Nombre", QStringLiteral("JOSÉ")},
          {"Apellido1", QStringLiteral("MUÑOZ")},
          {"Fax", QString()},
          {"Descuento", 2.5},
          {"Email", QStringLiteral("jose@example.com")}}},
        {"Vehiculos",
         {{"Id_Veh", qint64(9)},
          {"Id_Cli", qint64(57)},
          {"Matricula", QStringLiteral("M-1234-AB")},
          {"FechaITV", day(1968, 2, 29)}}},
        {"Operarios", {{"Id_Ope", qint64(3)}, {"Codigo", QStringLiteral("01")}}},
        {"PreciosHora",
         {{"Departamento", QStringLiteral("MECÁNICA")}, {"Precio", Money::fromUnits(325000)}}},
        {"Familias", {{"Id_Fam", qint64(1)}, {"Familia", QStringLiteral("FILTROS")}}},
        {"Almacenes", {{"Id_Alm", qint64(1)}, {"Almacen", QStringLiteral("CENTRAL")}}},
        {"Articulos",
         {{"Id_Art", qint64(40)},
          {"Codigo", QStringLiteral("A0040")},
          {"StockInicial", 0.0},
          {"PrecioVenta", Money::fromUnits(123456)},
          {"Id_Proveedor", qint64(2)}}},
        {"Proveedores", {{"Id_Pro", qint64(2)}, {"Codigo_Pro", QStringLiteral("P2")}}},
        {"Aseguradoras", {{"Id_Ase", qint64(4)}, {"Nombre", QStringLiteral("MAPFRE")}}},
        {"Tarifas", {{"Id_Ase", qint64(4)}, {"CFF", 12.5}, {"KLTL", Money::fromUnits(6000)}}},
        {"ODTS",
         {{"Id_ODT", qint64(100)},
          {"NODT", QStringLiteral("ODT65/03/00001")},
          {"Fecha", day(1965, 3, 1)},
          {"Id_Cli", qint64(57)},
          {"Id_Coche", qint64(9)},
          {"Recoge", true},
          {"Presupuesto", false},
          {"NPresupuesto", QStringLiteral("No")},
          {"NAlbaran", QString()},
          {"NFactura", fr},
          {"Nominal", Money::fromUnits(1000000)},
          {"Interna", QStringLiteral("No")}}},
        {"ODTS",
         {{"Id_ODT", qint64(101)},
          {"NODT", QStringLiteral("ODT08/03/00002")},
          {"Fecha", day(2008, 3, 4)},
          {"Id_Cli", qint64(57)},
          {"Id_Coche", qint64(9)},
          {"NFactura", QString()}}},
        {"TrabajosRealizar_ODT",
         {{"NODT", QStringLiteral("ODT65/03/00001")},
          {"Trabajo", QStringLiteral("CAMBIO DE ACEITE")}}},
        {"TrabajosRealizadosODT",
         {{"NODT", QStringLiteral("ODT65/03/00001")},
          {"NOperario", QStringLiteral("01")},
          {"TFacturado", 2.0},
          {"Precio", Money::whole(50)},
          {"Dto", 0.0}}},
        {"MaterialesODT",
         {{"NODT", QStringLiteral("ODT65/03/00001")}, {"Unidades", qint64(0)}, {"Precio", 0.0}}},
        {"LineasLibresODT",
         {{"nODT", QStringLiteral("ODT65/03/00001")}, {"TextoLibre", QStringLiteral("VARIOS")}}},
        // An old file names the unnamed amount columns of its invoices as it likes.
        {"FacturasODT",
         {{"Id_FAct", qint64(7)},
          {"NFactura", fr},
          {"Fecha", day(2008, 3, 5)},
          {"BaseImp", Money::whole(100)},
          {"CuotaIVA", Money::whole(16)},
          {"Importe", Money::fromUnits(1160001)},
          {"Pagado", Money()}}},
        {"Albaranes",
         {{"Id", qint64(5)},
          {"Id_Alb", QStringLiteral("AR08/03/00001")},
          {"Id_Cli", qint64(57)},
          {"NFactura", ti::Value()}}},
        {"Salidas",
         {{"Id_Alb", QStringLiteral("AR08/03/00001")}, {"Id_Art", qint64(40)}, {"Cantidad", 1.0}}},
        {"Facturas",
         {{"Id", qint64(3)},
          {"Id_Fac", QStringLiteral("FV08/03/00001")},
          {"Total", Money::fromUnits(5)}}},
        {"Entradas",
         {{"NEntrada", QStringLiteral("EN08/03/00001")},
          {"Id_Pro", qint64(2)},
          {"Id_Art", qint64(40)}}},
        {"Cobros",
         {{"Id", qint64(1)},
          {"Caja", qint64(1)},
          {"NFactura", fr},
          {"Cantidad", Money::fromUnits(10001)}}},
        {"FacturasLibres", {{"NFactura", QStringLiteral("FL08/03/00001")}, {"Total", 10.0}}},
        {"SalidasLibres",
         {{"NFactura", QStringLiteral("FL08/03/00001")}, {"Concepto", QStringLiteral("REVISIÓN")}}},
        {"Recibos", {{"NRecibo", QStringLiteral("REC08/03/00001")}, {"NFactura", fr}}},
        {"Comisiones", {{"Id", qint64(1)}, {"NFactura", QStringLiteral("FC08/03/0001")}}},
        {"SalidasComisiones", {{"NFactura", QStringLiteral("FC08/03/0001")}}},
        {"FacturasCoches", {{"NFactura", QStringLiteral("FCO1")}, {"Id_Cli", qint64(57)}}},
        {"Partes",
         {{"NParte", QStringLiteral("PG08/03/00001")},
          {"Compañia", QStringLiteral("MAPFRE")},
          {"Id_Ase", qint64(4)}}},
        {"LineasPartes",
         {{"NParte", QStringLiteral("PG08/03/00001")}, {"Importe", Money::fromUnits(12345)}}},
        {"DatosEmpresa", {{"Nombre", QStringLiteral("TALLERES PÉREZ")}, {"IVA", 16.0}}},
        // A table this schema does not have: listed in the report, not copied.
        {"Agenda", {{"Texto", QStringLiteral("LLAMAR")}}},
    };
}

// The old layout of each table: the new one's columns, with the old names where they
// differ, plus whatever the rows carry beyond them.
inline ti::MemoryTables oldTables(const std::vector<OldRow>& rows, const QString& schemaFile) {
    Database schema;
    EXPECT_TRUE(schema.open(schemaFile));
    const std::map<QString, std::map<QString, QString>> oldNames = {
        {"FacturasODT", {{"Base", "BaseImp"}, {"IVA", "CuotaIVA"}}},
        {"Cobros", {{"Reservado1", "Caja"}}},
    };
    std::map<QString, QStringList> columns;
    for (const auto& r : rows) {
        QStringList& cols = columns[QString::fromUtf8(r.table)];
        if (cols.isEmpty()) {
            cols = schema.columnNames(QString::fromUtf8(r.table));
            const auto renamed = oldNames.find(QString::fromUtf8(r.table));
            if (renamed != oldNames.end())
                for (const auto& [now, before] : renamed->second)
                    cols.replace(cols.indexOf(now), before);
        }
        for (const auto& [name, v] : r.cells)
            if (!cols.contains(name)) cols << name;
    }
    ti::MemoryTables tables;
    for (const auto& [name, cols] : columns) tables.add(name, cols);
    for (const auto& r : rows) {
        const QStringList& cols = columns[QString::fromUtf8(r.table)];
        std::vector<ti::Value> values(static_cast<std::size_t>(cols.size()));
        for (const auto& [name, v] : r.cells)
            values[static_cast<std::size_t>(cols.indexOf(name))] = v;
        tables.addRow(QString::fromUtf8(r.table), values);
    }
    return tables;
}

}  // namespace torvane::testing
