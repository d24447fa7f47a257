#pragma once

namespace torvane {

class Menu;
class Session;
class Services;

// Registers every screen and printing routine that exists with the main
// window's action table, so their menu items and toolbar buttons open them,
// and every hand-off between screens in the registries of services. Items
// whose screens are not written yet stay disabled.
void wireScreens(Menu& menu, Session& session, Services& services);

}  // namespace torvane
