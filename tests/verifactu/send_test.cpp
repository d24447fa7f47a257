#include "verifactu/send_client.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QXmlStreamReader>
#include <functional>

#include "data/database.h"
#include "reports/report_fixture.h"
#include "support/screen_helpers.h"
#include "support/scripted_dialogs.h"
#include "support/temp_home.h"
#include "support/test_services.h"
#include "verifactu/send_monitor.h"
#include "verifactu/settings_screen.h"

using namespace torvane;
using namespace torvane::testing;
namespace vf = torvane::verifactu;

namespace {

QString verifactuData(const QString& name) {
    return QDir::cleanPath(expectedFolder(QStringLiteral("verifactu")) + "/../data/" + name);
}

// A local HTTPS server that answers registration messages as the agency's service does:
// it requires a client certificate from the test authority (no request arrives without one)
// and hands every request body to `answer`.
class AgencyTestServer {
  public:
    std::function<QByteArray(const QByteArray&)> answer;
    QList<QByteArray> requests;

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
        return QStringLiteral("https://127.0.0.1:%1/").arg(server_.serverPort());
    }

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

const char* kTikR =
    "https://www2.agenciatributaria.gob.es/static_files/common/internet/dep/aplicaciones/es/aeat/"
    "tike/cont/ws/RespuestaSuministro.xsd";
const char* kTik =
    "https://www2.agenciatributaria.gob.es/static_files/common/internet/dep/aplicaciones/es/aeat/"
    "tike/cont/ws/SuministroInformacion.xsd";

struct Said {
    QString estado;
    QString codigo;
    QString descripcion;
    QString duplicado = {};  // the state of the record the agency already holds
};

// The invoices named in a registration message, in the order they come, with their operation.
QStringList invoicesIn(const QByteArray& message) {
    QStringList out;
    QXmlStreamReader x(message);
    QString operation;
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement()) continue;
        if (x.name() == QLatin1String("RegistroAlta")) operation = "Alta";
        if (x.name() == QLatin1String("RegistroAnulacion")) operation = "Anulacion";
        if (x.name() == QLatin1String("RegistroAnterior")) x.skipCurrentElement();
        if (x.name() == QLatin1String("NumSerieFactura") ||
            x.name() == QLatin1String("NumSerieFacturaAnulada"))
            out << operation + ' ' + x.readElementText();
    }
    return out;
}

// The agency's answer to a message: each invoice as `said` tells (accepted otherwise).
QByteArray agencyAnswer(const QByteArray& message, const QMap<QString, Said>& said) {
    QString lines;
    int wrong = 0;
    const QStringList invoices = invoicesIn(message);
    for (const QString& entry : invoices) {
        const QString number = entry.section(' ', 1);
        const Said s = said.value(number, Said{"Correcto", {}, {}});
        if (s.estado != "Correcto") ++wrong;
        lines += QStringLiteral(
                     "<tikR:RespuestaLinea><tikR:IDFactura><tik:NumSerieFactura>%1"
                     "</tik:NumSerieFactura></tikR:IDFactura><tikR:Operacion><tik:TipoOperacion>"
                     "%2</tik:TipoOperacion></tikR:Operacion><tikR:EstadoRegistro>%3"
                     "</tikR:EstadoRegistro>")
                     .arg(number, entry.section(' ', 0, 0), s.estado);
        if (!s.codigo.isEmpty())
            lines += QStringLiteral(
                         "<tikR:CodigoErrorRegistro>%1</tikR:CodigoErrorRegistro>"
                         "<tikR:DescripcionErrorRegistro>%2</tikR:DescripcionErrorRegistro>")
                         .arg(s.codigo, s.descripcion);
        if (!s.duplicado.isEmpty())
            lines += QStringLiteral(
                         "<tikR:RegistroDuplicado><tik:EstadoRegistroDuplicado>%1"
                         "</tik:EstadoRegistroDuplicado><tik:CodigoErrorRegistro>9"
                         "</tik:CodigoErrorRegistro></tikR:RegistroDuplicado>")
                         .arg(s.duplicado);
        lines += QStringLiteral("</tikR:RespuestaLinea>");
    }
    const char* estado = wrong == 0                ? "Correcto"
                         : wrong < invoices.size() ? "ParcialmenteCorrecto"
                                                   : "Incorrecto";
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?><env:Envelope "
               "xmlns:env=\"http://schemas.xmlsoap.org/soap/envelope/\"><env:Header/><env:Body>"
               "<tikR:RespuestaRegFactuSistemaFacturacion xmlns:tikR=\"%1\" xmlns:tik=\"%2\">"
               "<tikR:CSV>A-TEST0001</tikR:CSV><tikR:TiempoEsperaEnvio>60</tikR:TiempoEsperaEnvio>"
               "<tikR:EstadoEnvio>%3</tikR:EstadoEnvio>%4"
               "</tikR:RespuestaRegFactuSistemaFacturacion></env:Body></env:Envelope>")
        .arg(kTikR, kTik, estado, lines)
        .toUtf8();
}

