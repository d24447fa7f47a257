#pragma once

#include <QPointer>
#include <memory>

#include "core/services.h"
#include "core/session.h"

namespace torvane {

class Clientes;

// The customer file the app opened last; shared by the menu's factory and the
// default origin handler so that a choice reaches a file that is already open.
using OpenCustomerFile = std::shared_ptr<QPointer<Clientes>>;

// Registers what accepting a customer in the search does for the origins the
// customer file serves: "CambioPropietario" (the vehicle changes owner),
// "ListVeh" (the customer's vehicles are printed) and every other origin (the
// customer file moves to the customer, opening it when none is open).
void registerCustomerFileOrigins(Session& session, Services& services, OpenCustomerFile openFile);

}  // namespace torvane
