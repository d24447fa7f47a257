#include "app/menu_actions.h"

namespace torvane {

namespace {

using K = ItemKind;

// An item that needs nothing but its kind.
MenuItemDef plain(const char* name, const char* path, ItemKind kind) {
    return {QString::fromUtf8(name), QString::fromUtf8(path), kind, {}, {}, {}};
}
MenuItemDef sub(const char* name, const char* path) {
    return plain(name, path, K::Submenu);
}
MenuItemDef sep(const char* name, const char* path) {
    return plain(name, path, K::Separator);
}
MenuItemDef screen(const char* name, const char* path, const char* target, const char* origin = "",
                   const char* detail = "") {
    return {QString::fromUtf8(name),   QString::fromUtf8(path),   K::Screen,
            QString::fromUtf8(target), QString::fromUtf8(origin), QString::fromUtf8(detail)};
}
MenuItemDef fechas(const char* name, const char* path, const char* key) {
    return screen(name, path, "Fechas", key);
}
MenuItemDef listing(const char* name, const char* path, const char* file, const char* slotCount) {
    return {QString::fromUtf8(name),      QString::fromUtf8(path), K::Command,
            QStringLiteral("VerListado"), QString::fromUtf8(file), QString::fromUtf8(slotCount)};
}
MenuItemDef builtin(const char* name, const char* path) {
    return plain(name, path, K::Builtin);
}
MenuItemDef none(const char* name, const char* path) {
    return plain(name, path, K::NoAction);
}

std::vector<MenuItemDef> buildTable() {
    // clang-format off
    return {
        sub("mArchivo", "Archivo"),
        builtin("mNuevo", "Archivo > Nuevo"),
        builtin("mAbrir", "Archivo > Abrir"),
        sep("mGuion1", "Archivo > -"),
        builtin("mSalir", "Archivo > Salir"),

        sub("mOpciones", "Opciones"),
        // Opens DatosEmpresa; connected by the start-up code, which owns that screen's flow.
        plain("mDatosTaller", "Opciones > Datos Taller", K::Wired),
        screen("mDepartamentos", "Opciones > Departamentos", "Departamentos"),

        sub("mListados", "Listados"),
        sub("mClientes", "Listados > Clientes"),
        listing("mClientesSimple", "Listados > Clientes > Simple", "\\QARVOCLIENTES2.rpt", "2"),
        listing("mClientesCompleto", "Listados > Clientes > Completo", "\\QARVOCLIENTES.rpt", "3"),
        sub("mImporte", "Listados > Clientes > Por importe"),
        fechas("mH3000", "Listados > Clientes > Por importe > Hasta 3000 €", "QARVOCLIENTESIMPMEN.rpt"),
        fechas("mM3000", "Listados > Clientes > Por importe > Mas de 3000 €", "QARVOCLIENTESIMPMAS.rpt"),
        fechas("mImpTodos", "Listados > Clientes > Por importe > Todos", "QARVOCLIENTESIMPORTE.rpt"),
        sub("mProveedores", "Listados > Proveedores"),
        listing("mProvSimple", "Listados > Proveedores > Simple", "\\QARVOLPRO.rpt", "1"),
        listing("mProvCom", "Listados > Proveedores > Completo", "\\QARVOLPRO2.rpt", "1"),
        sub("mProvImp", "Listados > Proveedores > Por importe"),
        fechas("mProvHasta", "Listados > Proveedores > Por importe > Hasta 3000 €", "QARVOLPROIMPMEN.rpt"),
        fechas("mProvMas", "Listados > Proveedores > Por importe > Mas de 3000 €", "QARVOLPROIMPMAS.rpt"),
        fechas("mProvTodos", "Listados > Proveedores > Por importe > Todos", "QARVOLPROIMPORTE.rpt"),
        sub("mVehiculos", "Listados > Vehículos"),
        screen("mVehCli", "Listados > Vehículos > Por cliente", "BusquedaClientes", "ListVeh"),
        // Asks for the make first; the formula gets the answer in place of %1.
        {QStringLiteral("mVehMarca"), QStringLiteral("Listados > Vehículos > Por marca"), K::Command,
         QStringLiteral("ImprimirInformeSimple"), QStringLiteral("{Vehiculos.Marca}='%1'"),
         QStringLiteral("\\QARVOVEHICULOS.rpt")},
        listing("mVehTodos", "Listados > Vehículos > Todos", "\\QARVOVEHICULOS.rpt", "3"),
        sub("mVehITV", "Listados > Vehículos > ITV del mes"),
        {QStringLiteral("mVehITVListado"), QStringLiteral("Listados > Vehículos > ITV del mes > Listado"), K::Command,
         QStringLiteral("ListadoITV"), {}, {}},
        {QStringLiteral("mVehITVEtiquetas"), QStringLiteral("Listados > Vehículos > ITV del mes > Etiquetas"), K::Command,
         QStringLiteral("ListadoITV"), QStringLiteral("Etiquetas"), {}},
        sub("mArticulos", "Listados > Artículos"),
        listing("mArticulosCompleto", "Listados > Artículos > Completo", "\\QARVOARTICULOS.rpt", "2"),
        listing("mArticulosPrecios", "Listados > Artículos > Precios", "\\QARVOARTICULOS2.rpt", "2"),
        screen("mPorproveedor", "Listados > Artículos > Por proveedor", "BusquedaProveedores", "Informe"),
        sub("mFacturasemitidas", "Listados > Facturas emitidas"),
        sub("mReparaciones", "Listados > Facturas emitidas > Reparaciones"),
        fechas("mReparacionesfechatotales", "Listados > Facturas emitidas > Reparaciones > Por fecha con totales", "QARVOLFAC.rpt"),
        fechas("mReparacionesfechaclientes", "Listados > Facturas emitidas > Reparaciones > Por fecha con clientes", "QARVOLFACCC.rpt"),
        screen("mReparacionescliente", "Listados > Facturas emitidas > Reparaciones > De un cliente", "BusquedaClientes", "Listados", "qarvolfac2.rpt"),
        fechas("mReparacionesporcliente", "Listados > Facturas emitidas > Reparaciones > Agrupadas por cliente", "QARVOLFAC22.rpt"),
        fechas("reppendcobro", "Listados > Facturas emitidas > Reparaciones > Pendientes de cobro", "QARVOLFACpend.rpt"),
        sub("mRrecambios", "Listados > Facturas emitidas > Recambios"),
        fechas("mRecambiosporfecha", "Listados > Facturas emitidas > Recambios > Por fecha con totales", "qarvolfacven3.rpt"),
        fechas("Mfeccli", "Listados > Facturas emitidas > Recambios > Por fecha con clientes", "qarvolfacven3.rpt"),
        screen("mRecambiosdecliente", "Listados > Facturas emitidas > Recambios > De un cliente", "BusquedaClientes", "Listados", "qarvolfacven2.rpt"),
        fechas("mRecambiosagrupadascliente", "Listados > Facturas emitidas > Recambios > Agrupadas por cliente", "qarvolfacven22.rpt"),
        sub("mGruas", "Listados > Facturas emitidas > Gruas"),
        fechas("mGruasporfecha", "Listados > Facturas emitidas > Gruas > Por la fecha", "qarvolgrua.rpt"),
        screen("mGruasporcompañia", "Listados > Facturas emitidas > Gruas > Por compañía", "BusquedaAseguradoras", "informes", "qarvolgrua2.rpt"),
        sub("mComisiones", "Listados > Facturas emitidas > Comisiones"),
        fechas("mComisionesporfecha", "Listados > Facturas emitidas > Comisiones > Por fecha", "qarvolfaccomi.rpt"),
        sub("mCompras", "Listados > Compras"),
        fechas("mComprasgeneral", "Listados > Compras > General", "Comprasgeneral"),
        fechas("mtotgen", "Listados > Compras > Total General", "Comprasgeneraltot"),
        fechas("mComprasporproveedor", "Listados > Compras > Por proveedor", "ComprasProv"),
        sub("mOdts", "Listados > ODTS"),
        fechas("mBenef", "Listados > ODTS > Beneficios ODT", "qarvolbenodt.rpt"),
        fechas("mOdts2", "Listados > ODTS > ODTS", "qarvolodt.rpt"),
        screen("mEtiquetas", "Listados > Etiquetas", "Etiquetas"),

        // A menu-bar entry with an action of its own: the vehicle search as a browser
        // (the factory sees the action name "mVehiculo" and disables CmdSeleccionar).
        screen("mVehiculo", "Vehículos", "BusquedaVehiculos"),

        sub("mSeguridad", "Base de Datos"),
        builtin("mCopiaSeguridad", "Base de Datos > Crear copia de seguridad"),
        none("mRestaurarCopia", "Base de Datos > Restaurar copia de seguridad"),
        builtin("mCompactar", "Base de Datos > Compactar y reparar BD"),

        sub("mConfiguracion", "Configuración"),
        screen("mConfFact", "Configuración > Numeraciones", "ConfigInf"),
        screen("mConfRegistros", "Configuración > Registros de facturación", "ConfigFacturacion"),

        none("mAyuda", "Ayuda"),

        builtin("btnNuevo", "Toolbar1 > Nuevo"),
        builtin("btnAbrir", "Toolbar1 > Abrir"),
        screen("btnClientes", "Toolbar1 > Clientes", "Clientes"),
        screen("btnProveedores", "Toolbar1 > Proveedores", "Proveedores"),
        screen("btnOperarios", "Toolbar1 > Operarios", "Operarios"),
        screen("btnAlmacen", "Toolbar1 > Almacen", "Almacen"),
        screen("btnFamilias", "Toolbar1 > Familias", "Familias"),
        screen("btnArticulos", "Toolbar1 > Artículos", "Articulos"),
        screen("btnCobros", "Toolbar1 > G. Cobros", "GestorCobros"),
        screen("btnOrdTrabajo", "Toolbar1 > Ord. Trabajo", "BusquedaVehiculos"),
        screen("btnListOdt", "Toolbar1 > List. ODT", "ListOdt"),
        screen("btnVRecambios", "Toolbar1 > V. Recambios", "BusquedaClientes", "Venta Recambios"),
        screen("btnLVRecambios", "Toolbar1 > L.V. Recambios", "LVRecambios"),
        screen("btnCompras", "Toolbar1 > Compras", "BusquedaProveedores", "Compras"),
        screen("btnLCompras", "Toolbar1 > L. Compras", "ListCompras"),
        screen("btnFacturasLibres", "Toolbar1 > Facturas Libres", "BusquedaClientes", "Facturas Libres"),
        screen("btnLFacLibres", "Toolbar1 > L. Fac. Libres", "ListFacLibres"),
        screen("btnAseguradoras", "Toolbar1 > Aseguradoras", "frmAseguradoras"),
        sub("btnPartesGrua", "Toolbar1 > Partes Grúa"),
        // The tow-report factory proposes the report number of series PG for this item.
        screen("btnNuevoParte", "Toolbar1 > Partes Grúa > Nuevo Parte", "PartesGrua", "", "Nuevo Parte"),
        screen("btnGestorPartes", "Toolbar1 > Partes Grúa > Gestor de Partes", "GestorPartes"),
        screen("btnRecibos", "Toolbar1 > Recibos Bancarios", "BusquedaClientes", "Recibos"),
        screen("btnListaRecibos", "Toolbar1 > Lista de Recibos", "ListadoRecibos"),
        screen("btnFacturasComisiones", "Toolbar1 > Facturas Comisiones", "BusquedaClientes", "Comisiones"),
        screen("btnLFComisiones", "Toolbar1 > L. F. Comisiones", "ListComisiones"),
        none("btnVentaVehiculos", "Toolbar1 > Venta de Vehículos"),
        none("btnVehicEnVenta", "Toolbar1 > Venta de Vehículos > Vehic. en Venta"),
        none("btnVentaVehiculo", "Toolbar1 > Venta de Vehículos > Venta de Vehículo"),
        none("btnLVVehiculos", "Toolbar1 > Venta de Vehículos > L.V. Vehiculos"),
        sub("btnOtros", "Toolbar1 > Otros"),
        builtin("btnCalculadora", "Toolbar1 > Otros > Calculadora"),
        builtin("btnAutodata", "Toolbar1 > Otros > Autodata"),
        builtin("btnGuiaTasacciones", "Toolbar1 > Otros > Guia Tasacciones"),
        builtin("btnInternet", "Toolbar1 > Otros > Internet"),
        builtin("btnSalir", "Toolbar1 > Salir"),
    };
    // clang-format on
}

}  // namespace

const std::vector<MenuItemDef>& menuItems() {
    static const std::vector<MenuItemDef> table = buildTable();
    return table;
}

QString captionOf(const MenuItemDef& item) {
    const int at = item.path.lastIndexOf(kPathSeparator);
    return at < 0 ? item.path : item.path.mid(at + kPathSeparator.size());
}

QString parentPath(const MenuItemDef& item) {
    const int at = item.path.lastIndexOf(kPathSeparator);
    return at < 0 ? QString() : item.path.left(at);
}

}  // namespace torvane