QByteArray soapFault(const char* code, const char* text) {
    return QByteArray(
               "<env:Envelope xmlns:env=\"http://schemas.xmlsoap.org/soap/envelope/\">"
               "<env:Body><env:Fault><faultcode>") +
           code + "</faultcode><faultstring>" + text +
           "</faultstring></env:Fault></env:Body></env:Envelope>";
}

// The message without the indentation between its elements.
QString flat(const QByteArray& message) {
    return QString::fromUtf8(message).replace(QRegularExpression(">\\s+<"), "><");
}

// The link to the record before, as a message carries it.
QString anterior(const QString& number, const QString& huella) {
    return QStringLiteral(
               "<sf:RegistroAnterior><sf:IDEmisorFactura>B12345678</sf:IDEmisorFactura>"
               "<sf:NumSerieFactura>%1</sf:NumSerieFactura><sf:FechaExpedicionFactura>06-12-2026"
               "</sf:FechaExpedicionFactura><sf:Huella>%2</sf:Huella>")
        .arg(number, huella);
}

// An address where nobody listens.
QString closedEndpoint() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    return QStringLiteral("https://127.0.0.1:%1/").arg(probe.serverPort());
}

class VerifactuSend : public ::testing::Test {
  protected:
    void SetUp() override {
        db().exec("INSERT INTO DatosEmpresa (Nombre, Nif) VALUES ('TALLER & HIJOS', 'B12345678')");
        vf::Settings s = vf::loadSettings(db());
        s.enabled = true;
        vf::saveSettings(db(), s);
        server_.answer = [this](const QByteArray& m) { return agencyAnswer(m, said_); };
    }
    Database& db() { return home_.db(); }
    void invoice(const QString& number, const char* importe = "116") {
        db().insert(QStringLiteral("INSERT INTO FacturasODT (NFactura, Fecha, Base, IVA, Importe, "
                                   "Pagado) VALUES (?, '2026-12-06', 100, 16, ?, 0)"),
                    {number, QString::fromLatin1(importe)});
    }
    vf::SendConfig config() const {
        vf::SendConfig c;
        c.endpoint = server_.url();
        c.certificatePath = verifactuData("cliente.p12");
        c.password = QStringLiteral("taller");
        c.trustedAuthorities = verifactuData("ca.pem");
        c.timeoutMs = 10000;
        return c;
    }
    QStringList states() {
        QStringList out;
        for (const Row& r : db().rows("SELECT r.NumSerie, e.Estado FROM EnviosFacturacion e "
                                      "JOIN RegistrosFacturacion r ON r.Id = e.IdRegistro "
                                      "ORDER BY e.Id"))
            out << r.value("NumSerie").toString() + ' ' + r.value("Estado").toString();
        return out;
    }

    TempHome home_;
    AgencyTestServer server_;
    QMap<QString, Said> said_;
};

