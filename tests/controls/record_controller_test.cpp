// The record sequences every record screen runs: where the list stands after a
// delete, the mode after a save that fails, and the standard messages.
#include "controls/record_controller.h"

#include <gtest/gtest.h>

#include "controls/command_bar.h"
#include "controls/host_form.h"
#include "support/screen_helpers.h"
#include "support/scripted_dialogs.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;
using Action = RecordController::Action;

namespace {

class RecordScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"UNO", "DOS", "TRES"})
            home.db().insert("INSERT INTO Clientes (Codigo, Nombre) VALUES (?, ?)", {name, name});
        form.add<QLineEdit>("txtCodigo");
        form.add<QLineEdit>("txtNombre");
        RecordController::Setup setup;
        setup.table = "Clientes";
        setup.keyColumn = "Id_Cli";
        setup.keys = {"SELECT Id_Cli FROM Clientes ORDER BY Id_Cli", {}};
        setup.fields = {{"txtCodigo", "Codigo"}, {"txtNombre", "Nombre"}};
        setup.firstField = "txtNombre";
        setup.deleteQuestion = "¿Borrar ";
        setup.deleteQuestionField = "txtNombre";
        setup.allDeletedMessage = "Se han eliminado todos los clientes";
        setup.tabs = form.add<QTabWidget>("SSTab1");
        setup.tabs->addTab(new QWidget, "Datos");
        history = new DataGrid("MSHHistorial");
        history->setColumns({{"Nombre", "Nombre"}});
        setup.tabs->addTab(history, "Historial");
        setup.tabs->setCurrentIndex(1);
        setup.historyTab = 1;
        setup.historyGrid = history;
        list = new DataGrid("MSHLista", &form);
        list->setColumns({{"Id_Cli", {}, ColumnKind::Hidden}, {"Nombre", "Nombre"}});
        list->run(home.db(), {"SELECT Id_Cli, Nombre FROM Clientes ORDER BY Id_Cli", {}});
        form.layout()->addWidget(list);
        setup.listGrid = list;
        RecordController::Hooks hooks;
        hooks.propose = [] { return std::optional<Row>(Row{{"Codigo", "9"}}); };
        // Only new records are saved here; modify and save is the departments' screen's.
        hooks.save = [this](const QVariant&, const Row& v) -> QVariant {
            if (failSave) throw DbError("disco lleno");
            return home.db().insert("INSERT INTO Clientes (Codigo, Nombre) VALUES (?, ?)",
                                    {v.value("Codigo"), v.value("Nombre")});
        };
        hooks.remove = [this](const QVariant& key) {
            home.db().exec("DELETE FROM Clientes WHERE Id_Cli = ?", {key});
            return QString();
        };
        hooks.historyOf = [](const Row& row) {
            return SqlStatement{"SELECT Nombre FROM Clientes WHERE Id_Cli = ?",
                                {row.value("Id_Cli")}};
        };
        c = new RecordController(&form, home.session(), dialogs, setup, hooks);
        new CommandBar(&form,
                       {c->command(Action::New, "CmdNuevo", "Nuevo"),
                        c->command(Action::Modify, "CmdModificar", "Modificar"),
                        c->command(Action::Save, "CmdGuardar", "Guardar"),
                        c->command(Action::Cancel, "CmdCancelar", "Cancelar"),
                        c->command(Action::Delete, "CmdEliminar", "Eliminar")},
                       &c->mode(), {c->navigationBar("KewlButtons1", &form)});
        c->open();
    }
    QString name() { return textOf(&form, "txtNombre"); }
    QString historyShown() {
        return history->rowCount() == 1 ? history->value(0, "Nombre").toString() : QString();
    }

    TempHome home;
    ScriptedDialogs dialogs;
    HostForm form;
    RecordController* c = nullptr;
    DataGrid* history = nullptr;
    DataGrid* list = nullptr;
    bool failSave = false;
};

