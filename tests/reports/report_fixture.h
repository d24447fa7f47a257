#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include "data/database.h"

namespace torvane::testing {

// A small workshop: company data, three customers with four vehicles, two
// suppliers, three articles and three work orders, two of them invoiced together.
inline void fillReportFixture(Database& db) {
    db.insert(
        "INSERT INTO DatosEmpresa (Nombre, Titular, Nif, Direccion, CP, Localidad, Provincia, "
        "Telefono, Fax, IVA, Registro) VALUES ('TALLERES TORVANE S.L.', 'JUAN PÉREZ GIL', "
        "'B12345678', 'C/ MAYOR, 12', '28001', 'MADRID', 'MADRID', '910000001', '', 16, "
        "'R.I. Madrid 28/12345')");
    db.insert(
        "INSERT INTO Clientes (Codigo, NIF, Nombre, Apellido1, Direccion, CP, Localidad, "
        "Provincia, "
        "Telefono, Movil, Forma_Pago) VALUES "
        "('C0001', '12345678Z', 'JUAN', 'GARCÍA', 'C/ SOL, 1', '28002', 'MADRID', 'MADRID', "
        "'911111111', '600111111', 'CONTADO'), "
        "('C0002', '87654321X', 'MARÍA', 'LÓPEZ', 'AV. LUNA, 22', '08001', 'BARCELONA', "
        "'BARCELONA', '932222222', '', 'RECIBO 30 DÍAS'), "
        "('C0003', '', 'AUTOS O''NEILL', '', '', '', 'TOLEDO', 'TOLEDO', '', '', '')");
    db.insert(
        "INSERT INTO Vehiculos (Id_Cli, Matricula, Marca, Modelo, Color, NChasis, FechaITV) VALUES "
        "(1, '1234BCD', 'SEAT', 'IBIZA', 'ROJO', 'VSSZZZ6KZ1R000001', '2008-11-30'), "
        "(1, '5678FGH', 'SEAT', 'LEON', 'GRIS', 'VSSZZZ1MZ2R000002', NULL), "
        "(2, 'M-1234-XY', 'RENAULT', 'CLIO', 'BLANCO', 'VF1BB000003', '2009-02-01'), "
        "(3, '9999JKL', 'FORD', 'TRANSIT', 'AZUL', 'WF0XXX000004', '2008-06-15')");
    db.insert(
        "INSERT INTO Proveedores (Codigo_Pro, NIF, Nombre, Direccion, CP, Localidad, Provincia, "
        "Telefono1, Telefono2, Fax, CodigoContable) VALUES "
        "('P01', 'A11111111', 'RECAMBIOS DEL CENTRO S.A.', 'POL. IND. SUR, 4', '28906', 'GETAFE', "
        "'MADRID', '916666666', '', '916666667', '400000001'), "
        "('P02', 'B22222222', 'LUBRICANTES NORTE S.L.', '', '', 'BILBAO', 'VIZCAYA', '944444444', "
        "'', '', '')");
    db.insert(
        "INSERT INTO Articulos (Codigo, Nombre, Referencia, Familia, Almacen, StockInicial, "
        "StockMinimo, PrecioVenta, Descuento, Id_Proveedor) VALUES "
        "('A0001', 'FILTRO DE ACEITE', 'FA-100', 'FILTROS', 'CENTRAL', 10, 2, 12.5, 0, 1), "
        "('A0002', 'ACEITE 5W30 5 L', 'AC-530', 'LUBRICANTES', 'CENTRAL', 6, 3, 39.9, 10, 2), "
        "('A0003', 'KIT DE EMBRAGUE', 'KE-22', 'TRANSMISION', 'NAVE 2', 2, 1, 1234.5, 5, 1)");
    db.insert(
        "INSERT INTO ODTS (NODT, Fecha, FechaEntrega, Id_Cli, Id_Coche, Kilometros, Presupuesto, "
        "NPresupuesto, NAlbaran, NFactura, Nominal, Interna) VALUES "
        "('ODT08/03/00001', '2008-03-10', '2008-03-11', 1, 1, 123456, 0, 'No', 'AL08/03/00001', "
        "'FR08/03/00001', 145.65, 'No'), "
        "('ODT08/03/00002', '2008-03-12', '2008-03-14', 2, 3, 45000, 0, 'No', 'No', "
        "'FR08/03/00002', 1290.12, 'No'), "
        "('ODT08/03/00003', '2008-03-13', '2008-03-14', 2, 3, 45100, 0, 'No', 'No', "
        "'FR08/03/00002', 36.00, 'No')");
    db.insert(
        "INSERT INTO FacturasODT (NFactura, Fecha, Base, IVA, Importe, Pagado) VALUES "
        "('FR08/03/00001', '2008-03-11', 145.65, 23.30, 168.95, 0), "
        "('FR08/03/00002', '2008-03-14', 1326.12, 212.18, 1538.30, 0)");
    db.insert(
        "INSERT INTO TrabajosRealizadosODT (NODT, NOperario, Departamento, TRealizado, Fecha, "
        "TReal, TFacturado, Precio, Dto) VALUES "
        "('ODT08/03/00001', 'OP1', 'MECANICA', 'CAMBIO DE ACEITE Y FILTRO', '2008-03-10', 1, 1, "
        "40, 0), "
        "('ODT08/03/00001', 'OP1', 'MECANICA', 'REVISION DE FRENOS', '2008-03-10', 0.5, 0.5, 40, "
        "10), "
        "('ODT08/03/00002', 'OP2', 'MECANICA', 'SUSTITUIR EMBRAGUE', '2008-03-13', 3, 2.5, 42, 0)");
    db.insert(
        "INSERT INTO MaterialesODT (NODT, NArticulo, Descripcion, Unidades, Precio, Dto) VALUES "
        "('ODT08/03/00001', 'A0001', 'FILTRO DE ACEITE', 1, 12.5, 0), "
        "('ODT08/03/00001', 'A0002', 'ACEITE 5W30 5 L', 2, 39.9, 10), "
        "('ODT08/03/00002', 'A0003', 'KIT DE EMBRAGUE', 1, 1234.5, 4)");
    db.insert(
        "INSERT INTO LineasLibresODT (nODT, Referencia, TextoLibre, Unidades, Precio, Dto) VALUES "
        "('ODT08/03/00001', 'RES', 'GESTION DE RESIDUOS', 1, 3.33, 0), "
        "('ODT08/03/00003', '', 'LAVADO', 2, 18, 0)");
}

// `count` more customers, coded prefix + a number of `width` digits and named "<name> <n>",
// for listings longer than a page.
inline void addCustomers(Database& db, int count, const QString& prefix, int width,
                         const QString& name, const QVariant& surname = {}) {
    Database::Transaction t(db);
    for (int i = 1; i <= count; ++i)
        db.insert("INSERT INTO Clientes (Codigo, Nombre, Apellido1, NIF) VALUES (?, ?, ?, '')",
                  {prefix + QString("%1").arg(i, width, 10, QChar('0')),
                   QString("%1 %2").arg(name).arg(i), surname});
    t.commit();
}

// Where the checked-in reference texts are: tests/<folder>/expected.
inline QString expectedFolder(const QString& folder = QStringLiteral("reports")) {
    const QString source = qEnvironmentVariable("TORVANE_SOURCE");
    if (!source.isEmpty()) return QDir(source).filePath("tests/" + folder + "/expected");
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath("../" + folder + "/expected");
}

// Compares with <folder>/expected/<name>.txt. TORVANE_UPDATE_EXPECTED=1 rewrites the
// reference instead, so a layout change shows up as a reviewed diff.
inline void expectReference(const QString& folder, const QString& name, const QString& text) {
    const QString path = expectedFolder(folder) + '/' + name + ".txt";
    QFile f(path);
    if (qEnvironmentVariableIntValue("TORVANE_UPDATE_EXPECTED") == 1) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        return;
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "missing reference " << path.toStdString();
    EXPECT_EQ(text.toStdString(), QString::fromUtf8(f.readAll()).toStdString())
        << "reference " << path.toStdString();
}

}  // namespace torvane::testing
