#include "controls/option_group.h"

#include <QGroupBox>
#include <QHBoxLayout>

namespace torvane {

QList<QRadioButton*> addOptionGroup(QWidget* owner, QBoxLayout* into, const QString& title,
                                    const QString& frameName, const QString& arrayName,
                                    const QStringList& captions, int checked,
                                    const std::function<void(int)>& chosen) {
    auto* frame = new QGroupBox(title, owner);
    frame->setObjectName(frameName);
    auto* row = new QHBoxLayout(frame);
    QList<QRadioButton*> buttons;
    for (int i = 0; i < captions.size(); ++i) {
        auto* b = new QRadioButton(captions[i], frame);
        b->setObjectName(QStringLiteral("%1_%2").arg(arrayName).arg(i));
        b->setChecked(i == checked);
        row->addWidget(b);
        buttons << b;
        // Clicked, not toggled: only the user's choice re-queries.
        QObject::connect(b, &QRadioButton::clicked, frame, [chosen, i] {
            if (chosen) chosen(i);
        });
    }
    row->addStretch();
    into->addWidget(frame);
    return buttons;
}

}  // namespace torvane
