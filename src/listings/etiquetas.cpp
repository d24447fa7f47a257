#include "listings/etiquetas.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/db_errors.h"
#include "listings/address_labels.h"
#include "reports/informes.h"
#include "reports/labels_sheet.h"

namespace torvane {

namespace {

const QColor kStartColour(0xB0, 0xE0, 0xEE);  // &HEEE0B0: blue, green, red
const QColor kOtherColour(Qt::white);

void paint(QFrame* shape, const QColor& colour) {
    QPalette p = shape->palette();
    p.setColor(QPalette::Window, colour);
    shape->setPalette(p);
}

}  // namespace

Etiquetas::Etiquetas(Session& session, Services& services, QWidget* parent)
    : SearchScreen(session, services, parent) {
    setObjectName(QStringLiteral("Etiquetas"));
    setWindowTitle(QStringLiteral("Etiquetas"));
    setOptions({QStringLiteral("Código"), QStringLiteral("NIF"), QStringLiteral("Nombre"),
                QStringLiteral("Palabra del nombre"), QStringLiteral("Matrícula")},
               [](int option, const QString& typed) {
                   return listings::labelCustomerSearch(option, typed);
               });
    setColumns(listings::labelGridColumns());
    setIdField(QStringLiteral("Id_Cli"));
    grid()->gridModel()->setRowMarks([this](int row) {
        return marks_.count(grid()->value(row, QStringLiteral("Id_Cli")).toLongLong()) > 0;
    });
    connect(grid(), &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { toggle(index.row()); });
    connect(grid()->gridModel(), &QAbstractItemModel::modelReset, this,
            [this] { listedChanged(); });

    auto* bottom = new QHBoxLayout;
    auto* which = new QGroupBox(QStringLiteral("Imprimir"), this);
    which->setObjectName(QStringLiteral("Frame2"));
    auto* whichLayout = new QVBoxLayout(which);
    todos_ = new QRadioButton(QStringLiteral("Todos"), which);
    todos_->setObjectName(QStringLiteral("OptionTodos"));
    manual_ = new QRadioButton(QStringLiteral("Marcados"), which);
    manual_->setObjectName(QStringLiteral("OptionManual"));
    manual_->setChecked(true);
    whichLayout->addWidget(todos_);
    whichLayout->addWidget(manual_);
    whichLayout->addStretch();
    connect(todos_, &QRadioButton::clicked, this, [this] { chooseAll(); });
    connect(manual_, &QRadioButton::clicked, this, [this] { chooseManual(); });
    bottom->addWidget(which);

    // The sheet as it lies in the printer: click the label where printing begins.
    auto* sheet = new QGroupBox(QStringLiteral("Empezar en la etiqueta"), this);
    sheet->setObjectName(QStringLiteral("Frame3"));
    auto* sheetLayout = new QGridLayout(sheet);
    sheetLayout->setSpacing(2);
    for (int i = 1; i <= reports::LabelSheet::kPerSheet; ++i) {
        auto* shape = new QFrame(sheet);
        shape->setObjectName(QStringLiteral("Shape1_%1").arg(i));
        shape->setFrameShape(QFrame::Box);
        shape->setAutoFillBackground(true);
        shape->setMinimumSize(48, 18);
        auto* label = new QLabel(QString::number(i), shape);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setAlignment(Qt::AlignCenter);
        label->installEventFilter(this);
        auto* inner = new QHBoxLayout(shape);
        inner->setContentsMargins(0, 0, 0, 0);
        inner->addWidget(label);
        sheetLayout->addWidget(shape, (i - 1) / 2, (i - 1) % 2);
        shapes_ << shape;
        labels_ << label;
    }
    bottom->addWidget(sheet);
    bottom->addStretch();
    static_cast<QVBoxLayout*>(layout())->addLayout(bottom);

    using When = RecordMode::When;
    setCommands(
        {{QStringLiteral("KewlButtons1"), QStringLiteral("Desmarcar todos"),
          [this] { clearMarks(); }, When::Browse},
         {QStringLiteral("CmdImprimir"), QStringLiteral("Imprimir"), [this] { imprimir(); },
          When::Browse},
         {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }, When::Browse}});

    runQuery(listings::labelCustomersInitial());
    // Nothing to print on a database without customers.
    mode().setForcedOff(QStringLiteral("CmdImprimir"), grid()->rowCount() == 0);
    setStart(1);
    resize(560, 620);
}

SqlStatement Etiquetas::listed() const {
    if (searchBox()->text().isEmpty() && option() == 0) return listings::labelCustomersInitial();
    return listings::labelCustomerSearch(option(), searchBox()->text());
}

void Etiquetas::toggle(int row) {
    if (row < 0 || !grid()->isEnabled()) return;
    const qint64 id = grid()->value(row, QStringLiteral("Id_Cli")).toLongLong();
    if (!marks_.erase(id)) marks_.insert(id);
    grid()->gridModel()->marksChanged();
}

void Etiquetas::listedChanged() {
    // "Todos" marks every customer as the search lists them.
    if (!todos_ || !todos_->isChecked()) return;
    try {
        const std::set<qint64> ids = listings::listedCustomers(session_.db(), listed());
        marks_.insert(ids.begin(), ids.end());
    } catch (const DbError&) {
        // As with the search itself: the list simply shows nothing new.
    }
    grid()->gridModel()->marksChanged();
}

void Etiquetas::chooseAll() {
    grid()->setEnabled(false);
    listedChanged();
}

void Etiquetas::chooseManual() {
    grid()->setEnabled(true);
}

void Etiquetas::clearMarks() {
    marks_.clear();
    manual_->setChecked(true);
    chooseManual();
    grid()->gridModel()->marksChanged();
}

void Etiquetas::setStart(int position) {
    start_ = position;
    for (int i = 0; i < shapes_.size(); ++i)
        paint(shapes_[i], i + 1 == position ? kStartColour : kOtherColour);
}

bool Etiquetas::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const int i = labels_.indexOf(static_cast<QLabel*>(watched));
        if (i >= 0) {
            setStart(i + 1);
            return true;
        }
    }
    return SearchScreen::eventFilter(watched, event);
}

void Etiquetas::imprimir() {
    std::vector<QStringList> labels;
    if (!reportingDbErrors(dialogs_, [&] {
            labels = todos_->isChecked() ? listings::labelsOfListed(session_.db(), listed())
                                         : listings::labelsOfMarked(session_.db(), marks_);
        }))
        return;
    if (labels.empty()) {
        dialogs_.exclamation(QStringLiteral(
            "No hay ningún cliente marcado: marque los clientes en la lista o elija «Todos»."));
        return;
    }
    const reports::RenderedReport sheets = reports::addressLabels(labels, start_);
    if (!reports::printRendered(services_, sheets, QStringLiteral("Etiquetas"))) return;
    // One past the last label printed.
    start_ = (start_ - 1 + int(labels.size())) % reports::LabelSheet::kPerSheet + 1;
    close();
}

}  // namespace torvane
