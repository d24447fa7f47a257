-- Torvane database schema.
-- Column positions matter: some screens and the format check read columns by place.
-- Keys never reuse values (AUTOINCREMENT); text compares without case; dates are ISO text.

-- Master data

CREATE TABLE "Clientes" (
    "Id_Cli" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Codigo" TEXT COLLATE NOCASE,
    "NIF" TEXT COLLATE NOCASE,
    "Nombre" TEXT COLLATE NOCASE,
    "Apellido1" TEXT COLLATE NOCASE,
    "Direccion" TEXT COLLATE NOCASE,
    "CP" TEXT COLLATE NOCASE,
    "Localidad" TEXT COLLATE NOCASE,
    "Provincia" TEXT COLLATE NOCASE,
    "Telefono" TEXT COLLATE NOCASE,
    "Movil" TEXT COLLATE NOCASE,
    "Fax" TEXT COLLATE NOCASE,
    "Banco" TEXT COLLATE NOCASE,
    "Sucursal" TEXT COLLATE NOCASE,
    "NumeroCuenta" TEXT COLLATE NOCASE,
    "Forma_Pago" TEXT COLLATE NOCASE,
    "DiaDePago" TEXT COLLATE NOCASE,
    "Descuento" REAL,
    "CodigoContable" TEXT COLLATE NOCASE
);
CREATE INDEX "ix_Clientes_Codigo" ON "Clientes" ("Codigo");
CREATE INDEX "ix_Clientes_NIF" ON "Clientes" ("NIF");
CREATE INDEX "ix_Clientes_Nombre" ON "Clientes" ("Nombre");

CREATE TABLE "Vehiculos" (
    "Id_Veh" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Id_Cli" INTEGER,
    "Matricula" TEXT COLLATE NOCASE,
    "Marca" TEXT COLLATE NOCASE,
    "Modelo" TEXT COLLATE NOCASE,
    "Color" TEXT COLLATE NOCASE,
    "CodigoColor" TEXT COLLATE NOCASE,
    "NChasis" TEXT COLLATE NOCASE,
    "NMotor" TEXT COLLATE NOCASE,
    "CodigoLLave" TEXT COLLATE NOCASE,
    "CodigoRadio" TEXT COLLATE NOCASE,
    "FechaITV" TEXT,
    "FechaVenta" TEXT,
    "Notas" TEXT COLLATE NOCASE
);
CREATE INDEX "ix_Vehiculos_Id_Cli" ON "Vehiculos" ("Id_Cli");
CREATE INDEX "ix_Vehiculos_Matricula" ON "Vehiculos" ("Matricula");
CREATE INDEX "ix_Vehiculos_Marca" ON "Vehiculos" ("Marca");
CREATE INDEX "ix_Vehiculos_Modelo" ON "Vehiculos" ("Modelo");

CREATE TABLE "Operarios" (
    "Id_Ope" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Codigo" TEXT COLLATE NOCASE,
    "Nombre" TEXT COLLATE NOCASE,
    "NIF" TEXT COLLATE NOCASE,
    "SS" TEXT COLLATE NOCASE,
    "Categoria" TEXT COLLATE NOCASE,
    "Departamento" TEXT COLLATE NOCASE,
    "PrecioHora" REAL,
    "Direccion" TEXT COLLATE NOCASE,
    "CP" TEXT COLLATE NOCASE,
    "Localidad" TEXT COLLATE NOCASE,
    "Provincia" TEXT COLLATE NOCASE,
    "Telefono1" TEXT COLLATE NOCASE,
    "Telefono2" TEXT COLLATE NOCASE,
    "Movil" TEXT COLLATE NOCASE,
    "Fecha_Alta" TEXT,
    "Fecha_Nac" TEXT,
    "Notas" TEXT COLLATE NOCASE
);
CREATE INDEX "ix_Operarios_Codigo" ON "Operarios" ("Codigo");
CREATE INDEX "ix_Operarios_Nombre" ON "Operarios" ("Nombre");

CREATE TABLE "PreciosHora" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Departamento" TEXT COLLATE NOCASE,
    "Precio" REAL
);
CREATE INDEX "ix_PreciosHora_Departamento" ON "PreciosHora" ("Departamento");

CREATE TABLE "Familias" (
    "Id_Fam" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Familia" TEXT COLLATE NOCASE
);
CREATE INDEX "ix_Familias_Familia" ON "Familias" ("Familia");

CREATE TABLE "Almacenes" (
    "Id_Alm" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Almacen" TEXT COLLATE NOCASE
);
CREATE INDEX "ix_Almacenes_Almacen" ON "Almacenes" ("Almacen");

CREATE TABLE "Articulos" (
    "Id_Art" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Codigo" TEXT COLLATE NOCASE,
    "Nombre" TEXT COLLATE NOCASE,
    "Referencia" TEXT COLLATE NOCASE,
    "Familia" TEXT COLLATE NOCASE,
    "Almacen" TEXT COLLATE NOCASE,
    "StockInicial" REAL,
    "StockMinimo" REAL,
    "PrecioVenta" REAL,
    "Descuento" REAL,
    "Id_Proveedor" INTEGER
);
CREATE INDEX "ix_Articulos_Codigo" ON "Articulos" ("Codigo");
CREATE INDEX "ix_Articulos_Nombre" ON "Articulos" ("Nombre");
CREATE INDEX "ix_Articulos_Familia" ON "Articulos" ("Familia");
CREATE INDEX "ix_Articulos_Almacen" ON "Articulos" ("Almacen");
CREATE INDEX "ix_Articulos_Id_Proveedor" ON "Articulos" ("Id_Proveedor");

