#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "verifactu/send_message.h"

namespace torvane {
class Database;
}

namespace torvane::verifactu {

// Where and how the records are sent.
struct SendConfig {
    QString endpoint;         // the agency's registration service (https)
    QString certificatePath;  // the workshop's certificate, PKCS#12 (.p12/.pfx)
    QString password;
    // Authorities trusted for the server beside the system's own (PEM); empty: the system's.
    QString trustedAuthorities;
    int timeoutMs = 60000;
};

// What reaches the agency and what comes back. Behind an interface so the queue can be
// driven without a network.
struct TransportReply {
    bool reached = false;  // an HTTP answer came back
    int httpStatus = 0;
    QByteArray body;
    QString problem;  // Spanish, when it did not reach or was refused
};

class Transport {
  public:
    virtual ~Transport() = default;
    virtual TransportReply post(const QByteArray& message) = 0;
};

// HTTPS with the workshop's certificate. Waits for the answer in a local event loop.
class HttpsTransport : public Transport {
  public:
    explicit HttpsTransport(SendConfig config);
    // Reads the certificate and the authorities; the Spanish reason when it cannot.
    QString prepare();
    TransportReply post(const QByteArray& message) override;

  private:
    struct Tls;
    SendConfig config_;
    std::shared_ptr<Tls> tls_;
};

// A record the agency did not accept, with its own words.
struct RejectedRecord {
    qint64 id = 0;
    QString numSerie;
    QString codigo;
    QString descripcion;
};

struct SendOutcome {
    int sent = 0;  // records in the message
    int accepted = 0;
    int acceptedWithErrors = 0;
    int rejected = 0;
    int pending = 0;              // left in the queue, to be retried
    bool reached = false;         // the agency answered
    QString problem;              // why it did not reach, in Spanish
    bool unusableConfig = false;  // certificate or address unusable: nothing was tried
    int waitSeconds = 0;          // before the next message, as the agency asks
    std::vector<RejectedRecord> rejectedRecords;
    std::vector<RejectedRecord> warnings;  // accepted with errors
    // What the user reads, one line each.
    QStringList messages() const;
};

// At most this many records go in one message.
inline constexpr int kMaxRecordsPerMessage = 1000;

// The records not yet answered by the agency, in chain order. A rejected record is not
// among them: it waits for the user, it is not sent again blindly.
std::vector<Record> pendingRecords(Database& db);
int pendingCount(Database& db);

// Whom the invoice of an "alta" record is made out to, when the customer (or a tow report's
// insurer) has a tax number the agency takes; nothing otherwise.
std::optional<Recipient> recipientOf(Database& db, const Record& r);

// Sends the pending records (the first kMaxRecordsPerMessage, in order) and writes one row
// of EnviosFacturacion for each record of the attempt.
SendOutcome sendPending(Database& db, Transport& transport,
                        const QDateTime& now = QDateTime::currentDateTime());
// The same over HTTPS with the given configuration.
SendOutcome sendPending(Database& db, const SendConfig& config);

// Waiting after `failures` attempts in a row without an answer: one minute, doubled each
// time, at most an hour.
int retryDelaySeconds(int failures);
// Attempts in a row that got no answer, counted back from the last one.
int failuresInARow(Database& db);
// Whether a retry is due at `now` (something pending and the waiting time passed).
bool retryDue(Database& db, const QDateTime& now);

// What a round of the background sending did.
enum class Tick {
    Sent,            // a message went out (the outcome was reported)
    Off,             // the records are off or only kept (NO VERI*FACTU)
    NothingPending,  // every record has the agency's answer
    AgencyPause,     // the agency asked to wait before the next message
    RetryWait,       // the last attempts got no answer: waiting before the next
    NoConfig,        // the settings or the certificate's password are missing
};

// Makes the transport for a configuration; the Spanish reason when it cannot (certificate
// unreadable, wrong password, address not https).
using TransportFactory =
    std::function<std::unique_ptr<Transport>(const SendConfig& config, QString* problem)>;
// The real one: HTTPS with the workshop's certificate.
TransportFactory httpsTransport();

// The background sending of the desktop program: a timer calls tick() (every minute, say);
// it sends when the records are sent to the agency (VERI*FACTU mode), something is pending,
// the agency's requested wait has passed and the retry wait after failures too. The database
// is passed on each round, so the connection may be a short-lived one of the caller.
class SendScheduler {
  public:
    // `config` gives the sending settings, or nothing while they are incomplete; `report`
    // receives every outcome (for the status bar and the rejected records' messages).
    SendScheduler(std::function<std::optional<SendConfig>()> config,
                  std::function<void(const SendOutcome&)> report,
                  TransportFactory transport = httpsTransport());
    // `byUser`: asked for now ("Enviar ahora"), so the retry wait after failures does not
    // hold it back; the agency's own pause still does.
    Tick tick(Database& db, const QDateTime& now = QDateTime::currentDateTime(),
              bool byUser = false);
    // What tick() would do, without sending or asking for the settings: Tick::Sent when a
    // message is due.
    Tick due(Database& db, const QDateTime& now, bool byUser = false) const;
    // Until when the agency asked to wait (invalid when it did not).
    QDateTime notBefore() const { return notBefore_; }

  private:
    std::function<std::optional<SendConfig>()> config_;
    std::function<void(const SendOutcome&)> report_;
    TransportFactory transport_;
    QDateTime notBefore_;
};

}  // namespace torvane::verifactu
