#pragma once

#include <QPushButton>
#include <QWidget>

namespace torvane {

// The four-button record navigation bar: first, previous, next, last. The
// buttons are named Name_0 .. Name_3, a control array that screens and tests
// address by index.
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