CREATE TABLE "Proveedores" (
    "Id_Pro" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Codigo_Pro" TEXT COLLATE NOCASE,
    "NIF" TEXT COLLATE NOCASE,
    "Nombre" TEXT COLLATE NOCASE,
    "Direccion" TEXT COLLATE NOCASE,
    "CP" TEXT COLLATE NOCASE,
    "Localidad" TEXT COLLATE NOCASE,
    "Provincia" TEXT COLLATE NOCASE,
    "Telefono1" TEXT COLLATE NOCASE,
    "Telefono2" TEXT COLLATE NOCASE,
    "Fax" TEXT COLLATE NOCASE,
    "CodigoContable" TEXT COLLATE NOCASE,
    "Notas" TEXT COLLATE NOCASE
);
CREATE INDEX "ix_Proveedores_Codigo_Pro" ON "Proveedores" ("Codigo_Pro");
CREATE INDEX "ix_Proveedores_NIF" ON "Proveedores" ("NIF");
CREATE INDEX "ix_Proveedores_Nombre" ON "Proveedores" ("Nombre");

CREATE TABLE "Aseguradoras" (
    "Id_Ase" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Codigo" TEXT COLLATE NOCASE,
    "NIF" TEXT COLLATE NOCASE,
    "Nombre" TEXT COLLATE NOCASE,
    "Referencia" TEXT COLLATE NOCASE,
    "Direccion" TEXT COLLATE NOCASE,
    "CP" TEXT COLLATE NOCASE,
    "Localidad" TEXT COLLATE NOCASE,
    "Provincia" TEXT COLLATE NOCASE,
    "Telefono" TEXT COLLATE NOCASE,
    "Movil" TEXT COLLATE NOCASE,
    "Fax" TEXT COLLATE NOCASE,
    "CodigoContable" TEXT COLLATE NOCASE,
    "Notas" TEXT COLLATE NOCASE
);
CREATE INDEX "ix_Aseguradoras_Codigo" ON "Aseguradoras" ("Codigo");
CREATE INDEX "ix_Aseguradoras_Nombre" ON "Aseguradoras" ("Nombre");

CREATE TABLE "Tarifas" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Id_Ase" INTEGER,
    "P1" REAL,
    "P2" REAL,
    "Deposito" REAL,
    "Espera" REAL,
    "Rescate" REAL,
    "UTL" REAL,
    "UTF" REAL,
    "UFL" REAL,
    "UFF" REAL,
    "CTL" REAL,
    "CTF" REAL,
    "CFL" REAL,
    "CFF" REAL,
    "ITL" REAL,
    "ITF" REAL,
    "IFL" REAL,
    "IFF" REAL,
    "PTL" REAL,
    "PTF" REAL,
    "PFL" REAL,
    "PFF" REAL,
    "SLTL" REAL,
    "SLTF" REAL,
    "SLFL" REAL,
    "SLFF" REAL,
    "KLTL" REAL,
    "KLTF" REAL,
    "KLFL" REAL,
    "KLFF" REAL
);
CREATE INDEX "ix_Tarifas_Id_Ase" ON "Tarifas" ("Id_Ase");

-- Work orders

CREATE TABLE "ODTS" (
    "Id_ODT" INTEGER PRIMARY KEY AUTOINCREMENT,
    "NODT" TEXT COLLATE NOCASE,
    "Fecha" TEXT,
    "FechaEntrega" TEXT,
    "Id_Cli" INTEGER,
    "Id_Coche" INTEGER,
    "Kilometros" REAL,
    "Combustible" TEXT COLLATE NOCASE,
    "Recoge" INTEGER,
    "Imprevisto" INTEGER,
    "Presupuesto" INTEGER,
    "NPresupuesto" TEXT COLLATE NOCASE,
    "NAlbaran" TEXT COLLATE NOCASE,
    "NFactura" TEXT COLLATE NOCASE,
    "Nominal" REAL,
    "Interna" TEXT COLLATE NOCASE
);
CREATE INDEX "ix_ODTS_NODT" ON "ODTS" ("NODT");
CREATE INDEX "ix_ODTS_Fecha" ON "ODTS" ("Fecha");
CREATE INDEX "ix_ODTS_Id_Cli" ON "ODTS" ("Id_Cli");
CREATE INDEX "ix_ODTS_Id_Coche" ON "ODTS" ("Id_Coche");
CREATE INDEX "ix_ODTS_NAlbaran" ON "ODTS" ("NAlbaran");
CREATE INDEX "ix_ODTS_NFactura" ON "ODTS" ("NFactura");
-- The internal work orders, newest first, without reading the ordinary ones.
CREATE INDEX "ix_ODTS_Interna" ON "ODTS" ("Interna", "Fecha");

