#pragma once

namespace torvane {

class Menu;
class Session;
class Dialogs;

// Registers every screen and printing routine that exists with the main
// window's action table, so their menu items and toolbar buttons open them.
// Items whose screens are not written yet stay disabled.
void wireScreens(Menu& menu, Session& session, Dialogs& dialogs);

}  // namespace torvane
