#include "support/temp_home.h"

#include <gtest/gtest.h>
#include <QDir>

namespace torvane::testing {

TempHome::TempHome(bool withDatabase) {
    EXPECT_TRUE(dir_.isValid());
    session_ = std::make_unique<Session>(dir_.path());
    if (withDatabase) {
        const QString path = makeDatabase(QStringLiteral("taller.erm"));
        QString reason;
        EXPECT_TRUE(session_->openDatabase(path, &reason)) << reason.toStdString();
    }
}

QString TempHome::file(const QString& name) const {
    return QDir(dir_.path()).filePath(name);
}

QString TempHome::makeDatabase(const QString& name) {
    const QString path = file(name);
    QString reason;
    EXPECT_TRUE(Database::createFromSchema(path, &reason)) << reason.toStdString();
    return path;
}

QString TempHome::builtTemplate() {
    return QDir(qEnvironmentVariable("TORVANE_BIN", QStringLiteral("."))).filePath("Nueva");
}

}  // namespace torvane::testing
