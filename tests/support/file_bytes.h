#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace torvane::testing {

// The whole content of a file; empty when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace torvane::testing
