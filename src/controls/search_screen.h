#pragma once

#include <QLineEdit>
#include <QList>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QWidget>
#include <functional>

#include "controls/command_bar.h"
#include "controls/data_grid.h"
#include "core/services.h"
#include "core/session.h"
#include "core/sql_statement.h"

class QVBoxLayout;

namespace torvane {

// One way of searching: the caption of its option button and the query it
// runs for the typed text.
struct SearchOption {
    QString caption;
    std::function<SqlStatement(const QString& typed)> query;
};

// The search screens: a search box (txtBusqueda, upper-cased) that re-queries
// at every change, option buttons Option1_0..n choosing the query, the grid
// MSHFlexGrid1, and the hidden field Text1 holding the id of the selected row.
// Subclasses add their commands and say what accepting a row does.
class SearchScreen : public QWidget {
    Q_OBJECT
  public:
    SearchScreen(Session& session, Services& services, QWidget* parent = nullptr);
    // A search opened by caller for origen: what accepting a row does depends on both.
    SearchScreen(Session& session, Services& services, QWidget* caller, const QString& origen,
                 QWidget* parent = nullptr);

    QString origen() const { return origen_; }
    // Passed on with the choice (the listing a search from the listings serves).
    void setDetail(const QString& detail) { detail_ = detail; }

    QLineEdit* searchBox() const { return txtBusqueda_; }
    DataGrid* grid() const { return grid_; }
    // The id of the selected row (Text1); empty when none.
    QString selectedId() const;
    int option() const { return option_; }
    void setOption(int index);

    // Runs the chosen option's query for the text in the box.
    void requery();

  Q_SIGNALS:
    void selectedRowChanged(int row);

  protected:
    void setOptions(const QList<SearchOption>& options, int initial = 0);
    // One option per caption, all served by one query taking the option's index.
    void setOptions(const QStringList& captions,
                    const std::function<SqlStatement(int option, const QString& typed)>& query,
                    int initial = 0);
    void setColumns(const QList<GridColumn>& columns);
    // The column whose value goes into Text1.
    void setIdField(const QString& field) { idField_ = field; }
    // The list shown before anything is typed.
    void runQuery(const SqlStatement& statement);
    // The command row. A row's mode is Browse (always on) or BrowseWithRecord
    // (on while a row is selected); mode() can force a command off.
    CommandBar* setCommands(const QList<CommandRow>& rows);
    RecordMode& mode() { return mode_; }
    // Accept (CmdAcciones_1) and close (CmdAcciones_2) buttons; accept calls accept()
    // when a row is selected, else tells "Ningún registro activo".
    void addAcceptClose(const QString& acceptCaption = QStringLiteral("Aceptar"),
                        const QString& closeCaption = QStringLiteral("Cerrar"));
    // The button that Enter or a double-click on a row presses.
    void setDefaultCommand(QPushButton* button) { defaultCommand_ = button; }
    virtual void accept() {}
    // A screen that filters events of its own passes the rest on here.
    bool eventFilter(QObject* watched, QEvent* event) override;

    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    QPointer<QWidget> caller_;
    QString origen_;
    QString detail_;

  private:
    void onRowChanged(int row);

    QLineEdit* txtBusqueda_;
    QLineEdit* text1_;
    DataGrid* grid_;
    QWidget* optionsBox_;
    QVBoxLayout* layout_;
    RecordMode mode_;
    QList<QRadioButton*> optionButtons_;
    QList<SearchOption> options_;
    QPushButton* defaultCommand_ = nullptr;
    QString idField_;
    int option_ = 0;
};

}  // namespace torvane
