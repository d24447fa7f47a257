#include "controls/navigation_bar.h"

#include <QHBoxLayout>

namespace torvane {

NavigationBar::NavigationBar(const QString& arrayName, QWidget* parent) : QWidget(parent) {
    setObjectName(arrayName);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const char* captions[] = {"|<", "<", ">", ">|"};
    const char* tips[] = {"Primero", "Anterior", "Siguiente", "Último"};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(QString::fromLatin1(captions[i]), this);
        b->setObjectName(QStringLiteral("%1_%2").arg(arrayName).arg(i));
        b->setToolTip(QString::fromUtf8(tips[i]));
        b->setAutoDefault(false);
        b->setFixedWidth(40);
        layout->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] {
            switch (i) {
                case 0:
                    Q_EMIT first();
                    break;
                case 1:
                    Q_EMIT previous();
                    break;
                case 2:
                    Q_EMIT next();
                    break;
                default:
                    Q_EMIT last();
                    break;
            }
        });
    }
    layout->addStretch();
}

}  // namespace torvane
