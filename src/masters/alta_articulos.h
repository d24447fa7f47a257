#pragma once

#include <QWidget>

#include "controls/bound_fields.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

class ArticleForm;

// Quick creation of an article from a work order, counter sale or purchase.
// On closing it hands the new article (or nothing) back to the open screens
// that take new articles, through the article targets of Services.
class AltaArticulos : public QWidget {
    Q_OBJECT
  public:
    AltaArticulos(Session& session, Services& services, QWidget* parent = nullptr);

    // The code typed in the opening screen.
    void setCode(const QString& code);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void save();

    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    ArticleForm* form_ = nullptr;
    BoundFields fields_;
    NewArticle result_;
    bool handedBack_ = false;
};

}  // namespace torvane
