#include "verifactu/send_monitor.h"

#include <sqlite3.h>
#include <QScopeGuard>

#include "core/dialogs.h"
#include "core/session.h"
#include "data/database.h"
#include "verifactu/settings.h"

namespace torvane::verifactu {

QString pendingText(int pending) {
    return QStringLiteral("Registros pendientes de envío: %1").arg(pending);
}

SendMonitor::SendMonitor(Session& session, Dialogs& dialogs, QObject* parent)
    : QObject(parent),
      session_(session),
      dialogs_(dialogs),
      endpoint_(QString::fromUtf8(kAgencyEndpoint)),
      transport_(httpsTransport()) {
    timer_.setObjectName(QStringLiteral("TimerRegistros"));
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    // Another file: its own count once it is open, and its certificate's password asked
    // while the user has just chosen it; its records wait for the next round.
    connect(
        &session_, &Session::databasePathChanged, this,
        [this] {
            refresh();
            askPassword();
        },
        Qt::QueuedConnection);
}

SendMonitor::~SendMonitor() = default;

void SendMonitor::start(int intervalMs) {
    timer_.start(intervalMs);
    // The count as soon as the program is up (the start-up opens the file after this), and
    // the password asked then, before the user starts typing elsewhere.
    QTimer::singleShot(0, this, [this] {
        refresh();
        askPassword();
    });
}

void SendMonitor::askPassword(bool again) {
    if (busy_) return;
    refresh();
    if (text_.isEmpty() || session_.databaseSharedWithOther()) return;
    Settings s;
    try {
        s = loadSettings(session_.db());
    } catch (const DbError&) {
        return;
    }
    if (s.certificate.isEmpty()) return;
    forgetOtherCertificate(s.certificate);
    if (password_ || (declined_ && !again)) return;
    obtainPassword(s.certificate);
    announce();
}

void SendMonitor::forgetOtherCertificate(const QString& certificate) {
    // A password, or its refusal, belongs to the certificate it was asked for.
    if (passwordFor_ == certificate) return;
    password_.reset();
    declined_ = false;
}

bool SendMonitor::obtainPassword(const QString& certificate) {
    const std::optional<QString> typed =
        dialogs_.inputPassword(QString::fromUtf8(kAskPassword), QString::fromUtf8(kSendingTitle));
    passwordFor_ = certificate;
    declined_ = !typed;
    if (!typed) {
        tip_ = QString::fromUtf8(kPasswordMissing);
        return false;
    }
    password_ = *typed;
    tip_.clear();
    return true;
}

void SendMonitor::tick(const QDateTime& now) {
    round(now, false);
}

void SendMonitor::sendNow(const QDateTime& now) {
    round(now, true);
}

void SendMonitor::round(const QDateTime& now, bool byUser) {
    // The sending waits for the agency in a local event loop: a round due meanwhile is skipped.
    if (busy_) return;
    busy_ = true;
    // The count shown afterwards, whatever the round did.
    const auto done = qScopeGuard([this] {
        busy_ = false;
        sending_ = nullptr;
        refresh();
    });
    if (!session_.hasDatabase()) {
        if (byUser) tell(QString::fromUtf8(kOnlyInVerifactuMode), false);
        return;
    }
    const QString path = session_.databasePath();
    if (!scheduler_ || schedulerPath_ != path) {
        scheduler_ = std::make_unique<SendScheduler>(
            [this] { return config(); }, [this](const SendOutcome& out) { report(out); },
            transport_);
        schedulerPath_ = path;
    }
    try {
        // Whether it is due is read on the program's connection; the send has its own.
        const Tick due = scheduler_->due(session_.db(), now, byUser);
        if (due == Tick::Off) {
            if (byUser) tell(QString::fromUtf8(kOnlyInVerifactuMode), false);
            return;
        }
        if (session_.databaseSharedWithOther()) {
            tip_ = QString::fromUtf8(kSentByOther);
            if (byUser) tell(tip_, false);
            return;
        }
        // A round that comes while the program is in the middle of saving (a message shown
        // inside a transaction) waits: its own connection could not write the agency's answer.
        if (sqlite3* h = session_.db().rawHandle(); h && sqlite3_get_autocommit(h) == 0) return;
        // The rounds never ask for the password: a box appearing while the user types
        // elsewhere would take the keystrokes.
        if (due == Tick::Sent && !byUser &&
            (!password_ || loadSettings(session_.db()).certificate != passwordFor_)) {
            tip_ = QString::fromUtf8(kPasswordMissing);
        } else if (due == Tick::Sent) {
            Database db;
            QString reason;
            if (!db.open(path, &reason)) {
                tip_ = QStringLiteral(
                           "No se ha podido abrir la base de datos para enviar los registros: "
                           "%1")
                           .arg(reason);
                if (byUser) tell(tip_, true);
                return;
            }
            sending_ = &db;
            byUser_ = byUser;
            scheduler_->tick(db, now, byUser);
            sending_ = nullptr;
        } else if (byUser && due == Tick::NothingPending) {
            tell(QStringLiteral("No hay registros pendientes de envío."), false);
        } else if (byUser && due == Tick::AgencyPause) {
            tell(QStringLiteral("La Agencia Tributaria ha pedido esperar hasta las %1 antes del "
                                "próximo envío.")
                     .arg(scheduler_->notBefore().toString(QStringLiteral("HH:mm:ss"))),
                 false);
        }
    } catch (const DbError& e) {
        tip_ = e.message();
        if (byUser) tell(tip_, true);
    }
}

std::optional<SendConfig> SendMonitor::config() {
    const bool byUser = byUser_;
    const Settings s = loadSettings(*sending_);
    if (s.certificate.isEmpty()) {
        tip_ = QString::fromUtf8(kNoCertificate);
        if (byUser) tell(tip_, true);
        return std::nullopt;
    }
    forgetOtherCertificate(s.certificate);
    if (!password_ && (!byUser || !obtainPassword(s.certificate))) {
        tip_ = QString::fromUtf8(kPasswordMissing);
        return std::nullopt;
    }
    SendConfig c;
    c.endpoint = endpoint_;
    c.certificatePath = s.certificate;
    c.password = *password_;
    c.trustedAuthorities = authorities_;
    return c;
}

void SendMonitor::report(const SendOutcome& out) {
    const bool byUser = byUser_;
    // The records' states changed even when the count reads the same again: tell it.
    shown_.reset();
    tip_ = out.reached ? QString() : out.problem;
    if (out.unusableConfig) {
        // A wrong password is not tried again every round: the user sends by hand.
        password_.reset();
        declined_ = true;
        tell(out.problem, true);
        return;
    }
    // What the agency refused is told at once; a network failure only in the status bar.
    if (byUser || !out.rejectedRecords.empty() || !out.warnings.empty())
        tell(out.messages().join(QLatin1Char('\n')), !out.rejectedRecords.empty() || !out.reached);
}

void SendMonitor::refresh() {
    QString text;
    try {
        if (session_.hasDatabase() && loadSettings(session_.db()).sentToAgency())
            text = pendingText(pendingCount(session_.db()));
    } catch (const DbError& e) {
        tip_ = e.message();
    }
    if (text.isEmpty()) tip_.clear();
    text_ = text;
    announce();
}

void SendMonitor::announce() {
    // Only a change (or an answer, see report) is told: the settings screen lists the records
    // again on each one.
    if (shown_ && shown_->first == text_ && shown_->second == tip_) return;
    shown_ = {text_, tip_};
    Q_EMIT statusChanged(text_, tip_);
}

void SendMonitor::tell(const QString& text, bool asWarning) {
    if (asWarning)
        dialogs_.exclamation(text, QString::fromUtf8(kSendingTitle));
    else
        dialogs_.information(text, QString::fromUtf8(kSendingTitle));
}

}  // namespace torvane::verifactu