-- Summary of the work-order numbers that the customer screen's probe can meet: per head
-- (the number without its trailing digits), how many distinct counters are stored in the
-- probe's form (4 digits, or 5 to 18 without a leading zero; counter 1 or more) and the
-- smallest and greatest. A NULL bound is unknown (its counter was deleted) until the next
-- probe reads the numbers and rewrites the row. No row: no such counter is stored.
CREATE TABLE "ContadoresODT" (
    "Cabeza" TEXT COLLATE NOCASE PRIMARY KEY,
    "Cuantos" INTEGER NOT NULL,
    "Minimo" INTEGER,
    "Maximo" INTEGER
);
CREATE TRIGGER "ODTS_ContadoresODT_Alta" AFTER INSERT ON "ODTS"
WHEN length(NEW."NODT") - length(rtrim(NEW."NODT", '0123456789')) BETWEEN 4 AND 18 AND CAST(substr(NEW."NODT", length(rtrim(NEW."NODT", '0123456789')) + 1) AS INTEGER) >= 1
    AND (length(NEW."NODT") - length(rtrim(NEW."NODT", '0123456789')) = 4 OR length(CAST(substr(NEW."NODT", length(rtrim(NEW."NODT", '0123456789')) + 1) AS INTEGER)) = length(NEW."NODT") - length(rtrim(NEW."NODT", '0123456789')))
    AND (SELECT count(*) FROM "ODTS" WHERE "NODT" = NEW."NODT" COLLATE NOCASE) = 1
BEGIN
    INSERT INTO "ContadoresODT" ("Cabeza", "Cuantos", "Minimo", "Maximo")
    VALUES (rtrim(NEW."NODT", '0123456789'), 1, CAST(substr(NEW."NODT", length(rtrim(NEW."NODT", '0123456789')) + 1) AS INTEGER), CAST(substr(NEW."NODT", length(rtrim(NEW."NODT", '0123456789')) + 1) AS INTEGER))
    ON CONFLICT ("Cabeza") DO UPDATE SET "Cuantos" = "Cuantos" + 1,
    "Minimo" = min("Minimo", excluded."Minimo"), "Maximo" = max("Maximo", excluded."Maximo"); END;
CREATE TRIGGER "ODTS_ContadoresODT_Baja" AFTER DELETE ON "ODTS"
WHEN length(OLD."NODT") - length(rtrim(OLD."NODT", '0123456789')) BETWEEN 4 AND 18 AND CAST(substr(OLD."NODT", length(rtrim(OLD."NODT", '0123456789')) + 1) AS INTEGER) >= 1
    AND (length(OLD."NODT") - length(rtrim(OLD."NODT", '0123456789')) = 4 OR length(CAST(substr(OLD."NODT", length(rtrim(OLD."NODT", '0123456789')) + 1) AS INTEGER)) = length(OLD."NODT") - length(rtrim(OLD."NODT", '0123456789')))
    AND NOT EXISTS (SELECT 1 FROM "ODTS" WHERE "NODT" = OLD."NODT" COLLATE NOCASE)
BEGIN
    UPDATE "ContadoresODT" SET "Cuantos" = "Cuantos" - 1,
    "Minimo" = CASE WHEN "Minimo" = CAST(substr(OLD."NODT", length(rtrim(OLD."NODT", '0123456789')) + 1) AS INTEGER) THEN NULL ELSE "Minimo" END,
    "Maximo" = CASE WHEN "Maximo" = CAST(substr(OLD."NODT", length(rtrim(OLD."NODT", '0123456789')) + 1) AS INTEGER) THEN NULL ELSE "Maximo" END
    WHERE "Cabeza" = rtrim(OLD."NODT", '0123456789'); DELETE FROM "ContadoresODT"
    WHERE "Cabeza" = rtrim(OLD."NODT", '0123456789') AND "Cuantos" <= 0; END;
CREATE TRIGGER "ODTS_ContadoresODT_CambioQuita" AFTER UPDATE OF "NODT" ON "ODTS"
WHEN length(OLD."NODT") - length(rtrim(OLD."NODT", '0123456789')) BETWEEN 4 AND 18 AND CAST(substr(OLD."NODT", length(rtrim(OLD."NODT", '0123456789')) + 1) AS INTEGER) >= 1
    AND (length(OLD."NODT") - length(rtrim(OLD."NODT", '0123456789')) = 4 OR length(CAST(substr(OLD."NODT", length(rtrim(OLD."NODT", '0123456789')) + 1) AS INTEGER)) = length(OLD."NODT") - length(rtrim(OLD."NODT", '0123456789')))
    AND (OLD."NODT" COLLATE NOCASE) IS NOT NEW."NODT"
    AND NOT EXISTS (SELECT 1 FROM "ODTS" WHERE "NODT" = OLD."NODT" COLLATE NOCASE)
BEGIN
    UPDATE "ContadoresODT" SET "Cuantos" = "Cuantos" - 1,
    "Minimo" = CASE WHEN "Minimo" = CAST(substr(OLD."NODT", length(rtrim(OLD."NODT", '0123456789')) + 1) AS INTEGER) THEN NULL ELSE "Minimo" END,
    "Maximo" = CASE WHEN "Maximo" = CAST(substr(OLD."NODT", length(rtrim(OLD."NODT", '0123456789')) + 1) AS INTEGER) THEN NULL ELSE "Maximo" END
    WHERE "Cabeza" = rtrim(OLD."NODT", '0123456789'); DELETE FROM "ContadoresODT"
    WHERE "Cabeza" = rtrim(OLD."NODT", '0123456789') AND "Cuantos" <= 0; END;
CREATE TRIGGER "ODTS_ContadoresODT_CambioPon" AFTER UPDATE OF "NODT" ON "ODTS"
WHEN length(NEW."NODT") - length(rtrim(NEW."NODT", '0123456789')) BETWEEN 4 AND 18 AND CAST(substr(NEW."NODT", length(rtrim(NEW."NODT", '0123456789')) + 1) AS INTEGER) >= 1
    AND (length(NEW."NODT") - length(rtrim(NEW."NODT", '0123456789')) = 4 OR length(CAST(substr(NEW."NODT", length(rtrim(NEW."NODT", '0123456789')) + 1) AS INTEGER)) = length(NEW."NODT") - length(rtrim(NEW."NODT", '0123456789')))
    AND (OLD."NODT" COLLATE NOCASE) IS NOT NEW."NODT"
    AND (SELECT count(*) FROM "ODTS" WHERE "NODT" = NEW."NODT" COLLATE NOCASE) = 1
