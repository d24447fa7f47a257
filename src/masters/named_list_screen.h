#pragma once

#include <QLineEdit>
#include <QWidget>

#include "controls/data_grid.h"
#include "controls/record_controller.h"
#include "core/services.h"
#include "core/session.h"
#include "masters/named_lists.h"

namespace torvane {

// The families screen and the warehouses screen: a list of names, the name
// being edited and the articles that carry it. Renaming rewrites the articles.
class NamedListScreen : public QWidget {
    Q_OBJECT
  public:
    NamedListScreen(Session& session, Services& services, const named_lists::NamedList& list,
                    QWidget* parent = nullptr);

    bool isEditing() const { return record_->isEditing(); }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void shown(const Row& row);
    void showArticles(const QString& name);
    void refreshList();
    void updateModify();

    Session& session_;
    Dialogs& dialogs_;
    const named_lists::NamedList& list_;
    RecordController* record_ = nullptr;
    DataGrid* names_ = nullptr;
    DataGrid* articles_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* articleName_ = nullptr;
};

}  // namespace torvane
