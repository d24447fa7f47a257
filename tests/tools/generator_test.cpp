#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include "data/database.h"
#include "tools/generator.h"

using torvane::Database;
using namespace torvane::gen;

namespace {

const QDate kToday(2024, 6, 15);

Options smallWorkshop(std::uint64_t seed = 5) {
    Options o;
    o.scale = *scaleNamed(QStringLiteral("60"));
    o.seed = seed;
    o.today = kToday;
    return o;
}

// One generated database shared by the read-only tests (generating is the slow part).
class Generated : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        path_ = dir_->filePath(QStringLiteral("taller.erm"));
        QString error;
        ok_ = generateDatabase(path_, smallWorkshop(), &error, &counts_);
        error_ = error;
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(ok_) << error_.toStdString(); }

    // A private copy that a test may damage.
    QString copy(const QString& name) {
        const QString target = dir_->filePath(name);
        QFile::remove(target);
        EXPECT_TRUE(QFile::copy(path_, target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }

    static inline QTemporaryDir* dir_ = nullptr;
    static inline QString path_;
    static inline bool ok_ = false;
    static inline QString error_;
    static inline Counts counts_;
};

// The generated workshop passes the check the importer runs.
TEST_F(Generated, PassesEveryConsistencyRule) {
    Database db;
    ASSERT_TRUE(db.open(path_));
    const QStringList problems = checkConsistency(db, 3);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Clientes").toInt(), 60);
    EXPECT_EQ(counts_.workOrders, db.scalar("SELECT count(*) FROM ODTS").toInt());
    // Activity ends on the reference day and spans the scale's years.
    EXPECT_EQ(db.scalar("SELECT max(Fecha) FROM ODTS").toString(), QStringLiteral("2024-06-15"));
    EXPECT_GE(db.scalar("SELECT min(Fecha) FROM ODTS").toString(), QStringLiteral("2023-06-16"));
    // The database is left as the program keeps it: one file, rollback journal.
    EXPECT_EQ(db.scalar("PRAGMA journal_mode").toString(), QStringLiteral("delete"));
}

// Each damage must be reported by the check, or the check proves nothing: one of each of
// totals, numbering, stock and deletions.
TEST_F(Generated, ConsistencyCheckFindsEachKindOfDamage) {
    struct Case {
        const char* damage;
        const char* expectedKind;
    };
    const Case cases[] = {
        {"UPDATE ODTS SET Nominal = Nominal + 0.01 WHERE Id_ODT = 7", "Nominal distinto"},
        {"INSERT INTO FacturasODT (NFactura, Fecha, Base, IVA, Importe, Pagado) SELECT NFactura, "
         "Fecha, 0, 0, 0, 0 FROM FacturasODT WHERE Id_FAct = 1",
         "factura de ODT duplicado o salto"},
        {"UPDATE Articulos SET StockInicial = StockInicial + 1 WHERE Id_Art = 1", "stock distinto"},
        {"DELETE FROM Albaranes WHERE Id = (SELECT min(Id) FROM Albaranes WHERE NFactura <> 'No')",
         "salida sin albaran"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const QString file = copy(QStringLiteral("damaged%1.erm").arg(n++));
        Database db;
        ASSERT_TRUE(db.open(file));
        db.exec(QString::fromUtf8(c.damage));
        const QStringList problems = checkConsistency(db, 3);
        const bool found = std::any_of(problems.begin(), problems.end(), [&](const QString& p) {
            return p.startsWith(QString::fromUtf8(c.expectedKind));
        });
        EXPECT_TRUE(found) << c.damage << "\n" << problems.join('\n').toStdString();
    }
}

}  // namespace
