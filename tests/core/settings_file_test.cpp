#include <gtest/gtest.h>

#include "core/settings_file.h"
#include "support/legacy_databases.h"
#include "support/temp_home.h"

using namespace torvane;
using torvane::testing::TempHome;

namespace {

TEST(SettingsFile, ReadsPathsAndToleratesLineEnds) {
    TempHome home(false);
    const QString path = home.file("ruta.fpl");
    torvane::testing::writeBytes(path,
                                 "\"C:\\Talleres\\Pe\xF1"
                                 "a, S.L.\\taller.erm\"\n");
    EXPECT_EQ(*readFirstField(path), QString::fromUtf8("C:\\Talleres\\Peña, S.L.\\taller.erm"));
    EXPECT_FALSE(readFirstField(home.file("falta.fpl")).has_value());
    EXPECT_EQ(decodeWindows1252("\x80\xF1"), QString::fromUtf8("€ñ"));
    EXPECT_EQ(encodeWindows1252(QString::fromUtf8("€ñ✓")), QByteArray("\x80\xF1?"));
    // A field is exactly the text between its quotes.
    struct Case {
        const char* text;
        QStringList fields;
    };
    const Case cases[] = {
        {"\" FV&A\xC3\xB1o&/&\",\"ODT/&\"\r\n", {" FV&Año&/&", "ODT/&"}},
        {"\"a\", \"b\" ,\"\"\r\n", {"a", "b", ""}},
        {"  sin comillas  ,x\r\n", {"sin comillas", "x"}},
        {"\"uno,dos\"\r\n", {"uno,dos"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseQuotedFields(QString::fromUtf8(c.text)), c.fields) << c.text;
    // UTF-8 is read as UTF-8 only when it is valid and not ASCII.
    struct Bytes {
        QByteArray bytes;
        const char* text;
    };
    const Bytes texts[] = {
        {"A\xC3\xB1o", "Año"},  // saved by an editor as UTF-8
        {"A\xF1o", "Año"},      // Windows-1252
        {"\xC3\x28", "Ã("},     // not valid UTF-8: Windows-1252
    };
    for (const auto& c : texts)
        EXPECT_EQ(decodeSettingsText(c.bytes), QString::fromUtf8(c.text))
            << c.bytes.toHex().toStdString();
}

}  // namespace