// Nothing reaches a server that cannot be trusted or settings that cannot work; once the agency
// answers, every record waiting goes in one message, in the order written.
TEST_F(VerifactuSend, RecordsWaitForTheAgencyAndGoOnceInChainOrder) {
    db().exec(
        "INSERT INTO Clientes (Id_Cli, Codigo, NIF, Nombre, Apellido1) VALUES "
        "(1, '1', '12345678Z', 'JUAN', 'GARCÍA')");
    db().exec("INSERT INTO ODTS (NODT, Id_Cli, NFactura) VALUES ('ODT1', 1, 'FR26/12/00001')");
    invoice("FR26/12/00001", "121");
    invoice("FR26/12/00002");
    db().exec("DELETE FROM FacturasODT WHERE NFactura = 'FR26/12/00001'");
    ASSERT_EQ(vf::pendingCount(db()), 3);
    ASSERT_TRUE(server_.start());

    SCOPED_TRACE("a certificate that is not there");
    vf::SendConfig elsewhere = config();
    elsewhere.certificatePath = verifactuData("no-hay.p12");
    vf::SendOutcome out = vf::sendPending(db(), elsewhere);
    EXPECT_TRUE(out.unusableConfig);
    EXPECT_EQ(
        out.problem,
        QStringLiteral("No se puede abrir el certificado \"%1\".").arg(elsewhere.certificatePath));
    EXPECT_TRUE(states().isEmpty());

    SCOPED_TRACE("a server of another authority");
    AgencyTestServer impostor;
    ASSERT_TRUE(impostor.start(QStringLiteral("otro-servidor")));
    elsewhere = config();
    elsewhere.endpoint = impostor.url();
    out = vf::sendPending(db(), elsewhere);
    EXPECT_EQ(out.problem,
              "No se ha podido comprobar la identidad del servidor de la Agencia Tributaria "
              "(127.0.0.1): su certificado no es de una entidad de confianza. No se ha enviado "
              "nada.");
    const QStringList unanswered{"FR26/12/00001 SinRespuesta", "FR26/12/00002 SinRespuesta",
                                 "FR26/12/00001 SinRespuesta"};
    EXPECT_EQ(states(), unanswered);

    SCOPED_TRACE("the agency answers");
    out = vf::sendPending(db(), config());
    EXPECT_TRUE(out.reached) << out.problem.toStdString();
    EXPECT_EQ(vf::failuresInARow(db()), 0);
    ASSERT_EQ(server_.requests.size(), 1);
    EXPECT_EQ(invoicesIn(server_.requests[0]),
              (QStringList{"Alta FR26/12/00001", "Alta FR26/12/00002", "Anulacion FR26/12/00001"}));
    EXPECT_EQ(states().mid(3), (QStringList{"FR26/12/00001 Correcto", "FR26/12/00002 Correcto",
                                            "FR26/12/00001 Correcto"}));

    SCOPED_TRACE("the message as the agency describes it");
    const auto records = vf::allRecords(db());
    const QString xml = flat(server_.requests[0]);
    EXPECT_TRUE(xml.contains(QStringLiteral("xmlns:sf=\"%1\"").arg(kTik))) << xml.toStdString();
    // The recipient named once, for the invoice whose customer has a tax number.
    EXPECT_EQ(xml.count("<sf:Destinatarios>"), 1);
    EXPECT_TRUE(
        xml.contains("<sf:NombreRazon>JUAN GARCÍA</sf:NombreRazon><sf:NIF>12345678Z</sf:NIF>"));
    // 121,00 with 16,00 of VAT: a base of 105,00 at 15,24 %.
    EXPECT_TRUE(xml.contains(
        "<sf:TipoImpositivo>15.24</sf:TipoImpositivo><sf:BaseImponibleOimporteNoSujeto>105.00"
        "</sf:BaseImponibleOimporteNoSujeto><sf:CuotaRepercutida>16.00</sf:CuotaRepercutida>"
        "</sf:DetalleDesglose></sf:Desglose><sf:CuotaTotal>16.00</sf:CuotaTotal><sf:ImporteTotal>"
        "121.00</sf:ImporteTotal><sf:Encadenamiento><sf:PrimerRegistro>S</sf:PrimerRegistro>"));
    EXPECT_TRUE(xml.contains(anterior("FR26/12/00002", records[1].huella)));
    EXPECT_TRUE(xml.contains(QStringLiteral("<sf:TipoHuella>01</sf:TipoHuella><sf:Huella>%1"
                                            "</sf:Huella></sf:RegistroAnulacion>")
                                 .arg(records[2].huella)));

    SCOPED_TRACE("the next message chains to the last record sent");
    invoice("FR26/12/00003");
    EXPECT_EQ(vf::sendPending(db(), config()).accepted, 1);
    ASSERT_EQ(server_.requests.size(), 2);
    EXPECT_TRUE(flat(server_.requests[1]).contains(anterior("FR26/12/00001", records[2].huella)));
}

