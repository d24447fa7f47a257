#pragma once

#include <QLineEdit>

#include "controls/data_grid.h"
#include "controls/record_screen.h"
#include "masters/named_lists.h"

namespace torvane {

// The families screen and the warehouses screen: a list of names, the name
// being edited and the articles that carry it. Renaming rewrites the articles.
class NamedListScreen : public RecordScreen {
    Q_OBJECT
  public:
    NamedListScreen(Session& session, Services& services, const named_lists::NamedList& list,
                    QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void shown(const Row& row);
    void showArticles(const QString& name);
    void refreshList();
    void updateModify();

    const named_lists::NamedList& list_;
    DataGrid* names_ = nullptr;
    DataGrid* articles_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* articleName_ = nullptr;
};

}  // namespace torvane
