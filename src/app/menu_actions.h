#pragma once

#include <QString>
#include <vector>

namespace torvane {

// What a main-window item does when chosen.
enum class ItemKind {
    Submenu,  // holds the entries whose path continues it
    Separator,
    Screen,    // opens `target` with the main window as caller (enabled once registered)
    Command,   // runs the command `target` (a printing routine; enabled once registered)
    Builtin,   // handled by the main window itself
    Wired,     // connected by the start-up code (company data)
    NoAction,  // enabled and does nothing
};

// One row of the table from menu item or toolbar button to what it opens.
struct MenuItemDef {
    QString objectName;
    // Captions from the menu bar down, joined by " > "; toolbar buttons start
    // with "Toolbar1", their drop-down items continue the button's path.
    QString path;
    ItemKind kind;
    QString target;  // screen class or command name
    QString origin;  // origin, mode or report key handed to the screen
    QString detail;  // second text: the report key after a search, a listing's slot count
};

// Every menu-bar entry, toolbar button and drop-down item, in display order.
const std::vector<MenuItemDef>& menuItems();

// The last caption of a path.
QString captionOf(const MenuItemDef& item);
// The path of the entry that holds this one (empty for menu-bar entries).
QString parentPath(const MenuItemDef& item);

inline const QString kToolbarRoot = QStringLiteral("Toolbar1");
inline const QString kPathSeparator = QStringLiteral(" > ");

}  // namespace torvane