// Each record keeps the agency's word; only what is still pending goes again.
TEST_F(VerifactuSend, EachRecordKeepsTheAgencysWord) {
    // Sent again after a lost answer: the agency's verdict on the first sending stands.
    const char* duplicated = "Registro de facturación duplicado.";
    said_ = {{"FR3", {"Incorrecto", "3000", duplicated, "Correcta"}},
             {"FR4", {"Incorrecto", "3000", duplicated, "Anulada"}},
             {"FR5",
              {"AceptadoConErrores", "2005", "El campo ImporteTotal tiene un valor incorrecto."}}};
    ASSERT_TRUE(server_.start());
    for (const char* number : {"FR1", "FR3", "FR4", "FR5"}) invoice(number);
    const vf::SendOutcome out = vf::sendPending(db(), config());
    EXPECT_EQ(states(), (QStringList{"FR1 Correcto", "FR3 Correcto", "FR4 Incorrecto",
                                     "FR5 AceptadoConErrores"}));
    EXPECT_EQ(out.messages(),
              (QStringList{"Registros aceptados por la Agencia Tributaria: 2.",
                           "La Agencia Tributaria ha aceptado con errores el registro de la "
                           "factura FR5 (código 2005): El campo ImporteTotal tiene un valor "
                           "incorrecto.",
                           "La Agencia Tributaria ha rechazado el registro de la factura FR4 "
                           "(código 3000): Registro de facturación duplicado."}));

    SCOPED_TRACE("the service failing, then the whole message refused");
    QByteArray fault = soapFault("env:Server", "Servicio no disponible temporalmente.");
    server_.answer = [&fault](const QByteArray&) { return fault; };
    invoice("FR6");
    EXPECT_EQ(vf::sendPending(db(), config()).messages(),
              (QStringList{"La Agencia Tributaria no ha podido atender el envío: Servicio no "
                           "disponible temporalmente.",
                           "Registros pendientes de envío: 1. Se reenviarán más tarde."}));
    fault = soapFault("env:Client", "Codigo[4102].El XML no cumple el esquema.");
    EXPECT_EQ(vf::sendPending(db(), config()).messages(),
              QStringList{"La Agencia Tributaria ha rechazado el registro de la "
                          "factura FR6: Codigo[4102].El XML no cumple el esquema."});
    EXPECT_EQ(states().mid(4), (QStringList{"FR6 SinRespuesta", "FR6 Incorrecto"}));
    // A rejected record is not sent again by itself.
    EXPECT_EQ(vf::sendPending(db(), config()).sent, 0);
    ASSERT_EQ(server_.requests.size(), 3);
    EXPECT_EQ(invoicesIn(server_.requests[2]), QStringList{"Alta FR6"});
}

TEST(VerifactuRetry, WaitDoublesFromAMinuteUpToAnHour) {
    const std::pair<int, int> cases[] = {{0, 0},    {1, 60},   {2, 120},  {3, 240},
                                         {6, 1920}, {7, 3600}, {30, 3600}};
    for (const auto& [failures, seconds] : cases)
        EXPECT_EQ(vf::retryDelaySeconds(failures), seconds) << failures;
}

