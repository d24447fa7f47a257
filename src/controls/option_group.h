#pragma once

#include <QBoxLayout>
#include <QList>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <functional>

namespace torvane {

// A framed row of option buttons (a control array): the frame is named frameName,
// the buttons arrayName_0, arrayName_1, ... Button `checked` starts checked;
// choosing another calls chosen(index).
QList<QRadioButton*> addOptionGroup(QWidget* owner, QBoxLayout* into, const QString& title,
                                    const QString& frameName, const QString& arrayName,
                                    const QStringList& captions, int checked,
                                    const std::function<void(int)>& chosen);

}  // namespace torvane
