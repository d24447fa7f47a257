#pragma once

#include <QPushButton>
#include <QWidget>

namespace torvane {

// The four-button record navigation bar: first, previous, next, last. The
// buttons are named Name_0 .. Name_3 after the control array they replace.
class NavigationBar : public QWidget {
    Q_OBJECT
  public:
    explicit NavigationBar(const QString& arrayName, QWidget* parent = nullptr);

  Q_SIGNALS:
    void first();
    void previous();
    void next();
    void last();
};

}  // namespace torvane
