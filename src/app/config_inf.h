#pragma once

#include <QDate>
#include <QStringList>
#include <QWidget>

class QLineEdit;

namespace torvane {

class Dialogs;
class Services;
class Session;

// The numbering series editor: one field per series, saved as a whole into the session
// and "conf.fpl".
class ConfigInf : public QWidget {
    Q_OBJECT
  public:
    ConfigInf(Session& session, Services& services, QWidget* parent = nullptr);

    // CmdGuardar: every field into its series and "conf.fpl" rewritten. Nothing is
    // validated; series whose prefix would end in a digit are saved with a warning.
    bool save();

  private:
    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    QList<QLineEdit*> fields_;  // in series order
};

// Series whose numbers continue from a stored one but whose prefix, on `date`, ends in a
// digit (their counter then starts at 1 every time), as "ODT (ODT08)".
QStringList seriesWithDigitEndingPrefix(const QStringList& series, const QDate& date);

}  // namespace torvane
