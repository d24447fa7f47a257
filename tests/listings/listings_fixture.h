#pragma once

#include "data/database.h"
#include "reports/report_fixture.h"

namespace torvane::testing {

// The report fixture's workshop plus a month of everything the dated listings read:
// parts-sale invoices, a tow invoice (also in Facturas), a commission invoice, free
// and vehicle invoices, purchases, and a work order whose profit is known.
//   Customer 1: 168,95 + 116,00 + 3.000,00 = 3.284,95   (more than 3.000)
//   Customer 2: 1.538,30 + 58,00 = 1.596,30
//   Customer 3: 2.802,80 + 197,20 = 3.000,00 exactly
//   Supplier 1: 162,00 (+ 250,00 on the 25th); supplier 2: 3.000,00 exactly
inline void fillListingsFixture(Database& db) {
    fillReportFixture(db);
    db.insert(
        "INSERT INTO Articulos (Codigo, Nombre, PrecioVenta, Descuento, Id_Proveedor) "
        "VALUES ('A0004', 'PASTILLAS DE FRENO', 30, 0, 1)");
    db.insert(
        "INSERT INTO Albaranes (Id_Alb, Fecha, Id_Cli, NFactura, Nominal, IVA, Total) VALUES "
        "('AR08/03/00001', '2008-03-04', 1, 'FV08/03/00001', 100, 16, 116), "
        "('AR08/03/00002', '2008-03-06', 2, 'FV08/03/00002', 50, 8, 58)");
    db.insert(
        "INSERT INTO Facturas (Id_Fac, Fecha, Id_Cli, Pagado, Total) VALUES "
        "('FV08/03/00001', '2008-03-05', 1, 50, 116), "
        "('FV08/03/00002', '2008-03-07', 2, 58, 58), "
        "('FV08/03/00003', '2008-03-20', 0, 0, 116), "
        "('FV08/04/00001', '2008-04-02', 2, 0, 23.2)");
    db.insert("INSERT INTO Aseguradoras (Codigo, Nombre) VALUES ('01', 'MUTUA DEL MOTOR')");
    db.insert(
        "INSERT INTO Partes (NParte, Referencia, Fecha, Matricula, NFactura, Id_Ase, IVA, "
        "FechaFactura) VALUES "
        "('PG08/03/0001', 'SIN-77', '2008-03-19', '7777XYZ', 'FV08/03/00003', 1, 16, "
        "'2008-03-20'), "
        "('PG08/03/0002', 'SIN-78', '2008-03-22', '8888XYZ', 'No', 1, 16, NULL)");
    db.insert(
        "INSERT INTO LineasPartes (NParte, Texto, Cantidad, Precio, Importe) VALUES "
        "('PG08/03/0001', 'SALIDA', 1, 60, 60), ('PG08/03/0001', 'KILOMETROS', 25, 1.6, 40)");
    db.insert(
        "INSERT INTO Comisiones (NFactura, Fecha, Id_Cli, Suma, Iva, Retencion, Resto) VALUES "
        "('FC08/0001', '2008-03-21', 2, 200, 32, 30, 202)");
    db.insert(
        "INSERT INTO FacturasLibres (NFactura, Fecha, Id_Cli, Total) VALUES "
        "('FL08/03/00001', '2008-03-18', 3, 2802.8)");
    db.insert(
        "INSERT INTO FacturasCoches (NFactura, Fecha, Id_Cli, Total) VALUES "
        "('FC08/03/00001', '2008-03-08', 1, 3000)");
    db.insert(
        "INSERT INTO Entradas (NEntrada, NAlbaran, Fecha, Id_Pro, Id_Art, Cantidad, Precio, "
        "Descuento) VALUES "
        "('EN08/03/00001', 'A-1', '2008-03-01', 1, 4, 10, 18, 10), "
        "('EN08/03/00002', 'B-7', '2008-03-03', 2, 2, 100, 30, 0), "
        "('EN08/03/00003', 'A-2', '2008-03-25', 1, 4, 10, 25, 0)");
    // Labour 100,00, 2 x 30,00 of an article bought at 18,00 less 10 %, a free line of 10,00.
    db.insert(
        "INSERT INTO ODTS (NODT, Fecha, FechaEntrega, Id_Cli, Id_Coche, NAlbaran, NFactura, "
        "Nominal, Interna) VALUES ('ODT08/03/00004', '2008-03-15', '2008-03-16', 3, 4, 'No', "
        "'FR08/03/00003', 170, 'No')");
    db.insert(
        "INSERT INTO FacturasODT (NFactura, Fecha, Base, IVA, Importe, Pagado) VALUES "
        "('FR08/03/00003', '2008-03-16', 170, 27.2, 197.2, 0)");
    db.insert(
        "INSERT INTO TrabajosRealizadosODT (NODT, TRealizado, TFacturado, Precio, Dto) VALUES "
        "('ODT08/03/00004', 'CAMBIO DE PASTILLAS', 2, 50, 0)");
    db.insert(
        "INSERT INTO MaterialesODT (NODT, NArticulo, Descripcion, Unidades, Precio, Dto) VALUES "
        "('ODT08/03/00004', 'A0004', 'PASTILLAS DE FRENO', 2, 30, 0)");
    db.insert(
        "INSERT INTO LineasLibresODT (nODT, TextoLibre, Unidades, Precio, Dto) VALUES "
        "('ODT08/03/00004', 'LIQUIDO DE FRENOS', 1, 10, 0)");
}

}  // namespace torvane::testing
