#pragma once

#include <QHash>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/menu_actions.h"
#include "core/maintenance.h"
#include "core/services.h"
#include "core/session.h"

class QToolBar;

namespace torvane {

// What a menu item hands to the screen or command it starts.
struct MenuRequest {
    QString action;  // objectName of the item chosen
    QString origin;  // origin, mode or report key
    QString detail;  // second text of the item (see MenuItemDef)
};
// Builds the screen; the main window then opens it with itself as caller.
// Returning nullptr means the factory dealt with it.
using ScreenFactory = std::function<QWidget*(const MenuRequest&)>;
using CommandHandler = std::function<void(const MenuRequest&)>;

// The main window ("Menu"): the hub from which every screen is opened. Its
// status-bar panel 1 and company label are views of the Session.
class Menu : public QMainWindow {
    Q_OBJECT
  public:
    Menu(Session& session, Services& services, QWidget* parent = nullptr);
    ~Menu() override;

    QLabel* panel(int index) const;  // status-bar panels 1..4
    QLabel* companyLabel() const { return lblNombre_; }
    QToolBar* toolbar() const { return toolbar_; }
    // What the screens opened from here are given.
    Services& services() const { return services_; }
    // The menu item or toolbar button of that objectName.
    QAction* item(const QString& objectName) const;

    // Every item that opens this screen becomes enabled and opens it.
    void registerScreen(const QString& screenName, ScreenFactory factory);
    // Every item that runs this command (a printing routine) becomes enabled.
    void registerCommand(const QString& commandName, CommandHandler handler);
    // One item gets its own action, replacing what the table says.
    void registerAction(const QString& objectName, std::function<void()> action);

    // The window's own size, not the width of every toolbar button side by side.
    QSize sizeHint() const override { return preferredSize_; }

    // Database maintenance, also reachable from the menu.
    void backup();
    void compact();

    // Seams for tests.
    void setCompactionOptions(const CompactionOptions& options) { compaction_ = options; }
    // What ends the program after the exit question.
    void setQuitHandler(std::function<void()> quit) { quit_ = std::move(quit); }

  Q_SIGNALS:
    // Database switching is run by the start-up flow, which owns the dialogs.
    void newDatabaseRequested();
    void openDatabaseRequested();

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void wire(QAction* action, const MenuItemDef& def);
    void run(const MenuItemDef& def);
    void runBuiltin(const QString& name);
    void refreshEnabled();
    void placeCompanyLabel();
    void tick();

    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    QLabel* lblNombre_ = nullptr;
    QList<QLabel*> panels_;
    QToolBar* toolbar_ = nullptr;
    QTimer* timer1_ = nullptr;
    QHash<QString, QAction*> items_;
    QHash<QString, ScreenFactory> screens_;
    QHash<QString, CommandHandler> commands_;
    QHash<QString, std::function<void()>> overrides_;
    CompactionOptions compaction_;
    std::function<void()> quit_;
    bool exiting_ = false;
    QSize preferredSize_{1280, 800};
};

}  // namespace torvane
