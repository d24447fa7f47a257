#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QSet>
#include <QToolBar>
#include <QToolButton>

#include "app/toolbar_icons.h"
#include "controls/screen.h"

namespace torvane {

namespace {

const QString kBackupTitle = QStringLiteral("Abrir base de datos");
const QString kDatabaseFilter = QStringLiteral("Archivos Torvane (*.erm)|*.erm");
const QString kCompactError = QStringLiteral("Error al compactar la base de datos");

// Shows the busy cursor over a long operation, after the window has been
// redrawn where the file dialog was.
class BusyCursor {
  public:
    explicit BusyCursor(QWidget* window) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        window->repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    ~BusyCursor() { release(); }
    void release() {
        if (active_) QApplication::restoreOverrideCursor();
        active_ = false;
    }

  private:
    bool active_ = true;
};

// Toolbar1 draws the tiled picture behind its buttons.
class TiledToolBar : public QToolBar {
  public:
    explicit TiledToolBar(QWidget* parent)
        : QToolBar(QStringLiteral("Toolbar1"), parent), tile_(toolbarBackgroundTile()) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawTiledPixmap(rect(), tile_);
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(rect().bottomLeft(), rect().bottomRight());
    }

  private:
    QPixmap tile_;
};

bool isToolbarItem(const MenuItemDef& def) {
    return def.path == kToolbarRoot || def.path.startsWith(kToolbarRoot + kPathSeparator);
}

// Paths that hold other entries: their items get a menu.
QSet<QString> parentPaths() {
    QSet<QString> out;
    for (const auto& def : menuItems()) out.insert(parentPath(def));
    return out;
}

}  // namespace

Menu::Menu(Session& session, Services& services, QWidget* parent)
    : QMainWindow(parent), session_(session), services_(services), dialogs_(services.dialogs()) {
    setObjectName(QStringLiteral("Menu"));
    setWindowTitle(QStringLiteral("Torvane"));
    quit_ = [] { QCoreApplication::exit(0); };

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("CentralArea"));
    setCentralWidget(central);
    lblNombre_ = new QLabel(central);
    lblNombre_->setObjectName(QStringLiteral("LblNombre"));
    lblNombre_->setAlignment(Qt::AlignCenter);
    QFont f = lblNombre_->font();
    f.setPointSize(20);
    f.setBold(true);
    lblNombre_->setFont(f);
    lblNombre_->setText(session_.companyName());
    connect(&session_, &Session::companyNameChanged, this, [this](const QString& name) {
        lblNombre_->setText(name);
        placeCompanyLabel();
    });

    buildMenus();
    buildToolbar();
    buildStatusBar();
    refreshEnabled();

    // Centred on the screen; the toolbar's full width must not push the window off it.
    const QRect area = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 800);
    preferredSize_ = preferredSize_.boundedTo(area.size());
    resize(preferredSize_);
    move(area.center() - QPoint(width() / 2, height() / 2));
}

Menu::~Menu() = default;

QLabel* Menu::panel(int index) const {
    return panels_.value(index - 1);
}

QAction* Menu::item(const QString& objectName) const {
    return items_.value(objectName);
}

void Menu::buildMenus() {
    QHash<QString, QWidget*> containers;
    for (const auto& def : menuItems()) {
        if (isToolbarItem(def)) continue;
        const QString parent = parentPath(def);
        QWidget* container =
            parent.isEmpty() ? static_cast<QWidget*>(menuBar()) : containers.value(parent);
        Q_ASSERT(container);
        QAction* action = nullptr;
        switch (def.kind) {
            case ItemKind::Submenu: {
                auto* menu = new QMenu(captionOf(def), this);
                menu->setObjectName(def.objectName);
                containers.insert(def.path, menu);
                action = menu->menuAction();
                break;
            }
            case ItemKind::Separator:
                action = new QAction(this);
                action->setSeparator(true);
                break;
            default:
                action = new QAction(captionOf(def), this);
                wire(action, def);
                break;
        }
        action->setObjectName(def.objectName);
        container->addAction(action);
        items_.insert(def.objectName, action);
    }
}