BEGIN
    INSERT INTO "ContadoresODT" ("Cabeza", "Cuantos", "Minimo", "Maximo")
    VALUES (rtrim(NEW."NODT", '0123456789'), 1, CAST(substr(NEW."NODT", length(rtrim(NEW."NODT", '0123456789')) + 1) AS INTEGER), CAST(substr(NEW."NODT", length(rtrim(NEW."NODT", '0123456789')) + 1) AS INTEGER))
    ON CONFLICT ("Cabeza") DO UPDATE SET "Cuantos" = "Cuantos" + 1,
    "Minimo" = min("Minimo", excluded."Minimo"), "Maximo" = max("Maximo", excluded."Maximo"); END;

CREATE TABLE "TrabajosRealizar_ODT" (
    "Id_Tr" INTEGER PRIMARY KEY AUTOINCREMENT,
    "NODT" TEXT COLLATE NOCASE,
    "Trabajo" TEXT COLLATE NOCASE
);
CREATE INDEX "ix_TrabajosRealizar_ODT_NODT" ON "TrabajosRealizar_ODT" ("NODT");

CREATE TABLE "TrabajosRealizadosODT" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "NODT" TEXT COLLATE NOCASE,
    "NOperario" TEXT COLLATE NOCASE,
    "Departamento" TEXT COLLATE NOCASE,
    "TRealizado" TEXT COLLATE NOCASE,
    "Fecha" TEXT,
    "TReal" REAL,
    "TFacturado" REAL,
    "Precio" REAL,
    "Dto" REAL
);
CREATE INDEX "ix_TrabajosRealizadosODT_NODT" ON "TrabajosRealizadosODT" ("NODT");
CREATE INDEX "ix_TrabajosRealizadosODT_NOperario" ON "TrabajosRealizadosODT" ("NOperario");

CREATE TABLE "MaterialesODT" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "NODT" TEXT COLLATE NOCASE,
    "NArticulo" TEXT COLLATE NOCASE,
    "Descripcion" TEXT COLLATE NOCASE,
    "Unidades" REAL,
    "Precio" REAL,
    "Dto" REAL
);
CREATE INDEX "ix_MaterialesODT_NODT" ON "MaterialesODT" ("NODT");
CREATE INDEX "ix_MaterialesODT_NArticulo" ON "MaterialesODT" ("NArticulo");

CREATE TABLE "LineasLibresODT" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "nODT" TEXT COLLATE NOCASE,
    "Referencia" TEXT COLLATE NOCASE,
    "TextoLibre" TEXT COLLATE NOCASE,
    "Unidades" REAL,
    "Precio" REAL,
    "Dto" REAL
);
CREATE INDEX "ix_LineasLibresODT_nODT" ON "LineasLibresODT" ("nODT");

CREATE TABLE "FacturasODT" (
    "Id_FAct" INTEGER PRIMARY KEY AUTOINCREMENT,
    "NFactura" TEXT COLLATE NOCASE,
    "Fecha" TEXT,
    "Base" REAL,
    "IVA" REAL,
    "Reservado5" REAL,
    "Reservado6" REAL,
    "Importe" REAL,
    "Pagado" REAL
);
CREATE INDEX "ix_FacturasODT_NFactura" ON "FacturasODT" ("NFactura");
CREATE INDEX "ix_FacturasODT_Fecha" ON "FacturasODT" ("Fecha");

-- Parts sales

CREATE TABLE "Albaranes" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Id_Alb" TEXT COLLATE NOCASE,
    "Fecha" TEXT,
    "Reservado3" TEXT COLLATE NOCASE,
    "Id_Cli" INTEGER,
    "NFactura" TEXT COLLATE NOCASE,
    "Notas" TEXT COLLATE NOCASE,
    "Suma" REAL,
    "Reservado8" REAL,
    "Reservado9" REAL,
    "Nominal" REAL,
    "IVA" REAL,
    "Reservado12" REAL,
    "Total" REAL
);
CREATE INDEX "ix_Albaranes_Id_Alb" ON "Albaranes" ("Id_Alb");
CREATE INDEX "ix_Albaranes_Fecha" ON "Albaranes" ("Fecha");
CREATE INDEX "ix_Albaranes_Id_Cli" ON "Albaranes" ("Id_Cli");
CREATE INDEX "ix_Albaranes_NFactura" ON "Albaranes" ("NFactura");

CREATE TABLE "Salidas" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Id_Alb" TEXT COLLATE NOCASE,
    "Id_Art" INTEGER,
    "Codigo" TEXT COLLATE NOCASE,
    "Descripcion" TEXT COLLATE NOCASE,
    "Cantidad" REAL,
    "Precio" REAL,
    "Dto" REAL
);
CREATE INDEX "ix_Salidas_Id_Alb" ON "Salidas" ("Id_Alb");
CREATE INDEX "ix_Salidas_Id_Art" ON "Salidas" ("Id_Art");

CREATE TABLE "Facturas" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Id_Fac" TEXT COLLATE NOCASE,
    "Fecha" TEXT,
    "Id_Cli" INTEGER,
    "Pagado" REAL,
    "Reservado5" REAL,
    "Total" REAL
);
CREATE INDEX "ix_Facturas_Id_Fac" ON "Facturas" ("Id_Fac");
CREATE INDEX "ix_Facturas_Fecha" ON "Facturas" ("Fecha");
CREATE INDEX "ix_Facturas_Id_Cli" ON "Facturas" ("Id_Cli");

