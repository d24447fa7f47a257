#pragma once

#include <QLabel>
#include <QLineEdit>

#include "controls/data_grid.h"
#include "controls/header_sort.h"
#include "controls/record_screen.h"

namespace torvane {

class ArticleForm;

// The article file: the article with its family, warehouse and usual supplier,
// and the history of its entries, counter sales and work-order uses.
class Articulos : public RecordScreen {
    Q_OBJECT
  public:
    Articulos(Session& session, Services& services, QWidget* parent = nullptr);

  private:
    void buildGeneralTab(QWidget* tab);
    void buildHistoryTab(QWidget* tab);
    void setUpRecord();
    void shown(const Row& row);
    void updateLowStock();
    void checkDuplicateCode();
    bool eventFilter(QObject* watched, QEvent* event) override;

    ArticleForm* form_ = nullptr;
    QLineEdit* code_ = nullptr;
    QLabel* lowStock_ = nullptr;
    QWidget* generalTab_ = nullptr;
    HeaderSort* entries_ = nullptr;
    HeaderSort* sales_ = nullptr;
    HeaderSort* uses_ = nullptr;
};

}  // namespace torvane
