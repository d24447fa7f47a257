// The Jet sample kept beside the checkout: read as mdb-export reads it, refused when damaged.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <map>

#include "data/database.h"
#include "import/import_cli.h"
#include "import/importer.h"
#include "import/jet_reader.h"
#include "import_fixture.h"
#include "support/file_bytes.h"
#include "support/legacy_databases.h"

namespace ti = torvane::import;
using torvane::Money;
using torvane::testing::fileBytes;
using torvane::testing::writeBytes;

namespace {

// A table as mdb-export writes it, with control characters between fields and rows and for
// null, so that no quoting has to be undone.
struct Csv {
    QStringList header;
    std::vector<std::vector<std::optional<QString>>> rows;
};

Csv mdbExport(const QString& file, const QString& table) {
    const QChar field(0x1f), row(0x1e), null(0x1d);
    QProcess p;
    p.start(QStringLiteral("mdb-export"), {"-Q", "-d", field, "-R", row, "-0", null, "-b", "hex",
                                           "-T", "%Y-%m-%d %H:%M:%S", file, table});
    p.waitForFinished(60000);
    Csv csv;
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString& line : out.split(row, Qt::SkipEmptyParts)) {
        if (csv.header.isEmpty()) {
            csv.header = line.split(field);
            continue;
        }
        auto& values = csv.rows.emplace_back();
        for (const QString& f : line.split(field))
            values.push_back(f == null ? std::nullopt : std::optional<QString>(f));
    }
    return csv;
}

// Whether one of our values is what the reference wrote for it.
bool sameValue(const ti::Value& ours, const std::optional<QString>& theirs) {
    if (!theirs) return ti::isNull(ours);
    if (const auto* m = std::get_if<Money>(&ours)) {
        const auto expected = Money::parse(QString(*theirs).replace('.', ','));
        return expected && *expected == *m;
    }
    if (const auto* d = std::get_if<double>(&ours)) {
        const double expected = theirs->toDouble();
        return std::fabs(expected - *d) <= 1e-12 * std::max(1.0, std::fabs(expected));
    }
    if (std::holds_alternative<QByteArray>(ours))
        return ti::valueText(ours).compare(*theirs, Qt::CaseInsensitive) == 0;
    return ti::valueText(ours) == *theirs;
}