void Menu::buildToolbar() {
    toolbar_ = new TiledToolBar(this);
    addToolBar(toolbar_);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(32, 32));

    const QSet<QString> parents = parentPaths();
    QHash<QString, QMenu*> dropDowns;
    for (const auto& def : menuItems()) {
        if (!isToolbarItem(def)) continue;
        const QString parent = parentPath(def);
        auto* action = new QAction(captionOf(def), this);
        action->setObjectName(def.objectName);
        items_.insert(def.objectName, action);
        if (def.kind != ItemKind::Submenu) wire(action, def);
        if (parent != kToolbarRoot) {
            dropDowns.value(parent)->addAction(action);
            continue;
        }
        action->setIcon(toolbarIcon(def.objectName));
        toolbar_->addAction(action);
        if (!parents.contains(def.path)) continue;
        auto* menu = new QMenu(this);
        menu->setObjectName(def.objectName + QStringLiteral("Menu"));
        action->setMenu(menu);
        dropDowns.insert(def.path, menu);
        if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(action))) {
            // A button that is only a drop-down opens its menu on a click.
            button->setPopupMode(def.kind == ItemKind::Submenu ? QToolButton::InstantPopup
                                                               : QToolButton::MenuButtonPopup);
        }
    }
}

void Menu::buildStatusBar() {
    auto* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 1; i <= 4; ++i) {
        auto* p = new QLabel(bar);
        p->setObjectName(QStringLiteral("StatusBar1_Panel%1").arg(i));
        p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        p->setContentsMargins(4, 0, 4, 0);
        panels_ << p;
        bar->addPermanentWidget(p, i == 1 ? 1 : 0);
    }
    panels_[0]->setText(session_.databasePath());
    connect(&session_, &Session::databasePathChanged, panels_[0], &QLabel::setText);
    panels_[1]->setText(QStringLiteral("Torvane"));

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, &Menu::tick);
    timer1_->start();
    tick();
}

void Menu::tick() {
    panels_[2]->setText(session_.today().toString(QStringLiteral("dd/MM/yyyy")));
    panels_[3]->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
}

void Menu::wire(QAction* action, const MenuItemDef& def) {
    connect(action, &QAction::triggered, this, [this, def] { run(def); });
}

void Menu::run(const MenuItemDef& def) {
    if (auto it = overrides_.find(def.objectName); it != overrides_.end()) {
        (*it)();
        return;
    }
    MenuRequest request{def.objectName, def.origin, def.detail};
    switch (def.kind) {
        case ItemKind::Screen: {
            const auto factory = screens_.value(def.target);
            if (!factory) return;
            if (QWidget* screen = factory(request)) openScreen(this, screen);
            return;
        }
        case ItemKind::Command: {
            const auto handler = commands_.value(def.target);
            if (!handler) return;
            if (def.objectName == QLatin1String("mVehMarca")) {
                const auto make = dialogs_.inputText(QStringLiteral("Introduce Marca:"));
                if (!make || make->isEmpty()) return;
                request.origin = def.origin.arg(*make);
            }
            handler(request);
            return;
        }
        case ItemKind::Builtin:
            runBuiltin(def.objectName);
            return;
        case ItemKind::Wired:  // the start-up code connects it itself
        case ItemKind::Submenu:
        case ItemKind::Separator:
        case ItemKind::NoAction:
            return;
    }
}

