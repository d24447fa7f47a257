#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace torvane {

// The program's small settings files ("ruta.fpl", "conf.fpl", "Autodata.fpl",
// "Tasacciones.fpl"): one line of quoted, comma-separated fields, CR LF,
// Windows-1252 text so that files written by the previous program keep working.

QString decodeWindows1252(const QByteArray& bytes);
// Characters that Windows-1252 cannot hold become "?".
QByteArray encodeWindows1252(const QString& text);

// The file's text: Windows-1252, unless the bytes are valid UTF-8 with non-ASCII text.
QString decodeSettingsText(const QByteArray& bytes);

// Splits the file into fields: a field ends at a comma or at a line end. A quoted
// field is exactly the text between its quotes; an unquoted one loses its outer
// blanks. Empty lines give no fields.
QStringList parseQuotedFields(const QString& text);

// Reads every field of the file; std::nullopt when it is missing or unreadable.
std::optional<QStringList> readSettingsFile(const QString& path);
// The first field of the file (the path files hold one).
std::optional<QString> readFirstField(const QString& path);

// Writes the whole file atomically: the old file stays as it was if the write fails.
bool writeSettingsFile(const QString& path, const QStringList& fields, QString* error = nullptr);

}  // namespace torvane
