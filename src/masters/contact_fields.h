#pragma once

#include <QList>

#include "core/field_binding.h"

namespace torvane {

// The address block of the contact files: street, town, province and postcode.
inline QList<FieldBinding> addressFields() {
    return {{"txtCalle", "Direccion"},
            {"txtLocalidad", "Localidad"},
            {"txtProvincia", "Provincia"},
            {"txtCodPostal", "CP"}};
}

// The address block followed by the telephone, mobile and fax fields.
inline QList<FieldBinding> contactFields(const char* phoneColumn = "Telefono",
                                         const char* mobileColumn = "Movil") {
    return addressFields() + QList<FieldBinding>{{"txtTelefono", phoneColumn},
                                                 {"txtMovil", mobileColumn},
                                                 {"txtFax", "Fax"}};
}

}  // namespace torvane
