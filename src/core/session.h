#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

#include "data/database.h"

namespace torvane {

// What the whole program shares while it runs: the program folder, the open
// database, the ten numbering series and the company name. Created in main
// and passed to whatever needs it; the main window's status bar and company
// label are views of it.
class Session : public QObject {
    Q_OBJECT
  public:
    explicit Session(const QString& programFolder, QObject* parent = nullptr);
    ~Session() override;

    QString programFolder() const { return programFolder_; }
    // A file of the program folder ("ruta.fpl", "conf.fpl", "Nueva", ...).
    QString programFile(const QString& name) const;

    QString databasePath() const { return databasePath_; }
    void setDatabasePath(const QString& path);

    // Opens the connection on path. On success DatabasePath becomes path; on
    // failure nothing changes and *reason says why (Spanish, without the path).
    // A read-write open marks the file as open in this program (Database::announce).
    bool openDatabase(const QString& path, QString* reason = nullptr,
                      Database::Mode mode = Database::Mode::ReadWrite);
    // True when another running Torvane had the open database open already.
    bool databaseSharedWithOther() const { return sharedWithOther_; }
    void closeDatabase();
    bool hasDatabase() const;
    Database& db();

    QString companyName() const { return companyName_; }
    void setCompanyName(const QString& name);

    // The ten numbering series in the order AR, AL, A, EN, FV, FL, FR, ODT, REC, PG.
    QStringList series() const { return series_; }
    void setSeries(const QStringList& series) { series_ = series; }

    // Today's date; tests may pin it.
    QDate today() const { return today_.isValid() ? today_ : QDate::currentDate(); }
    void setToday(const QDate& d) { today_ = d; }

  Q_SIGNALS:
    void databasePathChanged(const QString& path);
    void companyNameChanged(const QString& name);

  private:
    QString programFolder_;
    QString databasePath_;
    QString companyName_;
    QStringList series_;
    QDate today_;
    std::unique_ptr<Database> db_;
    bool sharedWithOther_ = false;
};

}  // namespace torvane
