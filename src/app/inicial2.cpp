#include "app/inicial2.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace torvane {

Inicial2::Inicial2(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Inicial2"));
    setWindowTitle(QStringLiteral("Torvane 2007"));
    setWindowFlag(Qt::Window);

    auto* title = new QLabel(QStringLiteral("Torvane 2007"), this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 8);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    auto* text = new QLabel(QStringLiteral("No hay ninguna base de datos abierta.\n"
                                           "Abra una base de datos existente o cree una nueva."),
                            this);
    text->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->setSpacing(10);
    layout->addWidget(title);
    layout->addWidget(text);
    layout->addSpacing(8);

    struct Command {
        const char* name;
        QString caption;
        void (Inicial2::*signal)();
    };
    const Command commands[] = {
        {"cmdAbrir", QStringLiteral("&Abrir base de datos"), &Inicial2::abrir},
        {"CmdNuevo", QStringLiteral("&Crear base de datos"), &Inicial2::nuevo},
        {"CmdSalir", QStringLiteral("&Salir"), &Inicial2::salir},
    };
    for (const auto& c : commands) {
        auto* b = new QPushButton(c.caption, this);
        b->setObjectName(QString::fromLatin1(c.name));
        b->setMinimumHeight(32);
        b->setAutoDefault(false);
        layout->addWidget(b);
        connect(b, &QPushButton::clicked, this, c.signal);
    }
    setFixedSize(sizeHint().expandedTo(QSize(360, 0)));
}

void Inicial2::dismiss() {
    dismissed_ = true;
    close();
}

void Inicial2::closeEvent(QCloseEvent* event) {
    // Closing the window is leaving the program, like CmdSalir.
    if (!dismissed_) Q_EMIT salir();
    event->accept();
}

}  // namespace torvane