-- Purchases

CREATE TABLE "Entradas" (
    "Id_Ent" INTEGER PRIMARY KEY AUTOINCREMENT,
    "NEntrada" TEXT COLLATE NOCASE,
    "NAlbaran" TEXT COLLATE NOCASE,
    "Fecha" TEXT,
    "Id_Pro" INTEGER,
    "Id_Art" INTEGER,
    "Cantidad" REAL,
    "Precio" REAL,
    "Descuento" REAL
);
CREATE INDEX "ix_Entradas_NEntrada" ON "Entradas" ("NEntrada");
CREATE INDEX "ix_Entradas_NAlbaran" ON "Entradas" ("NAlbaran");
CREATE INDEX "ix_Entradas_Fecha" ON "Entradas" ("Fecha");
CREATE INDEX "ix_Entradas_Id_Pro" ON "Entradas" ("Id_Pro");
CREATE INDEX "ix_Entradas_Id_Art" ON "Entradas" ("Id_Art");
-- An article's latest purchase on or before a day (the cost of "Beneficios ODT").
CREATE INDEX "ix_Entradas_Id_Art_Fecha" ON "Entradas" ("Id_Art", "Fecha");

-- Billing

CREATE TABLE "Cobros" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Reservado1" INTEGER,
    "NFactura" TEXT COLLATE NOCASE,
    "Fecha" TEXT,
    "Cantidad" REAL
);
CREATE INDEX "ix_Cobros_NFactura" ON "Cobros" ("NFactura");

CREATE TABLE "FacturasLibres" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Fecha" TEXT,
    "NFactura" TEXT COLLATE NOCASE,
    "Id_Cli" INTEGER,
    "Suma" REAL,
    "Iva" REAL,
    "Total" REAL,
    "Descuento" REAL,
    "Dto" REAL,
    "TipoIva" REAL
);
CREATE INDEX "ix_FacturasLibres_NFactura" ON "FacturasLibres" ("NFactura");
CREATE INDEX "ix_FacturasLibres_Fecha" ON "FacturasLibres" ("Fecha");
CREATE INDEX "ix_FacturasLibres_Id_Cli" ON "FacturasLibres" ("Id_Cli");

CREATE TABLE "SalidasLibres" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "NFactura" TEXT COLLATE NOCASE,
    "Concepto" TEXT COLLATE NOCASE,
    "Unidades" REAL,
    "Precio" REAL,
    "Dto" REAL,
    "Importe" REAL
);
CREATE INDEX "ix_SalidasLibres_NFactura" ON "SalidasLibres" ("NFactura");

CREATE TABLE "Recibos" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "NRecibo" TEXT COLLATE NOCASE,
    "Fecha" TEXT,
    "Vto" TEXT COLLATE NOCASE,
    "Importe" REAL,
    "Id_cli" INTEGER,
    "Banco" TEXT COLLATE NOCASE,
    "Sucursal" TEXT COLLATE NOCASE,
    "NCuenta" TEXT COLLATE NOCASE,
    "ImporteLetras" TEXT COLLATE NOCASE,
    "NFactura" TEXT COLLATE NOCASE
);
CREATE INDEX "ix_Recibos_NRecibo" ON "Recibos" ("NRecibo");
CREATE INDEX "ix_Recibos_Fecha" ON "Recibos" ("Fecha");
CREATE INDEX "ix_Recibos_Id_cli" ON "Recibos" ("Id_cli");

CREATE TABLE "Comisiones" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "NFactura" TEXT COLLATE NOCASE,
    "Fecha" TEXT,
    "Id_Cli" INTEGER,
    "Suma" REAL,
    "Iva" REAL,
    "Retencion" REAL,
    "Resto" REAL,
    "TipoRetencion" REAL
);
CREATE INDEX "ix_Comisiones_NFactura" ON "Comisiones" ("NFactura");
CREATE INDEX "ix_Comisiones_Fecha" ON "Comisiones" ("Fecha");
CREATE INDEX "ix_Comisiones_Id_Cli" ON "Comisiones" ("Id_Cli");

CREATE TABLE "SalidasComisiones" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "NFactura" TEXT COLLATE NOCASE,
    "Concepto" TEXT COLLATE NOCASE,
    "Unidades" REAL,
    "Precio" REAL,
    "Dto" REAL,
    "Total" REAL
);
CREATE INDEX "ix_SalidasComisiones_NFactura" ON "SalidasComisiones" ("NFactura");

CREATE TABLE "FacturasCoches" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "NFactura" TEXT COLLATE NOCASE,
    "Fecha" TEXT,
    "Id_Cli" INTEGER,
    "Total" REAL
);
CREATE INDEX "ix_FacturasCoches_NFactura" ON "FacturasCoches" ("NFactura");
CREATE INDEX "ix_FacturasCoches_Id_Cli" ON "FacturasCoches" ("Id_Cli");

-- Tow service

