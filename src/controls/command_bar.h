#pragma once

#include <QHBoxLayout>
#include <QList>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <functional>

#include "core/record_mode.h"

namespace torvane {

// One command button: its objectName, caption, what a click does and in which
// modes it is enabled.
struct CommandRow {
    QString objectName;
    QString caption;
    std::function<void()> handler;
    RecordMode::When when = RecordMode::When::Always;
};

// A row of command buttons built from declared rows. With a RecordMode, each
// row's `when` is added to the mode, and the bar follows it (a button is also
// off while the mode forces it off). Record screens, search screens and
// document editors build every command row this way.
class CommandBar : public QWidget {
    Q_OBJECT
  public:
    // Buttons are right-aligned unless `leading` widgets (a navigation bar) go first.
    CommandBar(QWidget* parent, const QList<CommandRow>& rows, RecordMode* mode = nullptr,
               const QList<QWidget*>& leading = {});

    QPushButton* button(const QString& objectName) const;

  private:
    void follow();

    RecordMode* mode_;
    QList<QPushButton*> buttons_;
};

}  // namespace torvane
