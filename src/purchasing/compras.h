#pragma once

#include <QLineEdit>
#include <QWidget>
#include <optional>

#include "controls/line_table.h"
#include "core/services.h"
#include "core/session.h"
#include "masters/articles.h"

namespace torvane {

class OpcEntrada;

// A purchase from one supplier: the lines are held on screen and stored all at
// once by CmdGuardar (entry rows, stock and prices of the articles, materials of
// the work orders the lines are sent to). Closing without saving stores nothing.
class Compras : public QWidget {
    Q_OBJECT
  public:
    Compras(Session& session, Services& services, qint64 supplierId, QWidget* parent = nullptr);

    // The article search's choice: its code goes into TxtCodArt.
    void chooseArticle(const ArticleChoice& choice);
    // What the quick creation hands back.
    void articleCreated(const NewArticle& article);

    LineTableModel* lines() const { return lines_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QLineEdit* field(const char* name) const;
    void lookUpArticle(const QString& code);
    void codeLeft();
    bool askToCreate(const QString& code);
    void checkEntryNumber();
    void checkWorkOrder();
    void addLine();
    void editLine(int row);
    void clearEntry();
    void showTotal();
    bool save();

    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    OpcEntrada* fecha_ = nullptr;
    LineTableModel* lines_ = nullptr;
    LineTable* grid_ = nullptr;
    std::optional<articles::Article> article_;  // the article of TxtCodArt
    bool restoring_ = false;                    // a line put back by double-click: no stock message
    bool saved_ = false;
};

}  // namespace torvane