// Where the list stands after a delete, a blocked delete and the question are driven
// through the customers' file.
TEST_F(RecordScreen, ADeclinedDeleteKeepsTheRowAndAnEmptiedListLeavesOnlyNew) {
    dialogs.answerNo();
    click(&form, "CmdEliminar");
    EXPECT_EQ(dialogs.texts(), QStringList{"¿Borrar UNO"});
    EXPECT_EQ(c->list().count(), 3);
    EXPECT_EQ(name(), "UNO");

    home.db().exec("DELETE FROM Clientes WHERE Nombre <> 'UNO'");
    c->reload();
    dialogs.clear();
    dialogs.answerYes();
    click(&form, "CmdEliminar");
    EXPECT_EQ(dialogs.messages().back().text, "Se han eliminado todos los clientes");
    EXPECT_EQ(c->list().position(), -1);
    EXPECT_EQ(name(), "");
    EXPECT_EQ(history->rowCount(), 0);
    for (const char* off : {"CmdModificar", "CmdEliminar"})
        EXPECT_FALSE(enabled(&form, off)) << off;
    EXPECT_TRUE(enabled(&form, "CmdNuevo"));
}

TEST_F(RecordScreen, TheListShowsWhereTheRecordIsAndChoosesItWhileBrowsing) {
    c->last();
    EXPECT_EQ(list->currentRowIndex(), 2);
    list->setCurrentRowIndex(1);
    EXPECT_EQ(name(), "DOS");
    click(&form, "CmdModificar");
    list->setCurrentRowIndex(0);
    EXPECT_EQ(name(), "DOS");
}

TEST_F(RecordScreen, AFailedSaveStaysInEditModeWithWhatWasTyped) {
    c->next();
    EXPECT_EQ(historyShown(), "DOS");
    click(&form, "CmdNuevo");
    EXPECT_TRUE(c->isEditing());
    // Editing shows the first tab and keeps the history out of reach.
    auto* tabs = form.findChild<QTabWidget*>("SSTab1");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_FALSE(tabs->isTabEnabled(1));
    EXPECT_EQ(textOf(&form, "txtCodigo"), "9");
    EXPECT_FALSE(enabled(&form, "KewlButtons1_0"));  // no walking while editing

    type(&form, "txtNombre", "CUATRO");
    failSave = true;
    click(&form, "CmdGuardar");
    EXPECT_EQ(dialogs.lastText(), "disco lleno");
    EXPECT_EQ(dialogs.messages().back().icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(c->isEditing());
    EXPECT_TRUE(c->isNew());
    EXPECT_EQ(name(), "CUATRO");
    EXPECT_TRUE(enabled(&form, "CmdGuardar"));

    // Saving again once the disk has room stores one new record and shows it.
    failSave = false;
    click(&form, "CmdGuardar");
    EXPECT_FALSE(c->isEditing());
    EXPECT_EQ(home.db().scalar("SELECT count(*) FROM Clientes").toInt(), 4);
    EXPECT_EQ(c->list().position(), 3);
    EXPECT_EQ(name(), "CUATRO");
    EXPECT_TRUE(tabs->isTabEnabled(1));
    EXPECT_EQ(historyShown(), "CUATRO");

    // Cancel after New goes back to the record shown before.
    c->previous();
    click(&form, "CmdNuevo");
    click(&form, "CmdCancelar");
    EXPECT_FALSE(c->isEditing());
    EXPECT_EQ(name(), "TRES");

    // A key that is not in the list reads the keys again before giving up.
    const qint64 added =
        home.db().insert("INSERT INTO Clientes (Codigo, Nombre) VALUES ('5', 'CINCO')");
    EXPECT_TRUE(c->moveToKey(added));
    EXPECT_EQ(name(), "CINCO");
    EXPECT_FALSE(c->moveToKey(999));
    EXPECT_EQ(name(), "CINCO");
}

}  // namespace
