#pragma once

#include <QPointer>
#include <QWidget>

#include "core/dialogs.h"

namespace torvane {

// The real message boxes and file dialogs.
class QtDialogs : public Dialogs {
  public:
    void message(const QString& text, Icon icon, const QString& title) override;
    bool question(const QString& text, const QString& title) override;
    bool questionWithCaptions(const QString& text, const QString& title, const QString& yesCaption,
                              const QString& noCaption) override;
    QString openFile(const QString& title, const QString& filter) override;
    QString saveFile(const QString& title, const QString& filter) override;
    QString chooseFolder(const QString& title) override;
    std::optional<QString> inputText(const QString& prompt, const QString& title,
                                     const QString& initial) override;
    std::optional<QString> inputPassword(const QString& prompt, const QString& title) override;
};

// "Archivos Torvane (*.erm)|*.erm" -> "Archivos Torvane (*.erm)"; several
// description|pattern pairs become several Qt filters.
QString toQtFilter(const QString& filter);

}  // namespace torvane