TEST(VerifactuAnswer, UnreadableAnswersAreTold) {
    QString problem;
    EXPECT_FALSE(vf::parseAnswer("<html><body>Servicio no disponible</body></html>", &problem));
    EXPECT_EQ(problem, "La respuesta de la Agencia Tributaria no se puede leer.");
}

// The desktop program's sending: the records of the open database, the certificate's
// password asked through the dialogs, the count of the status bar.
class VerifactuBackground : public VerifactuSend {
  protected:
    void SetUp() override {
        VerifactuSend::SetUp();
        vf::Settings s = vf::loadSettings(db());
        s.certificate = verifactuData("cliente.p12");
        vf::saveSettings(db(), s);
        ASSERT_TRUE(server_.start());
        toServer(monitor_);
    }
    void toServer(vf::SendMonitor& monitor) {
        monitor.setEndpoint(server_.url());
        monitor.setTrustedAuthorities(verifactuData("ca.pem"));
    }
    QStringList told() const { return dialogs_.texts(); }

    ScriptedDialogs dialogs_;
    vf::SendMonitor monitor_{home_.session(), dialogs_};
    const QDateTime t0_{QDate(2026, 12, 6), QTime(10, 0)};
    const QString ask_ = QString::fromUtf8(vf::kAskPassword);
};

}  // namespace

TEST_F(VerifactuBackground, PasswordIsAskedOnceAndRoundsTellOnlyRejections) {
    QStringList shown;  // what the status bar is told, each change once
    QObject::connect(&monitor_, &vf::SendMonitor::statusChanged,
                     [&](const QString& text, const QString&) { shown << text; });
    monitor_.refresh();
    monitor_.refresh();
    EXPECT_EQ(shown, QStringList{"Registros pendientes de envío: 0"});
    invoice("FR26/12/00001");
    dialogs_.answerInput(QStringLiteral("taller"));
    monitor_.askPassword();  // at start-up
    {
        // A round while the program is saving waits for the next.
        Database::Transaction saving(db());
        monitor_.tick(t0_.addSecs(5));
        EXPECT_EQ(server_.requests.size(), 0);
    }
    monitor_.tick(t0_.addSecs(10));
    EXPECT_EQ(server_.requests.size(), 1);
    EXPECT_EQ(monitor_.statusText(), "Registros pendientes de envío: 0");
    EXPECT_EQ(monitor_.statusTip(), "");

    // The agency asked for a minute between messages; the password is not asked again.
    invoice("FR26/12/00002");
    monitor_.tick(t0_.addSecs(40));
    EXPECT_EQ(server_.requests.size(), 1);
    monitor_.askPassword();
    // A server down shows only in the status bar.
    monitor_.setEndpoint(closedEndpoint());
    monitor_.tick(t0_.addSecs(71));
    EXPECT_FALSE(monitor_.statusTip().isEmpty());
    EXPECT_EQ(told(), QStringList{ask_});
    // Asked for by the user, the retry wait does not hold it back; the wait doubles.
    monitor_.sendNow(t0_.addSecs(80));
    EXPECT_TRUE(told().value(1).startsWith("No se ha podido conectar con la Agencia Tributaria"));

    monitor_.setEndpoint(server_.url());
    said_["FR26/12/00002"] = {"Incorrecto", "1100", "Valor o tipo incorrecto del campo: NIF"};
    monitor_.tick(t0_.addSecs(190));
    EXPECT_EQ(server_.requests.size(), 1);
    monitor_.tick(t0_.addSecs(200));
    EXPECT_EQ(server_.requests.size(), 2);
    EXPECT_EQ(told().mid(2), QStringList{"La Agencia Tributaria ha rechazado el registro de la "
                                         "factura FR26/12/00002 (código 1100): Valor o tipo "
                                         "incorrecto del campo: NIF"});

    SCOPED_TRACE("records only kept");
    invoice("FR26/12/00003");
    vf::Settings kept = vf::loadSettings(db());
    kept.mode = QString::fromUtf8(vf::kModeNoVerifactu);
    vf::saveSettings(db(), kept);
    dialogs_.clear();
    monitor_.sendNow(t0_.addSecs(300));
    EXPECT_EQ(told(), QStringList{QString::fromUtf8(vf::kOnlyInVerifactuMode)});

    SCOPED_TRACE("a second program on the same file leaves the sending to the first");
    kept.mode = QString::fromUtf8(vf::kModeVerifactu);
    vf::saveSettings(db(), kept);
    Session second(home_.folder());
    ASSERT_TRUE(second.openDatabase(home_.session().databasePath()));
    ASSERT_TRUE(second.databaseSharedWithOther());
    vf::SendMonitor other(second, dialogs_);
    toServer(other);
    dialogs_.clear();
    other.askPassword();
    other.tick(t0_.addSecs(400));
    EXPECT_EQ(other.statusText(), "Registros pendientes de envío: 1");
    EXPECT_EQ(other.statusTip(), QString::fromUtf8(vf::kSentByOther));
    EXPECT_TRUE(told().isEmpty());
    EXPECT_EQ(server_.requests.size(), 2);
}

