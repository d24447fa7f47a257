#include "controls/command_bar.h"

namespace torvane {

CommandBar::CommandBar(QWidget* parent, const QList<CommandRow>& rows, RecordMode* mode,
                       const QList<QWidget*>& leading)
    : QWidget(parent), mode_(mode) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : leading) layout->addWidget(w);
    layout->addStretch();
    for (const CommandRow& row : rows) {
        auto* b = new QPushButton(row.caption, this);
        b->setObjectName(row.objectName);
        b->setAutoDefault(false);
        layout->addWidget(b);
        if (row.handler) connect(b, &QPushButton::clicked, this, [h = row.handler] { h(); });
        if (mode_) mode_->addCommand(row.objectName, row.when);
        buttons_ << b;
    }
    if (mode_) {
        connect(mode_, &RecordMode::changed, this, &CommandBar::follow);
        follow();
    }
}

QPushButton* CommandBar::button(const QString& objectName) const {
    for (QPushButton* b : buttons_)
        if (b->objectName() == objectName) return b;
    return nullptr;
}

void CommandBar::follow() {
    for (QPushButton* b : buttons_) b->setEnabled(mode_->isEnabled(b->objectName()));
}

}  // namespace torvane
