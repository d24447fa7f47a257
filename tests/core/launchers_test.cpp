#include "core/launchers.h"

#include <gtest/gtest.h>
#include <QFile>

#include "core/settings_file.h"
#include "support/recording_launcher.h"
#include "support/scripted_dialogs.h"
#include "support/temp_home.h"

using torvane::testing::RecordingLauncher;
using torvane::testing::ScriptedDialogs;
using torvane::testing::TempHome;

namespace {

QString makeFile(const TempHome& home, const QString& name, bool executable) {
    const QString path = home.file(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.close();
    auto perms = QFile::ReadOwner | QFile::WriteOwner;
    if (executable) perms |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    f.setPermissions(perms);
    return path;
}

// A program folder, its dialogs and a launcher that records what it starts.
struct Outside {
    TempHome home{false};
    ScriptedDialogs dialogs;
    RecordingLauncher launcher;
    void launch(torvane::OutsideProgram program) {
        torvane::launchOutsideProgram(home.session(), dialogs, launcher, program);
    }
};

}  // namespace

// The dialogs' titles, and a first choice stored and started, are the menu's test.
TEST(OutsideProgram, AcceptsExeNamesAndExecutableFilesAndAGoneProgramIsChosenAgain) {
    Outside o;
    const QString script = makeFile(o.home, QStringLiteral("autodata"), true);
    const QString plain = makeFile(o.home, QStringLiteral("notas.txt"), false);
    const std::pair<QString, bool> cases[] = {{"C:\\Autodata\\ADATA.EXE", true},
                                              {"/mnt/win/adata.Exe", false},
                                              {script, true},
                                              {plain, false}};
    for (const auto& [path, accepted] : cases)
        EXPECT_EQ(torvane::isAcceptedProgram(path), accepted) << path.toStdString();

    // The stored program is gone: told, chosen again, stored and started.
    const QString pathFile = o.home.file(QStringLiteral("Autodata.fpl"));
    ASSERT_TRUE(torvane::writeSettingsFile(pathFile, {QStringLiteral("/opt/borrado/autodata")}));
    const QString program = makeFile(o.home, QStringLiteral("autodata-nuevo"), true);
    o.dialogs.answerFile(program);
    o.launch(torvane::kAutodata);
    ASSERT_GE(o.dialogs.entries().size(), 2u);
    EXPECT_EQ(o.dialogs.entries()[0].text,
              QStringLiteral("No se encuentra el programa:\n/opt/borrado/autodata\nIndique dónde "
                             "está instalado."));
    EXPECT_EQ(torvane::readFirstField(pathFile).value_or(QString()), program);
    EXPECT_EQ(o.launcher.started, QStringList{program});

    // Stored and there: started without asking; a start that fails is told.
    o.dialogs.clear();
    o.launcher.startWorks = false;
    o.launch(torvane::kAutodata);
    EXPECT_EQ(o.launcher.started.size(), 2);
    EXPECT_EQ(o.dialogs.texts().size(), 1);
    EXPECT_TRUE(
        o.dialogs.lastText().startsWith(QStringLiteral("No se ha podido iniciar el programa:")));
}
