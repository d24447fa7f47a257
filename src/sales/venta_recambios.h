#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QWidget>

#include "controls/command_bar.h"
#include "controls/line_table.h"
#include "controls/opc_entrada.h"
#include "core/services.h"
#include "core/session.h"
#include "sales/counter_sale.h"

namespace torvane {

// A date entry field (dd/mm/yyyy) that starts from the session's today.
OpcEntrada* saleDateEntry(QWidget* parent, const QString& objectName, Session& session,
                          Dialogs& dialogs);

// The counter sale: one delivery note of parts for a customer. Lines are stored
// as they are added (a catalogue article's units leave the stock at once);
// deletions in the grid are applied when the note is saved.
class VentaRecambios : public QWidget {
    Q_OBJECT
  public:
    VentaRecambios(Session& session, Services& services, QWidget* parent = nullptr);

    // A new note of series AR for the customer.
    void startNew(qint64 customerId);
    // A stored note, as the sales list opens it.
    void openNote(const QString& number);

    // The article search and the quick creation hand their article here.
    void takeArticle(const ArticleChoice& choice);
    void takeNewArticle(const NewArticle& article);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildLineEntry(class QGridLayout* grid);
    QList<CommandRow> commands();
    QLineEdit* field(const char* name) const;
    // Finds the article of the code; quiet while a stored line is loaded.
    bool lookUpArticle(bool tellNoStock);
    void leaveCode();
    void showFreeLine();
    void clearLineFields();
    void addLine();
    void editLine(int row);
    void deleteLine(int row);
    void reloadLines();
    void showTotals();
    std::optional<sales::NoteHeader> headerFromFields();
    bool saveNote();
    bool hasVisibleLines() const;
    void saveAndClose();
    void printNote();
    void invoice(const QString& report, bool preview);
    void searchArticle();

    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    LineTableModel* lines_ = nullptr;
    LineTable* grid_ = nullptr;
    OpcEntrada* date_ = nullptr;
    QLabel* fromStock_ = nullptr;
    QLabel* noStock_ = nullptr;

    QString number_;
    qint64 customerId_ = 0;
    qint64 articleId_ = 0;     // article of the line being entered; 0 for a free item
    QVariant editingLineId_;   // the stored line loaded by a double click
    bool lineOpened_ = false;  // a line was loaded for editing during this visit
    bool saved_ = false;
    bool newNote_ = true;
    int linesAtOpen_ = 0;
    QList<qint64> deleted_;  // stored lines deleted in the grid, applied on saving
};

}  // namespace torvane
