#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include "core/dialogs.h"
#include "core/session.h"

namespace torvane {

// The main window ("Menu"): the hub from which every screen is opened. Its
// status-bar panel 1 and company label are views of the Session.
class Menu : public QMainWindow {
    Q_OBJECT
public:
    Menu(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);

    QLabel* panel(int index) const;  // status-bar panels 1..4
    QLabel* companyLabel() const { return lblNombre_; }

Q_SIGNALS:
    // Database switching is run by the start-up flow, which owns the dialogs.
    void newDatabaseRequested();
    void openDatabaseRequested();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildMenus();
    void placeCompanyLabel();

    Session& session_;
    Dialogs& dialogs_;
    QLabel* lblNombre_ = nullptr;
    QList<QLabel*> panels_;
};

}  // namespace torvane