void Menu::runBuiltin(const QString& name) {
    if (name == QLatin1String("mNuevo") || name == QLatin1String("btnNuevo")) {
        Q_EMIT newDatabaseRequested();
    } else if (name == QLatin1String("mAbrir") || name == QLatin1String("btnAbrir")) {
        Q_EMIT openDatabaseRequested();
    } else if (name == QLatin1String("mSalir") || name == QLatin1String("btnSalir")) {
        close();
    } else if (name == QLatin1String("mCopiaSeguridad")) {
        backup();
    } else if (name == QLatin1String("mCompactar")) {
        compact();
    } else if (name == QLatin1String("btnCalculadora")) {
        launchCalculator(dialogs_, services_.launcher());
    } else if (name == QLatin1String("btnInternet")) {
        launchInternet(dialogs_, services_.launcher());
    } else if (name == QLatin1String("btnAutodata")) {
        launchOutsideProgram(session_, dialogs_, services_.launcher(), kAutodata);
    } else if (name == QLatin1String("btnGuiaTasacciones")) {
        launchOutsideProgram(session_, dialogs_, services_.launcher(), kTasacciones);
    }
}

void Menu::registerScreen(const QString& screenName, ScreenFactory factory) {
    screens_.insert(screenName, std::move(factory));
    refreshEnabled();
}

void Menu::registerCommand(const QString& commandName, CommandHandler handler) {
    commands_.insert(commandName, std::move(handler));
    refreshEnabled();
}

void Menu::registerAction(const QString& objectName, std::function<void()> action) {
    overrides_.insert(objectName, std::move(action));
    refreshEnabled();
}

void Menu::refreshEnabled() {
    // Items whose screen is not built yet stay visible but cannot be chosen.
    for (const auto& def : menuItems()) {
        QAction* action = items_.value(def.objectName);
        if (!action) continue;
        bool enabled = true;
        if (def.kind == ItemKind::Screen)
            enabled = screens_.contains(def.target) || overrides_.contains(def.objectName);
        else if (def.kind == ItemKind::Command)
            enabled = commands_.contains(def.target) || overrides_.contains(def.objectName);
        action->setEnabled(enabled);
    }
}

void Menu::backup() {
    QString target = dialogs_.saveFile(kBackupTitle, kDatabaseFilter);
    if (target.isEmpty()) return;
    // A name typed without extension still gives a file the open dialog shows.
    if (QFileInfo(target).suffix().isEmpty()) target += QStringLiteral(".erm");
    BusyCursor busy(this);
    const auto error = backupDatabase(session_.databasePath(), target);
    busy.release();
    if (error)
        dialogs_.exclamation(
            QStringLiteral("No se ha podido hacer la copia de seguridad.\n%1").arg(*error),
            QStringLiteral("Copia de seguridad"));
    else
        dialogs_.information(QStringLiteral("Copia de seguridad realizada con éxito"));
}

void Menu::compact() {
    if (session_.databasePath().isEmpty()) return;
    BusyCursor busy(this);
    const auto error = compactDatabase(session_, compaction_);
    busy.release();
    if (!error) {
        dialogs_.message(QStringLiteral(" Base de datos compactada."));
        return;
    }
    dialogs_.exclamation(
        QStringLiteral("%1:\n%2 %3")
            .arg(kCompactError, QString::number(error->number), error->description),
        kCompactError);
    dialogs_.message(QStringLiteral(" *** Error al compactar la base de datos ***"));
}

void Menu::closeEvent(QCloseEvent* e) {
    // Whatever the answer, closing the main window ends the program.
    if (!exiting_) {
        exiting_ = true;
        if (dialogs_.question(QStringLiteral("¿Realizar copia de seguridad antes de salir?")))
            backup();
    }
    e->accept();
    if (quit_) quit_();
}

void Menu::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    placeCompanyLabel();
}

void Menu::placeCompanyLabel() {
    // Just above the status bar: 800 twips below the label's bottom edge.
    const int gap = 800 * logicalDpiY() / 1440;
    const int h = lblNombre_->sizeHint().height();
    const int top = height() - statusBar()->height() - h - gap;
    QWidget* central = centralWidget();
    lblNombre_->setGeometry(0, top - central->y(), central->width(), h);
}

}  // namespace torvane
