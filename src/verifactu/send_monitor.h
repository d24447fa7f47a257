#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>
#include <utility>

#include "verifactu/send_client.h"

namespace torvane {
class Dialogs;
class Session;
}  // namespace torvane

namespace torvane::verifactu {

// The agency's registration service.
inline constexpr const char* kAgencyEndpoint =
    "https://www1.agenciatributaria.gob.es/wlpl/TIKE-CONT/ws/SistemaFacturacion/VerifactuSOAP";

inline constexpr const char* kAskPassword =
    "Para enviar los registros de facturación a la Agencia Tributaria, escriba la contraseña "
    "del certificado de la empresa:";
inline constexpr const char* kSendingTitle = "Registros de facturación";
inline constexpr const char* kPasswordMissing =
    "Falta la contraseña del certificado: pulse \"Enviar ahora\" en Configuración > Registros "
    "de facturación.";
inline constexpr const char* kSentByOther =
    "Los registros los envía el otro programa que tiene abierta esta base de datos.";
inline constexpr const char* kOnlyInVerifactuMode =
    "Los registros solo se envían a la Agencia Tributaria en modo VERI*FACTU.";
// "Registros pendientes de envío: N"
QString pendingText(int pending);

// Sends the records of the open database in the background of the desktop program and keeps
// the count the status bar shows. The certificate's password is asked once (see askPassword)
// and kept in memory for this run only; refused or wrong, it is not asked again until the
// user sends by hand or saves the settings. Each send opens its own connection and closes it, so
// opening another file while the agency is slow to answer cannot pull the database from under
// it. Only the first program that opened a file sends its records: two would send each record
// twice.
class SendMonitor : public QObject {
    Q_OBJECT
  public:
    SendMonitor(Session& session, Dialogs& dialogs, QObject* parent = nullptr);
    ~SendMonitor() override;

    // The service and extra trusted authorities (PEM): the agency's test environment, tests.
    void setEndpoint(const QString& url) { endpoint_ = url; }
    void setTrustedAuthorities(const QString& pemFile) { authorities_ = pemFile; }

    // A round every `intervalMs` from now on.
    void start(int intervalMs);
    // One round: the count refreshed, and what is pending sent when it is due.
    void tick(const QDateTime& now = QDateTime::currentDateTime());
    // "Enviar ahora": sends what is pending at once, asking for the password again if it was
    // refused before, and tells the outcome.
    void sendNow(const QDateTime& now = QDateTime::currentDateTime());
    // The count read again (after the settings changed), nothing sent.
    void refresh();
    // Asks for the certificate's password when the records are sent and it is not known: at
    // start-up, when another file is opened and when the settings are saved, moments the user
    // chose. The rounds never ask (a box appearing while the user types elsewhere would take
    // the keystrokes); "Enviar ahora" does. `again`: even if it was refused before.
    void askPassword(bool again = false);

    // What the status bar shows; empty while the records are not sent to the agency.
    QString statusText() const { return text_; }
    // Why the last round could not send, when it could not.
    QString statusTip() const { return tip_; }

  Q_SIGNALS:
    void statusChanged(const QString& text, const QString& tip);

  private:
    void round(const QDateTime& now, bool byUser);
    std::optional<SendConfig> config();
    void report(const SendOutcome& out);
    void forgetOtherCertificate(const QString& certificate);
    bool obtainPassword(const QString& certificate);
    void announce();
    void tell(const QString& text, bool asWarning);

    Session& session_;
    Dialogs& dialogs_;
    QTimer timer_;
    QString endpoint_;
    QString authorities_;
    TransportFactory transport_;
    std::unique_ptr<SendScheduler> scheduler_;
    QString schedulerPath_;        // the file the scheduler's waits belong to
    Database* sending_ = nullptr;  // the connection of the send under way
    bool byUser_ = false;          // whether the send under way was asked for
    std::optional<QString> password_;
    QString passwordFor_;  // the certificate the password opens
    bool declined_ = false;
    bool busy_ = false;
    QString text_;
    QString tip_;
    std::optional<std::pair<QString, QString>> shown_;  // what statusChanged told last
};

}  // namespace torvane::verifactu
