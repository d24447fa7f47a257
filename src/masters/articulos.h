#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QWidget>

#include "controls/data_grid.h"
#include "controls/header_sort.h"
#include "controls/record_controller.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

class ArticleForm;

// The article file: the article with its family, warehouse and usual supplier,
// and the history of its entries, counter sales and work-order uses.
class Articulos : public QWidget {
    Q_OBJECT
  public:
    Articulos(Session& session, Services& services, QWidget* parent = nullptr);

    // The search hands its choice here: the file reads its articles again and
    // shows this one. False while an article is being edited.
    bool showArticle(qint64 articleId);
    bool isEditing() const { return record_->isEditing(); }

  private:
    void buildGeneralTab(QWidget* tab);
    void buildHistoryTab(QWidget* tab);
    void setUpRecord();
    void shown(const Row& row);
    void updateLowStock();
    void checkDuplicateCode();
    bool eventFilter(QObject* watched, QEvent* event) override;

    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    RecordController* record_ = nullptr;
    ArticleForm* form_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* txtId_ = nullptr;
    QLineEdit* code_ = nullptr;
    QLabel* lowStock_ = nullptr;
    QWidget* generalTab_ = nullptr;
    HeaderSort* entries_ = nullptr;
    HeaderSort* sales_ = nullptr;
    HeaderSort* uses_ = nullptr;
};

}  // namespace torvane