CREATE TABLE "Partes" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "NParte" TEXT COLLATE NOCASE,
    "Referencia" TEXT COLLATE NOCASE,
    "Fecha" TEXT,
    "Compañia" TEXT COLLATE NOCASE,
    "Matricula" TEXT COLLATE NOCASE,
    "Marca" TEXT COLLATE NOCASE,
    "Modelo" TEXT COLLATE NOCASE,
    "Color" TEXT COLLATE NOCASE,
    "TipoVehiculo" TEXT COLLATE NOCASE,
    "OtroVehiculo" TEXT COLLATE NOCASE,
    "Conductor" TEXT COLLATE NOCASE,
    "TipoDia" TEXT COLLATE NOCASE,
    "TipoSalida" TEXT COLLATE NOCASE,
    "Desde" TEXT COLLATE NOCASE,
    "Hasta" TEXT COLLATE NOCASE,
    "Kilometros" TEXT COLLATE NOCASE,
    "TiempoEspera" TEXT COLLATE NOCASE,
    "TiempoRescate" TEXT COLLATE NOCASE,
    "DiasDeposito" TEXT COLLATE NOCASE,
    "Nombre" TEXT COLLATE NOCASE,
    "Direccion" TEXT COLLATE NOCASE,
    "Localidad" TEXT COLLATE NOCASE,
    "Provincia" TEXT COLLATE NOCASE,
    "CP" TEXT COLLATE NOCASE,
    "Telefono" TEXT COLLATE NOCASE,
    "Movil" TEXT COLLATE NOCASE,
    "Fax" TEXT COLLATE NOCASE,
    "Observaciones" TEXT COLLATE NOCASE,
    "NFactura" TEXT COLLATE NOCASE,
    "Id_Ase" INTEGER,
    "IVA" REAL,
    "FechaFactura" TEXT
);
CREATE INDEX "ix_Partes_NParte" ON "Partes" ("NParte");
CREATE INDEX "ix_Partes_Fecha" ON "Partes" ("Fecha");
CREATE INDEX "ix_Partes_FechaFactura" ON "Partes" ("FechaFactura");
CREATE INDEX "ix_Partes_Id_Ase" ON "Partes" ("Id_Ase");

CREATE TABLE "LineasPartes" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "NParte" TEXT COLLATE NOCASE,
    "Texto" TEXT COLLATE NOCASE,
    "Cantidad" REAL,
    "Precio" REAL,
    "Importe" REAL
);
CREATE INDEX "ix_LineasPartes_NParte" ON "LineasPartes" ("NParte");

-- Company

CREATE TABLE "DatosEmpresa" (
    "Nombre" TEXT COLLATE NOCASE,
    "Titular" TEXT COLLATE NOCASE,
    "Nif" TEXT COLLATE NOCASE,
    "Direccion" TEXT COLLATE NOCASE,
    "CP" TEXT COLLATE NOCASE,
    "Localidad" TEXT COLLATE NOCASE,
    "Provincia" TEXT COLLATE NOCASE,
    "Telefono" TEXT COLLATE NOCASE,
    "Fax" TEXT COLLATE NOCASE,
    "IVA" REAL,
    "Registro" TEXT COLLATE NOCASE,
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT
);

-- Invoice registration records: one per invoice issued or removed, chained by fingerprint.
-- Written by the triggers below in the same statement as the invoice; never changed.

CREATE TABLE "ConfigFacturacion" (
    "Id" INTEGER PRIMARY KEY,
    "Activo" INTEGER NOT NULL DEFAULT 0,
    "Modo" TEXT NOT NULL DEFAULT 'VERI*FACTU',
    "Certificado" TEXT NOT NULL DEFAULT '',
    "TipoIva" REAL NOT NULL DEFAULT 16
);
INSERT INTO "ConfigFacturacion" ("Id") VALUES (1);

CREATE TABLE "RegistrosFacturacion" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Tipo" TEXT NOT NULL,
    "Origen" TEXT NOT NULL,
    "IDEmisor" TEXT NOT NULL,
    "NumSerie" TEXT NOT NULL,
    "FechaExpedicion" TEXT NOT NULL,
    "TipoFactura" TEXT NOT NULL,
    "CuotaTotal" TEXT NOT NULL,
    "ImporteTotal" TEXT NOT NULL,
    "HuellaAnterior" TEXT NOT NULL,
    "FechaHoraHuso" TEXT NOT NULL,
    "Huella" TEXT NOT NULL
);
CREATE INDEX "ix_RegistrosFacturacion_NumSerie" ON "RegistrosFacturacion" ("NumSerie");

-- The agency's answers, kept apart so that the records themselves never change.
CREATE TABLE "EnviosFacturacion" (
    "Id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "IdRegistro" INTEGER NOT NULL,
    "Fecha" TEXT NOT NULL,
    "Estado" TEXT NOT NULL,
    "Respuesta" TEXT NOT NULL DEFAULT ''
);
CREATE INDEX "ix_EnviosFacturacion_IdRegistro" ON "EnviosFacturacion" ("IdRegistro");

-- The records still without the agency's verdict, kept by triggers: what is left to send is
-- counted every few seconds, and reading years of records for it would stall the screens.
CREATE TABLE "RegistrosPendientes" (
    "IdRegistro" INTEGER PRIMARY KEY
);
CREATE TRIGGER "RegistrosPendientes_Nuevo" AFTER INSERT ON "RegistrosFacturacion"
BEGIN
    INSERT INTO "RegistrosPendientes" ("IdRegistro") VALUES (NEW."Id"); END;
CREATE TRIGGER "RegistrosPendientes_Respondido" AFTER INSERT ON "EnviosFacturacion"
WHEN NEW."Estado" IN ('Correcto', 'AceptadoConErrores', 'Incorrecto')
BEGIN
    DELETE FROM "RegistrosPendientes" WHERE "IdRegistro" = NEW."IdRegistro"; END;

