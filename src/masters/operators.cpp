#include "masters/operators.h"

#include "core/record_store.h"
#include "masters/contact_fields.h"

namespace torvane::operators {

namespace {
const QString kOperarios = QStringLiteral("Operarios");
const QString kIdOpe = QStringLiteral("Id_Ope");
const QString kPreciosHora = QStringLiteral("PreciosHora");
const QString kId = QStringLiteral("Id");
const QString kSearchColumns =
    QStringLiteral("SELECT Id_Ope,Codigo,Nombre,Departamento FROM Operarios ");
}  // namespace

const QList<FieldBinding>& operatorFields() {
    static const QList<FieldBinding> fields =
        QList<FieldBinding>{
            {"TxtCodigo", "Codigo"},
            {"txtNombre", "Nombre"},
            {"txtSSocial", "SS"},
            {"TxtNif", "NIF"},
        } +
        addressFields() +
        QList<FieldBinding>{
            {"txtTelefono1", "Telefono1"},
            {"txtTelefono2", "Telefono2"},
            {"txtMovil", "Movil"},
            {"txtFechaNac", "Fecha_Nac", true},
            {"TxtFechaAlta", "Fecha_Alta", true},
            {"ComboDepartamento", "Departamento"},
            {"txtCategoria", "Categoria"},
            {"TxtCoste", "PrecioHora"},
            {"txtObservaciones", "Notas"},
        };
    return fields;
}

const QStringList& operatorAmounts() {
    static const QStringList amounts = {QStringLiteral("PrecioHora")};
    return amounts;
}

const QStringList& departmentChoices() {
    static const QStringList choices = {QStringLiteral("CHAPA"), QStringLiteral("ELECTRICIDAD"),
                                        QStringLiteral("MECANICA"), QStringLiteral("OTRO")};
    return choices;
}

QString proposeOperatorCode(Database& db) {
    return nextNumericCode(db, kOperarios, QStringLiteral("Codigo"), kIdOpe);
}

QString checkOperator(const Row& values) {
    const QString missing = missingFields(values,
                                          {QStringLiteral("Nombre"), QStringLiteral("Codigo"),
                                           QStringLiteral("NIF"), QStringLiteral("Telefono1")},
                                          QString::fromUtf8(kMandatoryOperatorFields));
    return missing.isEmpty() ? unreadableValue(values, operatorFields(), operatorAmounts())
                             : missing;
}

qint64 saveOperator(Database& db, const QVariant& id, const Row& values) {
    return writeRecord(db, kOperarios, kIdOpe, id, operatorFields(), values, operatorAmounts());
}

void deleteOperator(Database& db, qint64 id) {
    db.exec(QStringLiteral("DELETE FROM Operarios WHERE Id_Ope = ?"), {id});
}

SqlStatement operatorKeys() {
    return {QStringLiteral("SELECT Id_Ope FROM Operarios ORDER BY Id_Ope"), {}};
}

SqlStatement labourOf(const QString& operatorCode) {
    return {QStringLiteral("SELECT * FROM TrabajosRealizadosODT WHERE NOperario = ? ORDER BY Id"),
            {operatorCode}};
}

const QList<GridColumn>& labourColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("NODT"), QStringLiteral("ODT"), ColumnKind::Text, 110},
        {QStringLiteral("NOperario"), QStringLiteral("Operario"), ColumnKind::Text, 70},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date, 90},
        {QStringLiteral("TReal"), QStringLiteral("T. real"), ColumnKind::Number, 70},
        {QStringLiteral("TFacturado"), QStringLiteral("T. facturado"), ColumnKind::Number, 80},
        {QStringLiteral("Precio"), QStringLiteral("Precio"), ColumnKind::Money, 80},
        {QStringLiteral("Dto"), QStringLiteral("Dto"), ColumnKind::Number, 50},
    };
    return columns;
}

SqlStatement operatorSearchInitial() {
    return {kSearchColumns + QStringLiteral("ORDER BY Codigo"), {}};
}

SqlStatement operatorSearch(int option, const QString& typed) {
    switch (option) {
        case 1:
            return {kSearchColumns + QStringLiteral("WHERE Nombre LIKE ? ORDER BY Nombre"),
                    {likePrefix(typed)}};
        case 2:
            return {kSearchColumns + QStringLiteral("WHERE Nombre LIKE ? ORDER BY Nombre"),
                    {likeWordInside(typed)}};
        case 3:
            return {kSearchColumns +
                        QStringLiteral("WHERE Departamento LIKE ? ORDER BY Departamento, Codigo"),
                    {likePrefix(typed)}};
        default:
            break;
    }
    return {kSearchColumns + QStringLiteral("WHERE Codigo LIKE ? ORDER BY Codigo"),
            {likePrefix(typed)}};
}

const QList<GridColumn>& operatorSearchColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id_Ope"), {}, ColumnKind::Hidden},
        {QStringLiteral("Codigo"), QStringLiteral("Código"), ColumnKind::Text, 80},
        {QStringLiteral("Nombre"), QStringLiteral("Nombre")},
        {QStringLiteral("Departamento"), QStringLiteral("Departamento"), ColumnKind::Text, 120},
    };
    return columns;
}

// ---- Departments ----

const QList<FieldBinding>& departmentFields() {
    static const QList<FieldBinding> fields = {{"txtDepartamento", "Departamento"},
                                               {"TxtPrecio", "Precio"}};
    return fields;
}

namespace {
const QStringList& departmentAmounts() {
    static const QStringList amounts = {QStringLiteral("Precio")};
    return amounts;
}
}  // namespace

SqlStatement departmentKeys() {
    return {QStringLiteral("SELECT Id FROM PreciosHora ORDER BY Id"), {}};
}

SqlStatement departmentList() {
    return {QStringLiteral("SELECT Id, Departamento, Precio FROM PreciosHora ORDER BY Id"), {}};
}

const QList<GridColumn>& departmentColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("Departamento"), QStringLiteral("Departamento")},
        {QStringLiteral("Precio"), QStringLiteral("Precio"), ColumnKind::Money, 100},
    };
    return columns;
}

QString checkDepartment(const Row& values) {
    return unreadableValue(values, departmentFields(), departmentAmounts());
}

qint64 saveDepartment(Database& db, const QVariant& id, const Row& values) {
    return writeRecord(db, kPreciosHora, kId, id, departmentFields(), values, departmentAmounts());
}

void deleteDepartment(Database& db, qint64 id) {
    db.exec(QStringLiteral("DELETE FROM PreciosHora WHERE Id = ?"), {id});
}

}  // namespace torvane::operators