// Refused when the settings are saved or wrong when sending by hand, the password waits for
// the user: neither the rounds nor the next opening ask for it.
TEST_F(VerifactuBackground, ARefusedOrWrongPasswordWaitsForTheSettingsScreen) {
    vf::Settings s = vf::loadSettings(db());
    s.enabled = false;
    vf::saveSettings(db(), s);
    TestServices services;
    ConfigFacturacion form(home_.session(), services, &monitor_);
    control<QCheckBox>(&form, "ChkActivo")->setChecked(true);
    EXPECT_FALSE(enabled(&form, "CmdEnviar"));  // not saved yet
    // Switching on is asked first; answered no, nothing is stored.
    services.scripted.answerNo();
    EXPECT_FALSE(form.save());
    EXPECT_FALSE(vf::loadSettings(db()).enabled);
    services.scripted.answerYes();
    dialogs_.answerInput(std::nullopt);  // asked once the settings are saved
    ASSERT_TRUE(form.save());
    const QString confirm = QString::fromUtf8(vf::kConfirmSwitchOn);
    EXPECT_EQ(services.scripted.texts(),
              (QStringList{confirm, confirm, QString::fromUtf8(vf::kSaved)}));
    EXPECT_TRUE(enabled(&form, "CmdEnviar"));
    EXPECT_FALSE(enabled(&form, "ChkActivo"));  // once on, for good
    invoice("FR26/12/00001");
    const auto roundsWait = [&](const QStringList& expected) {
        monitor_.tick(t0_);
        monitor_.tick(t0_.addSecs(3600));
        monitor_.askPassword();
        EXPECT_EQ(told(), expected);
        EXPECT_EQ(server_.requests.size(), 0);
        EXPECT_EQ(monitor_.statusTip(), QString::fromUtf8(vf::kPasswordMissing));
    };
    roundsWait({ask_});

    dialogs_.answerInput(QStringLiteral("mala"));
    click(&form, "CmdEnviar");
    roundsWait({ask_, ask_,
                QStringLiteral("No se puede leer el certificado \"%1\": la contraseña no es "
                               "correcta o el fichero no es un certificado PKCS#12.")
                    .arg(verifactuData("cliente.p12"))});

    // "Enviar ahora" asks again and tells what happened; the screen's list follows.
    dialogs_.clear();
    dialogs_.answerInput(QStringLiteral("taller"));
    click(&form, "CmdEnviar");
    EXPECT_EQ(told(), (QStringList{ask_, "Registros aceptados por la Agencia Tributaria: 1."}));
    EXPECT_EQ(control<DataGrid>(&form, "MSHRegistros")->displayText(0, "Estado"), "Aceptado");
}
