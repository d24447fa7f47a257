#pragma once

#include <QByteArray>
#include <QFileInfo>
#include <QString>

namespace torvane::testing {

// The Jet sample database kept beside the checkout; empty when it is not there.
inline QString jetSample() {
#ifdef TORVANE_SHARED_FIXTURES
    const QString built = QStringLiteral(TORVANE_SHARED_FIXTURES "/jet/nwind.mdb");
    if (QFileInfo(built).isFile()) return QFileInfo(built).absoluteFilePath();
#endif
    const QByteArray source = qgetenv("TORVANE_SOURCE");
    if (!source.isEmpty()) {
        const QString fromEnv =
            QString::fromLocal8Bit(source) + QStringLiteral("/../shared/fixtures/jet/nwind.mdb");
        if (QFileInfo(fromEnv).isFile()) return QFileInfo(fromEnv).absoluteFilePath();
    }
    return {};
}

}  // namespace torvane::testing
