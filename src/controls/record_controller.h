#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <QVariant>
#include <functional>
#include <optional>

#include "controls/bound_fields.h"
#include "controls/command_bar.h"
#include "controls/data_grid.h"
#include "controls/form_fields.h"
#include "controls/navigation_bar.h"
#include "core/dialogs.h"
#include "core/field_binding.h"
#include "core/record_list.h"
#include "core/record_mode.h"
#include "core/session.h"
#include "core/sql_statement.h"

namespace torvane {

class RecordScreenBinder;

// Runs a record screen: the walk through its records (RecordList), browse and
// edit modes, new / modify / save / cancel / delete, first / previous / next /
// last, the enabling of fields and commands per mode, the standard messages
// and the database errors. The screen declares its table, fields and commands
// and supplies the hooks, written in its logic file without widgets.
class RecordController : public QObject {
    Q_OBJECT
  public:
    struct Setup {
        QString table;
        QString keyColumn;
        SqlStatement keys;  // the key column, in walking order
        QList<FieldBinding> fields;
        QStringList lockedControls;   // locked with the fields in browse mode (option buttons)
        QString keyField;             // hidden field showing the current key (none: "")
        QString firstField;           // focused when editing starts and when a check fails
        QString deleteQuestion;       // asked before deleting (none: no question), followed by...
        QString deleteQuestionField;  // ...the text of this control, then...
        QString deleteQuestionEnd;    // ...this ("?")
        QString allDeletedMessage;    // told when the last record is deleted
        bool abandonWhenCheckFails = false;  // a refused save leaves edit mode, not kept
        QTabWidget* tabs = nullptr;          // shown at its first tab while editing...
        int historyTab = -1;                 // ...with this tab off
        DataGrid* historyGrid = nullptr;     // shows Hooks::historyOf the record browsed
        QList<DateField> dates;              // masked entries while editing
        // Lists the records by keyColumn: choosing a row shows that record while
        // browsing, and showing a record selects its row.
        DataGrid* listGrid = nullptr;
    };
    struct Hooks {
        // The values of a new record (codes, defaults). nullopt: no new record
        // can be made now ("Ningún registro activo" is told).
        std::function<std::optional<Row>()> propose;
        // The message that stops a save, or an empty text.
        std::function<QString(const Row& values)> check;
        // Stores the values (key invalid for a new record) and returns the key.
        std::function<QVariant(const QVariant& key, const Row& values)> save;
        // Deletes the record; returns the message that blocks it, or an empty text.
        std::function<QString(const QVariant& key)> remove;
        // After the fields show a record (an empty row when there is none).
        std::function<void(const Row& row)> shown;
        // What historyGrid lists for a record (it is emptied when there is none).
        std::function<SqlStatement(const Row& row)> historyOf;
        // After edit mode starts, and after it ends.
        std::function<void()> editing;
        std::function<void()> browsing;
    };
    enum class Action { New, Modify, Save, Cancel, Delete };

    // The fields named in setup must already be children of form.
    RecordController(QWidget* form, Session& session, Dialogs& dialogs, Setup setup, Hooks hooks);
    // Reads the keys and shows the first record; called once the screen is built.
    void open();

    // A command row running one of the standard sequences, enabled in the mode it needs.
    CommandRow command(Action action, const QString& objectName, const QString& caption);
    // Modify, save, cancel and delete as CmdModificar, CmdGuardar, CmdCancelar and
    // CmdEliminar followed by suffix ("V" for a screen's second record).
    QList<CommandRow> editCommands(const QString& suffix = {});
    // The command row of a master file: CmdNuevo, CmdModificar, CmdGuardar,
    // CmdCancelar, CmdEliminar, the search command (when searchName is given;
    // enabled while browsing a record) and CmdSalir (closes the form).
    QList<CommandRow> standardCommands(const QString& searchName = {},
                                       std::function<void()> search = {});
    // The first/previous/next/last bar (buttons arrayName_0..3), enabled while browsing.
    NavigationBar* navigationBar(const QString& arrayName, QWidget* parent);
    // A master file's command bar: rows, with the navigation bar KewlButtons1 beside them.
    CommandBar* commandBar(QWidget* parent, const QList<CommandRow>& rows);

    RecordMode& mode() { return mode_; }
    const RecordList& list() const { return list_; }
    const BoundFields& fields() const { return fields_; }
    bool isEditing() const { return mode_.isEditing(); }
    bool isNew() const { return isNew_; }
    QVariant currentKey() const { return list_.currentKey(); }

    // Walks another order or subset, staying on the current record when it is in it
    // (else on the first), and shows it.
    void setKeys(const SqlStatement& keys);
    // Reads the keys again (records added or removed elsewhere).
    void reload();
    // Shows the record with this key, reading the keys again when it is new; false
    // (and no move) when it does not exist or a record is being edited.
    bool moveToKey(const QVariant& key);

    void startNew();
    void modify();
    bool save();
    void cancel();
    void remove();
    void first();
    void previous();
    void next();
    void last();

  Q_SIGNALS:
    // The keys were read again; views of the same records refresh.
    void reloaded();

  private:
    void walk(void (RecordList::*move)());
    void showCurrent();
    void show(const Row& row);
    void enterEdit();
    void editingStarted();
    void leaveEdit();
    void focusFirstField();
    bool loadKeys(const SqlStatement& keys);

    QWidget* form_;
    Session& session_;
    Dialogs& dialogs_;
    Setup setup_;
    Hooks hooks_;
    RecordList list_;
    RecordMode mode_;
    BoundFields fields_;
    bool isNew_ = false;
    QVariant keyBeforeEdit_;
};

}  // namespace torvane
