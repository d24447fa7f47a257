#include "core/settings_file.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace torvane {

namespace {
// Code points of bytes 0x80..0x9F; 0 marks the five bytes that Windows-1252 leaves undefined.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

QString decodeWindows1252(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0)
            out.append(QChar(kHigh[b - 0x80]));
        else
            out.append(QChar(b));
    }
    return out;
}

QByteArray encodeWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(static_cast<char>(u));
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (kHigh[i] != 0 && kHigh[i] == u) mapped = static_cast<char>(0x80 + i);
        out.append(mapped);
    }
    return out;
}

QStringList parseQuotedFields(const QString& text) {
    QStringList fields;
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalised.replace('\r', '\n');
    for (const QString& line : normalised.split('\n')) {
        if (line.trimmed().isEmpty()) continue;
        // A quoted field is exactly the text between its quotes, blanks included; what lies
        // outside them (blanks after a comma) is not part of it.
        QString field, quoted;
        bool inQuotes = false, wasQuoted = false;
        const auto endField = [&] {
            fields << (wasQuoted ? quoted : field.trimmed());
            field.clear();
            quoted.clear();
            wasQuoted = false;
        };
        for (QChar c : line) {
            if (c == '"') {
                inQuotes = !inQuotes;
                wasQuoted = true;
            } else if (c == ',' && !inQuotes) {
                endField();
            } else {
                field.append(c);
                if (inQuotes) quoted.append(c);
            }
        }
        endField();
    }
    return fields;
}

QString decodeSettingsText(const QByteArray& bytes) {
    bool ascii = true;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (!ascii) {
        // A file saved by an editor as UTF-8 ("AÃ±o" read as Windows-1252) is read as such;
        // it is written back in Windows-1252 on the next save.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError()) return text;
    }
    return decodeWindows1252(bytes);
}

std::optional<QStringList> readSettingsFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return parseQuotedFields(decodeSettingsText(f.readAll()));
}

std::optional<QString> readFirstField(const QString& path) {
    auto fields = readSettingsFile(path);
    if (!fields || fields->isEmpty()) return std::nullopt;
    return fields->first();
}

bool writeSettingsFile(const QString& path, const QStringList& fields, QString* error) {
    QStringList quoted;
    for (const QString& f : fields) quoted << QLatin1Char('"') + f + QLatin1Char('"');
    const QByteArray bytes = encodeWindows1252(quoted.join(',')) + "\r\n";
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

}  // namespace torvane
