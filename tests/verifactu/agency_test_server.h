#pragma once

// A local HTTPS server that answers registration messages as the agency's service does:
// it requires a client certificate from the test authority and hands every request body
// to `answer`.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <functional>

namespace torvane::testing {

inline QString verifactuData(const QString& name) {
    const QString source = qEnvironmentVariable("TORVANE_SOURCE");
    const QDir dir = source.isEmpty() ? QFileInfo(QStringLiteral(__FILE__)).dir().filePath("data")
                                      : QDir(source).filePath("tests/verifactu/data");
    return dir.filePath(name);
}

class AgencyTestServer {
  public:
    std::function<QByteArray(const QByteArray&)> answer;
    QList<QByteArray> requests;
    QStringList clientNames;  // common name of each client certificate seen

    // `identity` is "servidor" (the trusted authority) or "otro-servidor" (another one).
    bool start(const QString& identity = QStringLiteral("servidor")) {
        QFile key(verifactuData(identity + ".key"));
        if (!key.open(QIODevice::ReadOnly)) return false;
        QSslConfiguration c = QSslConfiguration::defaultConfiguration();
        c.setLocalCertificate(QSslCertificate::fromPath(verifactuData(identity + ".pem")).value(0));
        c.setPrivateKey(QSslKey(key.readAll(), QSsl::Rsa));
        c.setCaCertificates(QSslCertificate::fromPath(verifactuData("ca.pem")));
        c.setPeerVerifyMode(QSslSocket::VerifyPeer);
        server_.setSslConfiguration(c);
        QObject::connect(&server_, &QTcpServer::pendingConnectionAvailable, &server_,
                         [this] { accept(); });
        return server_.listen(QHostAddress::LocalHost, 0);
    }
    QString url() const {
        return QStringLiteral(
                   "https://127.0.0.1:%1/wlpl/TIKE-CONT/ws/SistemaFacturacion/"
                   "VerifactuSOAP")
            .arg(server_.serverPort());
    }
    void stop() { server_.close(); }

  private:
    void accept() {
        while (QTcpSocket* s = server_.nextPendingConnection()) {
            auto* socket = qobject_cast<QSslSocket*>(s);
            QObject::connect(socket, &QSslSocket::readyRead, socket,
                             [this, socket] { read(socket); });
            QObject::connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        }
    }
    void read(QSslSocket* socket) {
        QByteArray& buffer = buffers_[socket];
        buffer += socket->readAll();
        const int end = buffer.indexOf("\r\n\r\n");
        if (end < 0) return;
        qsizetype length = 0;
        for (const QByteArray& line : buffer.left(end).split('\n'))
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        if (buffer.size() < end + 4 + length) return;
        const QByteArray body = buffer.mid(end + 4, length);
        buffers_.remove(socket);
        requests << body;
        clientNames << socket->peerCertificate().subjectInfo(QSslCertificate::CommonName).value(0);
        const QByteArray reply = answer ? answer(body) : QByteArray();
        socket->write(
            "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\n"
            "Connection: close\r\nContent-Length: " +
            QByteArray::number(reply.size()) + "\r\n\r\n" + reply);
        socket->disconnectFromHost();
    }

    QSslServer server_;
    QHash<QSslSocket*, QByteArray> buffers_;
};

}  // namespace torvane::testing
