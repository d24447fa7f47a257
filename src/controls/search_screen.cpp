#include "controls/search_screen.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/keyboard_classes.h"

namespace torvane {

SearchScreen::SearchScreen(Session& session, Services& services, QWidget* caller,
                           const QString& origen, QWidget* parent)
    : SearchScreen(session, services, parent) {
    caller_ = caller;
    origen_ = origen;
}

SearchScreen::SearchScreen(Session& session, Services& services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), dialogs_(services.dialogs()) {
    auto* layout = layout_ = new QVBoxLayout(this);

    auto* box = new QGroupBox(QStringLiteral("Buscar por"), this);
    box->setObjectName(QStringLiteral("Frame1"));
    optionsBox_ = box;
    new QHBoxLayout(optionsBox_);
    layout->addWidget(box);

    auto* searchRow = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Buscar:"), this);
    txtBusqueda_ = new QLineEdit(this);
    txtBusqueda_->setObjectName(QStringLiteral("txtBusqueda"));
    label->setBuddy(txtBusqueda_);
    applyKeyClass(txtBusqueda_, KeyClass::K2);
    txtBusqueda_->installEventFilter(this);
    searchRow->addWidget(label);
    searchRow->addWidget(txtBusqueda_, 1);
    layout->addLayout(searchRow);

    grid_ = new DataGrid(QStringLiteral("MSHFlexGrid1"), this);
    layout->addWidget(grid_, 1);

    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setVisible(false);

    connect(txtBusqueda_, &QLineEdit::textChanged, this, [this] { requery(); });
    connect(grid_, &DataGrid::currentRowChanged, this, &SearchScreen::onRowChanged);
    connect(grid_, &DataGrid::rowActivated, this, [this](int) {
        if (defaultCommand_ && defaultCommand_->isEnabled()) defaultCommand_->click();
    });
    resize(640, 480);
}

QString SearchScreen::selectedId() const {
    return text1_->text();
}

void SearchScreen::setOptions(const QList<SearchOption>& options, int initial) {
    options_ = options;
    for (int i = 0; i < options.size(); ++i) {
        auto* b = new QRadioButton(options[i].caption, optionsBox_);
        b->setObjectName(QStringLiteral("Option1_%1").arg(i));
        optionsBox_->layout()->addWidget(b);
        optionButtons_ << b;
        connect(b, &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on) return;
            option_ = i;
            requery();
            txtBusqueda_->setFocus();
        });
    }
    static_cast<QHBoxLayout*>(optionsBox_->layout())->addStretch();
    option_ = initial;
    if (initial >= 0 && initial < optionButtons_.size()) {
        const QSignalBlocker block(optionButtons_[initial]);
        optionButtons_[initial]->setChecked(true);
    }
}

void SearchScreen::setOptions(
    const QStringList& captions,
    const std::function<SqlStatement(int option, const QString& typed)>& query, int initial) {
    QList<SearchOption> options;
    for (int i = 0; i < captions.size(); ++i)
        options << SearchOption{captions[i],
                                [query, i](const QString& typed) { return query(i, typed); }};
    setOptions(options, initial);
}

void SearchScreen::setOption(int index) {
    if (index >= 0 && index < optionButtons_.size()) optionButtons_[index]->setChecked(true);
}

void SearchScreen::setColumns(const QList<GridColumn>& columns) {
    grid_->setColumns(columns);
}

void SearchScreen::runQuery(const SqlStatement& statement) {
    grid_->run(session_.db(), statement, dialogs_);
}

void SearchScreen::requery() {
    if (option_ < 0 || option_ >= options_.size()) return;
    runQuery(options_[option_].query(txtBusqueda_->text()));
}

CommandBar* SearchScreen::setCommands(const QList<CommandRow>& rows) {
    auto* bar = new CommandBar(this, rows, &mode_);
    layout_->addWidget(bar);
    return bar;
}

void SearchScreen::addAcceptClose(const QString& acceptCaption, const QString& closeCaption) {
    using When = RecordMode::When;
    CommandBar* bar = setCommands(
        {{QStringLiteral("CmdAcciones_1"), acceptCaption,
          [this] {
              if (selectedId().isEmpty())
                  dialogs_.critical(QStringLiteral("Ningún registro activo"));
              else
                  accept();
          },
          When::Browse},
         {QStringLiteral("CmdAcciones_2"), closeCaption, [this] { close(); }, When::Browse}});
    setDefaultCommand(bar->button(QStringLiteral("CmdAcciones_1")));
}

void SearchScreen::onRowChanged(int row) {
    const QVariant id = row >= 0 && !idField_.isEmpty() ? grid_->value(row, idField_) : QVariant();
    text1_->setText(id.isValid() && !id.isNull() ? id.toString() : QString());
    mode_.setHasRecords(!text1_->text().isEmpty());
    Q_EMIT selectedRowChanged(row);
}

bool SearchScreen::eventFilter(QObject* watched, QEvent* event) {
    // Down from the search box goes into the list, so the keyboard alone can choose.
    if (watched == txtBusqueda_ && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Down && grid_->rowCount() > 0) {
            grid_->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace torvane
