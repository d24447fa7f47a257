#pragma once

namespace torvane {

class Services;
class Session;

// The customer search in mode "Listados" and the insurer search in mode
// "informes" hand the chosen id to the date-range screen, with the listing key
// the menu item gave them.
void registerListingOrigins(Session& session, Services& services);

}  // namespace torvane
