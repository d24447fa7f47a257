#include "app/main_window.h"

#include <QMenuBar>
#include <QResizeEvent>

namespace torvane {

Menu::Menu(Session& session, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), session_(session), dialogs_(dialogs) {
    setObjectName(QStringLiteral("Menu"));
    setWindowTitle(QStringLiteral("Torvane"));
    resize(1024, 700);

    auto* central = new QWidget(this);
    setCentralWidget(central);
    lblNombre_ = new QLabel(central);
    lblNombre_->setObjectName(QStringLiteral("LblNombre"));
    QFont f = lblNombre_->font();
    f.setPointSize(18);
    f.setBold(true);
    lblNombre_->setFont(f);

    auto* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 1; i <= 4; ++i) {
        auto* p = new QLabel(bar);
        p->setObjectName(QStringLiteral("StatusBar1_Panel%1").arg(i));
        p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_ << p;
        bar->addPermanentWidget(p, i == 1 ? 1 : 0);
    }

    panels_[0]->setText(session_.databasePath());
    lblNombre_->setText(session_.companyName());
    connect(&session_, &Session::databasePathChanged, panels_[0], &QLabel::setText);
    connect(&session_, &Session::companyNameChanged, this, [this](const QString& name) {
        lblNombre_->setText(name);
        placeCompanyLabel();
    });
    buildMenus();
}

QLabel* Menu::panel(int index) const { return panels_.value(index - 1); }

void Menu::buildMenus() {
    auto* archivo = menuBar()->addMenu(QStringLiteral("Archivo"));
    archivo->setObjectName(QStringLiteral("mArchivo"));
    auto* nuevo = archivo->addAction(QStringLiteral("Nuevo"));
    nuevo->setObjectName(QStringLiteral("mNuevo"));
    connect(nuevo, &QAction::triggered, this, &Menu::newDatabaseRequested);
    auto* abrir = archivo->addAction(QStringLiteral("Abrir"));
    abrir->setObjectName(QStringLiteral("mAbrir"));
    connect(abrir, &QAction::triggered, this, &Menu::openDatabaseRequested);
    archivo->addSeparator()->setObjectName(QStringLiteral("mGuion1"));
    auto* salir = archivo->addAction(QStringLiteral("Salir"));
    salir->setObjectName(QStringLiteral("mSalir"));
    connect(salir, &QAction::triggered, this, &QWidget::close);

    auto* opciones = menuBar()->addMenu(QStringLiteral("Opciones"));
    opciones->setObjectName(QStringLiteral("mOpciones"));
    auto* datos = opciones->addAction(QStringLiteral("Datos Taller"));
    datos->setObjectName(QStringLiteral("mDatosTaller"));
}

void Menu::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    placeCompanyLabel();
}

void Menu::placeCompanyLabel() {
    // Just above the status bar (800 twips is about 53 pixels).
    lblNombre_->adjustSize();
    const int top = centralWidget()->height() - lblNombre_->height() - 53;
    lblNombre_->move((centralWidget()->width() - lblNombre_->width()) / 2, qMax(0, top));
}

}  // namespace torvane
