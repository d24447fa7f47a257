#pragma once

#include <QList>
#include <set>

#include "controls/search_screen.h"

class QFrame;
class QLabel;
class QRadioButton;

namespace torvane {

// Address labels: the customers listed by the search are printed on sheets of 16
// labels, all of them or the rows marked, from the label chosen on the sheet picture.
class Etiquetas : public SearchScreen {
    Q_OBJECT
  public:
    Etiquetas(Session& session, Services& services, QWidget* parent = nullptr);

    // The label on the sheet where printing begins (1 to 16).
    int startPosition() const { return start_; }
    // The customers marked, by Id_Cli; they stay marked through later searches.
    const std::set<qint64>& marks() const { return marks_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    SqlStatement listed() const;
    void toggle(int row);
    void listedChanged();
    void chooseAll();
    void chooseManual();
    void clearMarks();
    void setStart(int position);
    void imprimir();

    QRadioButton* todos_ = nullptr;
    QRadioButton* manual_ = nullptr;
    QList<QFrame*> shapes_;
    QList<QLabel*> labels_;
    std::set<qint64> marks_;
    int start_ = 1;
};

}  // namespace torvane