QStringList listing(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

// Imports old into target expecting the refusal message; the old file and its folder are left
// exactly as they were.
void expectRefused(const QString& old, const QString& target, const QString& message) {
    const QByteArray before = fileBytes(old);
    const QString folder = QFileInfo(old).path();
    const QStringList was = listing(folder);
    try {
        ti::importJetFile(old, target);
        ADD_FAILURE() << "imported";
    } catch (const ti::ImportError& e) {
        EXPECT_EQ(e.message(), message);
    }
    EXPECT_EQ(fileBytes(old), before);
    EXPECT_EQ(listing(folder), was);
}

class JetSample : public ::testing::Test {
  protected:
    void SetUp() override {
        sample_ = torvane::testing::jetSample();
        if (sample_.isEmpty()) GTEST_SKIP() << "the Jet sample database is not beside the checkout";
        bytes_ = fileBytes(sample_);
        ASSERT_FALSE(bytes_.isEmpty());
    }
    QString sample_;
    QByteArray bytes_;
    QTemporaryDir dir_;
};

// Every table read as the reference exports it, and a currency value, which the import must
// keep as money, not just as its text.
TEST_F(JetSample, EveryTableReadsTypedAsTheReferenceExportsIt) {
    const bool reference = !QStandardPaths::findExecutable(QStringLiteral("mdb-export")).isEmpty();
    ti::JetReader reader(sample_);
    EXPECT_EQ(reader.kind(), ti::JetKind::Jet3);
    const QStringList tables = reader.tables();
    EXPECT_EQ(tables.size(), 8);
    std::map<QString, std::vector<std::vector<ti::Value>>> rows;
    for (const QString& table : tables) {
        SCOPED_TRACE(table.toStdString());
        reader.readRows(table, [&](const std::vector<ti::Value>& r) { rows[table].push_back(r); });
        if (!reference) continue;
        const Csv expected = mdbExport(sample_, table);
        EXPECT_EQ(reader.columns(table), expected.header);
        ASSERT_EQ(rows[table].size(), expected.rows.size());
        for (std::size_t n = 0; n < expected.rows.size(); ++n) {
            const auto& row = rows[table][n];
            const auto& want = expected.rows[n];
            ASSERT_EQ(row.size(), want.size());
            for (std::size_t c = 0; c < row.size(); ++c)
                ASSERT_TRUE(sameValue(row[c], want[c]))
                    << "row " << n << " column " << c << ": ours "
                    << ti::valueText(row[c]).left(80).toStdString() << ", theirs "
                    << want[c].value_or(QStringLiteral("<null>")).left(80).toStdString();
        }
    }
    EXPECT_EQ(rows["Orders"].size(), 830u);
    EXPECT_EQ(rows["Order Details"].size(), 2155u);

    // Currency with its four decimals (the comparison above takes a number for it too).
    const auto price = reader.columns("Order Details").indexOf("UnitPrice");
    EXPECT_EQ(std::get<Money>(rows["Order Details"][0][price]), Money::fromUnits(140000));
    if (!reference) GTEST_SKIP() << "mdb-export (mdbtools) is not installed: values not compared";
}

// Each damaged or unsuitable old file is refused with its reason; the old file keeps every
// byte and nothing new is left in its folder, where the new one was to go.
TEST_F(JetSample, DamagedAndForeignFilesAreRefused) {
    struct Case {
        const char* name;
        std::function<QByteArray(QByteArray)> make;
        const char* reason;  // what follows "No se puede importar la base de datos X: "
    };
    const Case cases[] = {
        {"cortada.erm", [](QByteArray b) { return b.left(b.size() - 1000); },
         "el archivo está dañado."},
        {"accdb.erm", [](QByteArray b) { return b.replace(4, 15, "Standard ACE DB"); },
         "el archivo es de una versión de Access posterior (.accdb, Access 2007 o más nueva); "
         "solo se importan archivos de Access 97 y Access 2000."},
        {"clave.erm",
         [](QByteArray b) {
             b[0x42] = char(b[0x42] ^ 'T');
             b[0x43] = char(b[0x43] ^ 'A');
             return b;
         },
         "el archivo está protegido con contraseña. Quítela en el programa anterior "
         "(Herramientas, Seguridad) y vuelva a importarlo."},
        {"bloqueada.erm", [](QByteArray b) { return b; },
         "el archivo está abierto en otro programa (existe bloqueada.ldb). Ciérrelo y vuelva a "
         "intentarlo."},
        {"texto.erm", [](QByteArray) { return QByteArray("Esto es un texto.\r\n"); },
         "el archivo no es una base de datos de la versión anterior del programa."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir oldDir;
        const QString old = oldDir.filePath(QString::fromLatin1(c.name));
        writeBytes(old, c.make(bytes_));
        if (QString::fromLatin1(c.name) == "bloqueada.erm")
            writeBytes(oldDir.filePath("bloqueada.ldb"), "x");
        expectRefused(
            old, oldDir.filePath("nueva.erm"),
            "No se puede importar la base de datos " + old + ": " + QString::fromUtf8(c.reason));
    }
}

TEST_F(JetSample, TargetsThatCannotBeWrittenAreRefusedBeforeReading) {
    const QString old = dir_.filePath("taller.erm");
    writeBytes(old, bytes_);
    writeBytes(dir_.filePath("ocupada.erm"), "ya estaba");
    ASSERT_TRUE(QDir(dir_.path()).mkdir("solo_lectura"));
    QFile::setPermissions(dir_.filePath("solo_lectura"),
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    struct Case {
        QString target;
        const char* reason;
    };
    const Case cases[] = {
        {old, "el archivo nuevo no puede sustituir al anterior. Elija otra carpeta o otro nombre."},
        {dir_.filePath("ocupada.erm"),
         "ya existe un archivo con ese nombre. Elija otra carpeta o otro nombre."},
        {dir_.filePath("no_existe/nueva.erm"), "la carpeta no existe."},
        {dir_.filePath("solo_lectura/nueva.erm"), "no se puede escribir en la carpeta elegida."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        expectRefused(old, c.target,
                      "No se puede escribir la base de datos nueva " + c.target + ": " +
                          QString::fromUtf8(c.reason));
    }
    EXPECT_EQ(fileBytes(dir_.filePath("ocupada.erm")), QByteArray("ya estaba"));
    EXPECT_TRUE(listing(dir_.filePath("solo_lectura")).isEmpty());
}

}  // namespace
