#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "data/database.h"
#include "import/importer.h"
#include "import_fixture.h"
#include "support/file_bytes.h"

namespace ti = torvane::import;
using torvane::testing::fileBytes;

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList listing(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

class ImportBadInputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sample_ = torvane::testing::jetSample();
        if (sample_.isEmpty()) GTEST_SKIP() << "the Jet sample database is not beside the checkout";
        bytes_ = fileBytes(sample_);
        ASSERT_FALSE(bytes_.isEmpty());
    }
    QString sample_;
    QByteArray bytes_;
};

// Each damaged or unsuitable old file is refused with its reason; the old file keeps every
// byte and nothing new is left in the folder.
TEST_F(ImportBadInputTest, DamagedAndForeignFilesAreRefused) {
    struct Case {
        const char* name;
        std::function<QByteArray(QByteArray)> make;
        const char* reason;  // what follows "No se puede importar la base de datos X: "
        bool prefixOnly = false;
    };
    const Case cases[] = {
        {"cortada.erm", [](QByteArray b) { return b.left(b.size() - 1000); },
         "el archivo está dañado."},
        {"paginas.erm",
         [](QByteArray b) {
             // The pages of the largest tables, overwritten.
             for (qsizetype at = 2048 * 100; at < 2048 * 700; ++at) b[at] = char(0xA5);
             return b;
         },
         "el archivo está dañado", true},
        {"accdb.erm",
         [](QByteArray b) {
             b.replace(4, 15, "Standard ACE DB");
             return b;
         },
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
        QTemporaryDir oldDir, newDir;
        const QString old = oldDir.filePath(QString::fromLatin1(c.name));
        write(old, c.make(bytes_));
        if (QString::fromLatin1(c.name) == "bloqueada.erm")
            write(oldDir.filePath("bloqueada.ldb"), "x");
        const QByteArray before = fileBytes(old);
        const QStringList oldListing = listing(oldDir.path());
        const QString target = newDir.filePath("nueva.erm");
        try {
            ti::importJetFile(old, target);
            ADD_FAILURE() << "imported";
        } catch (const ti::ImportError& e) {
            const QString expected =
                "No se puede importar la base de datos " + old + ": " + QString::fromUtf8(c.reason);
            if (c.prefixOnly)
                EXPECT_TRUE(e.message().startsWith(expected)) << e.message().toStdString();
            else
                EXPECT_EQ(e.message(), expected);
        }
        EXPECT_EQ(fileBytes(old), before);
        EXPECT_EQ(listing(oldDir.path()), oldListing);
        EXPECT_TRUE(listing(newDir.path()).isEmpty())
            << listing(newDir.path()).join(' ').toStdString();
    }
}

TEST_F(ImportBadInputTest, TargetsThatCannotBeWrittenAreRefusedBeforeReading) {
    QTemporaryDir dir;
    const QString old = dir.filePath("taller.erm");
    write(old, bytes_);
    write(dir.filePath("ocupada.erm"), "ya estaba");
    ASSERT_TRUE(QDir(dir.path()).mkdir("solo_lectura"));
    QFile::setPermissions(dir.filePath("solo_lectura"),
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    struct Case {
        QString target;
        const char* reason;
    };
    const Case cases[] = {
        {old, "el archivo nuevo no puede sustituir al anterior. Elija otra carpeta o otro nombre."},
        {dir.filePath("ocupada.erm"),
         "ya existe un archivo con ese nombre. Elija otra carpeta o otro nombre."},
        {dir.filePath("no_existe/nueva.erm"), "la carpeta no existe."},
        {dir.filePath("solo_lectura/nueva.erm"), "no se puede escribir en la carpeta elegida."},
    };
    const QByteArray before = fileBytes(old);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        const QStringList was = listing(dir.path());
        try {
            ti::importJetFile(old, c.target);
            ADD_FAILURE() << "imported";
        } catch (const ti::ImportError& e) {
            EXPECT_EQ(e.message(), "No se puede escribir la base de datos nueva " + c.target +
                                       ": " + QString::fromUtf8(c.reason));
        }
        EXPECT_EQ(fileBytes(old), before);
        EXPECT_EQ(listing(dir.path()), was);
    }
    EXPECT_EQ(fileBytes(dir.filePath("ocupada.erm")), QByteArray("ya estaba"));
    EXPECT_TRUE(listing(dir.filePath("solo_lectura")).isEmpty());
}

}  // namespace
