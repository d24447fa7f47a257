#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

#include "core/dialogs.h"
#include "core/session.h"

namespace torvane {

class DatosEmpresa;
class Inicial2;
class Menu;

// The start-up form: finds the database through "ruta.fpl", and switches the session to
// another database from the open/create dialog or the main menu.
class Inicial : public QObject {
    Q_OBJECT
  public:
    // Where an open or create was asked from.
    enum class From { Dialog, MainMenu };
    enum class Outcome { Ignored, Opened, Created, Failed, Quit };

    // quit ends the program; tests pass their own to see that it happened.
    Inicial(Session& session, Dialogs& dialogs, Menu& mainWindow, std::function<void()> quit,
            QObject* parent = nullptr);
    ~Inicial() override;

    void StartUp();
    Outcome OpenDatabase(From from);
    Outcome CreateDatabase(From from);

    // The open/create dialog and the company screen while they are open.
    Inicial2* dialog() const;
    DatosEmpresa* companyScreen() const;

  private:
    // What OpenDatabase and CreateDatabase put back when a switch fails half way.
    struct Previous {
        QString databasePath;
        bool hadDatabase = false;
        std::optional<QByteArray> ruta;
    };
    Previous remember() const;
    void restore(const Previous& previous);
    // Writes ruta.fpl and opens file in the session; on failure says why and puts back
    // what was there.
    bool switchTo(const QString& file, const Previous& previous);

    void loadSeries();
    void showDialog();
    void closeDialog();
    void showMainWindow();
    void openCompanyScreen(QWidget* caller);
    bool makeDatabaseFile(const QString& target, QString* reason) const;
    // An older Jet file: offers to import it into a new file and opens that one.
    Outcome offerImport(const QString& file, const QString& reason, From from);
    // Switches to a file known to be readable: format check, saved queries, company name.
    Outcome openChosen(const QString& file, From from);
    bool isOpenDatabase(const QString& path) const;

    Session& session_;
    Dialogs& dialogs_;
    Menu& menu_;
    std::function<void()> quit_;
    QPointer<Inicial2> dialog_;
    QPointer<DatosEmpresa> company_;
};

}  // namespace torvane