CREATE TRIGGER "RegistrosFacturacion_NoCambia" BEFORE UPDATE ON "RegistrosFacturacion"
BEGIN
    SELECT RAISE(ABORT, 'Los registros de facturación no se pueden modificar.'); END;
CREATE TRIGGER "RegistrosFacturacion_NoBorra" BEFORE DELETE ON "RegistrosFacturacion"
BEGIN
    SELECT RAISE(ABORT, 'Los registros de facturación no se pueden borrar.'); END;

-- The one place that chains a record: emitter, previous fingerprint, time and fingerprint.
-- A row put here becomes a chained record and leaves at once, so the table stays empty. (A
-- table and not a view: the database's views are the saved queries.)
CREATE TABLE "NuevoRegistroFacturacion" (
    "Tipo" TEXT NOT NULL,
    "Origen" TEXT NOT NULL,
    "NumSerie" TEXT NOT NULL,
    "FechaExpedicion" TEXT NOT NULL,
    "CuotaTotal" TEXT NOT NULL,
    "ImporteTotal" TEXT NOT NULL
);
CREATE TRIGGER "NuevoRegistroFacturacion_Encadena" AFTER INSERT ON "NuevoRegistroFacturacion"
BEGIN
    INSERT INTO "RegistrosFacturacion" ("Tipo", "Origen", "IDEmisor", "NumSerie", "FechaExpedicion", "TipoFactura", "CuotaTotal", "ImporteTotal", "HuellaAnterior", "FechaHoraHuso", "Huella")
    SELECT t, o, e, n, f, tf, c, i, h, ts, sha256_hex(CASE WHEN t = 'alta'
        THEN 'IDEmisorFactura=' || e || '&NumSerieFactura=' || n || '&FechaExpedicionFactura=' || f || '&TipoFactura=' || tf || '&CuotaTotal=' || c || '&ImporteTotal=' || i || '&Huella=' || h || '&FechaHoraHusoGenRegistro=' || ts
        ELSE 'IDEmisorFacturaAnulada=' || e || '&NumSerieFacturaAnulada=' || n || '&FechaExpedicionFacturaAnulada=' || f || '&Huella=' || h || '&FechaHoraHusoGenRegistro=' || ts END)
    FROM (SELECT NEW."Tipo" AS t, NEW."Origen" AS o, coalesce((SELECT trim("Nif") FROM "DatosEmpresa" ORDER BY "Id" LIMIT 1), '') AS e,
        NEW."NumSerie" AS n, NEW."FechaExpedicion" AS f, CASE WHEN NEW."Tipo" = 'alta' THEN 'F1' ELSE '' END AS tf,
        NEW."CuotaTotal" AS c, NEW."ImporteTotal" AS i,
        coalesce((SELECT "Huella" FROM "RegistrosFacturacion" ORDER BY "Id" DESC LIMIT 1), '') AS h,
        strftime('%Y-%m-%dT%H:%M:%S', 'now', 'localtime') || (SELECT CASE WHEN m < 0 THEN '-' ELSE '+' END || printf('%02d:%02d', abs(m) / 60, abs(m) % 60) FROM (SELECT CAST(round((julianday('now', 'localtime') - julianday('now')) * 1440) AS INTEGER) AS m)) AS ts); DELETE FROM "NuevoRegistroFacturacion" WHERE rowid = NEW.rowid; END;

CREATE TRIGGER "FacturasODT_RegistrosFacturacion_Alta" AFTER INSERT ON "FacturasODT"
WHEN (SELECT "Activo" FROM "ConfigFacturacion" WHERE "Id" = 1) = 1
BEGIN
    INSERT INTO "NuevoRegistroFacturacion" ("Tipo", "Origen", "NumSerie", "FechaExpedicion", "CuotaTotal", "ImporteTotal")
    VALUES ('alta', 'FacturasODT', coalesce(NEW."NFactura", ''), coalesce(strftime('%d-%m-%Y', NEW."Fecha"), ''), printf('%.2f', coalesce(NEW."IVA", 0)), printf('%.2f', coalesce(NEW."Importe", 0))); END;
CREATE TRIGGER "FacturasODT_RegistrosFacturacion_Anulacion" AFTER DELETE ON "FacturasODT"
WHEN (SELECT "Activo" FROM "ConfigFacturacion" WHERE "Id" = 1) = 1
    AND (SELECT "Tipo" FROM "RegistrosFacturacion" WHERE "Origen" = 'FacturasODT' AND "NumSerie" = OLD."NFactura" ORDER BY "Id" DESC LIMIT 1) = 'alta'
BEGIN
    INSERT INTO "NuevoRegistroFacturacion" ("Tipo", "Origen", "NumSerie", "FechaExpedicion", "CuotaTotal", "ImporteTotal")
    VALUES ('anulacion', 'FacturasODT', OLD."NFactura", coalesce(strftime('%d-%m-%Y', OLD."Fecha"), ''), '', ''); END;
CREATE TRIGGER "Facturas_RegistrosFacturacion_Alta" AFTER INSERT ON "Facturas"
WHEN (SELECT "Activo" FROM "ConfigFacturacion" WHERE "Id" = 1) = 1
BEGIN
    INSERT INTO "NuevoRegistroFacturacion" ("Tipo", "Origen", "NumSerie", "FechaExpedicion", "CuotaTotal", "ImporteTotal")
    VALUES ('alta', 'Facturas', coalesce(NEW."Id_Fac", ''), coalesce(strftime('%d-%m-%Y', NEW."Fecha"), ''), printf('%.2f', coalesce(NEW."Total", 0) - coalesce(NEW."Total", 0) * 100.0 / (100 + coalesce((SELECT "IVA" FROM "Partes" WHERE "NFactura" = NEW."Id_Fac" ORDER BY "Id" LIMIT 1), (SELECT "TipoIva" FROM "ConfigFacturacion" WHERE "Id" = 1), 16))), printf('%.2f', coalesce(NEW."Total", 0))); END;
CREATE TRIGGER "Facturas_RegistrosFacturacion_Anulacion" AFTER DELETE ON "Facturas"
WHEN (SELECT "Activo" FROM "ConfigFacturacion" WHERE "Id" = 1) = 1
    AND (SELECT "Tipo" FROM "RegistrosFacturacion" WHERE "Origen" = 'Facturas' AND "NumSerie" = OLD."Id_Fac" ORDER BY "Id" DESC LIMIT 1) = 'alta'
BEGIN
    INSERT INTO "NuevoRegistroFacturacion" ("Tipo", "Origen", "NumSerie", "FechaExpedicion", "CuotaTotal", "ImporteTotal")
    VALUES ('anulacion', 'Facturas', OLD."Id_Fac", coalesce(strftime('%d-%m-%Y', OLD."Fecha"), ''), '', ''); END;
CREATE TRIGGER "FacturasLibres_RegistrosFacturacion_Alta" AFTER INSERT ON "FacturasLibres"
WHEN (SELECT "Activo" FROM "ConfigFacturacion" WHERE "Id" = 1) = 1
BEGIN
    INSERT INTO "NuevoRegistroFacturacion" ("Tipo", "Origen", "NumSerie", "FechaExpedicion", "CuotaTotal", "ImporteTotal")
    VALUES ('alta', 'FacturasLibres', coalesce(NEW."NFactura", ''), coalesce(strftime('%d-%m-%Y', NEW."Fecha"), ''), printf('%.2f', coalesce(NEW."Iva", 0)), printf('%.2f', coalesce(NEW."Total", 0))); END;
CREATE TRIGGER "FacturasLibres_RegistrosFacturacion_Anulacion" AFTER DELETE ON "FacturasLibres"
WHEN (SELECT "Activo" FROM "ConfigFacturacion" WHERE "Id" = 1) = 1
    AND (SELECT "Tipo" FROM "RegistrosFacturacion" WHERE "Origen" = 'FacturasLibres' AND "NumSerie" = OLD."NFactura" ORDER BY "Id" DESC LIMIT 1) = 'alta'
BEGIN
    INSERT INTO "NuevoRegistroFacturacion" ("Tipo", "Origen", "NumSerie", "FechaExpedicion", "CuotaTotal", "ImporteTotal")
    VALUES ('anulacion', 'FacturasLibres', OLD."NFactura", coalesce(strftime('%d-%m-%Y', OLD."Fecha"), ''), '', ''); END;
CREATE TRIGGER "Comisiones_RegistrosFacturacion_Alta" AFTER INSERT ON "Comisiones"
WHEN (SELECT "Activo" FROM "ConfigFacturacion" WHERE "Id" = 1) = 1
BEGIN
    INSERT INTO "NuevoRegistroFacturacion" ("Tipo", "Origen", "NumSerie", "FechaExpedicion", "CuotaTotal", "ImporteTotal")
    VALUES ('alta', 'Comisiones', coalesce(NEW."NFactura", ''), coalesce(strftime('%d-%m-%Y', NEW."Fecha"), ''), printf('%.2f', coalesce(NEW."Iva", 0)), printf('%.2f', coalesce(NEW."Suma", 0) + coalesce(NEW."Iva", 0))); END;
CREATE TRIGGER "Comisiones_RegistrosFacturacion_Anulacion" AFTER DELETE ON "Comisiones"
WHEN (SELECT "Activo" FROM "ConfigFacturacion" WHERE "Id" = 1) = 1
    AND (SELECT "Tipo" FROM "RegistrosFacturacion" WHERE "Origen" = 'Comisiones' AND "NumSerie" = OLD."NFactura" ORDER BY "Id" DESC LIMIT 1) = 'alta'
BEGIN
    INSERT INTO "NuevoRegistroFacturacion" ("Tipo", "Origen", "NumSerie", "FechaExpedicion", "CuotaTotal", "ImporteTotal")
    VALUES ('anulacion', 'Comisiones', OLD."NFactura", coalesce(strftime('%d-%m-%Y', OLD."Fecha"), ''), '', ''); END;

-- Saved queries used by the listings.
CREATE VIEW ConFacAlb AS SELECT Facturas.Id_Cli, Facturas.Fecha, Albaranes.Total, 'Fac' AS tipo FROM Facturas INNER JOIN Albaranes ON Facturas.Id_Fac = Albaranes.NFactura;
CREATE VIEW ConFacCoches AS SELECT FacturasCoches.Id_Cli, FacturasCoches.Fecha, FacturasCoches.Total, 'Coch' AS tipo FROM FacturasCoches;
CREATE VIEW ConFacLibres AS SELECT FacturasLibres.Id_Cli, FacturasLibres.Fecha, FacturasLibres.Total, 'Libr' AS tipo FROM FacturasLibres;
CREATE VIEW ConFacOdt AS SELECT ODTS.Id_Cli, FacturasODT.Fecha, FacturasODT.Importe, 'Odt' AS tipo FROM ODTS INNER JOIN FacturasODT ON ODTS.NFactura = FacturasODT.NFactura;
CREATE VIEW ConUnion AS select * from ConFacAlb union select * from ConFacCoches union select * from ConFacLibres UNION select * from ConFacOdt;
