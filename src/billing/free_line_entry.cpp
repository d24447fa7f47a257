#include "billing/free_line_entry.h"

#include <QLineEdit>
#include <QPushButton>

#include "billing/free_invoices.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"

namespace torvane {

namespace {

void addTypedLine(QWidget* owner, LineTableModel* lines, Dialogs& dialogs) {
    const auto field = [owner](const char* name) {
        return owner->findChild<QLineEdit*>(QString::fromLatin1(name));
    };
    const free_invoices::LineEntry entry =
        free_invoices::readLine(field("TxtConcepto")->text(), field("TxtUnidades")->text(),
                                field("TxtPrecUnidad")->text(), field("TxtDescArt")->text());
    if (!entry.line) {
        dialogs.critical(entry.error);
        return;
    }
    lines->addLine(*entry.line);
    field("TxtUnidades")->setText(QStringLiteral("1"));
    field("TxtDescArt")->setText(QStringLiteral("0"));
    field("TxtConcepto")->clear();
    field("TxtPrecUnidad")->clear();
    field("TxtConcepto")->setFocus();
}

}  // namespace

FreeLineEntry addFreeLineEntry(QWidget* owner, QBoxLayout* layout, Dialogs& dialogs) {
    auto* entry = addFormGrid(layout);
    addFields(owner, entry,
              {{"Concepto:", "TxtConcepto", 0, 0, 3},
               {"Unidades:", "TxtUnidades", 1, 0, 1, 80},
               {"Precio:", "TxtPrecUnidad", 1, 2, 1, 110},
               {"Dto. %:", "TxtDescArt", 2, 0, 1, 80}});
    applyKeyClasses(owner, {{KeyClass::K4, "TxtConcepto"},
                            {KeyClass::K3, "TxtUnidades TxtDescArt"},
                            {KeyClass::K5, "TxtPrecUnidad"}});
    owner->findChild<QLineEdit*>(QStringLiteral("TxtUnidades"))->setText(QStringLiteral("1"));
    owner->findChild<QLineEdit*>(QStringLiteral("TxtDescArt"))->setText(QStringLiteral("0"));

    FreeLineEntry out;
    out.lines = new LineTableModel({{LineField::Description, QStringLiteral("Concepto"), false},
                                    {LineField::Units, QStringLiteral("Unidades"), false},
                                    {LineField::Price, QStringLiteral("Precio"), false},
                                    {LineField::Discount, QStringLiteral("Dto"), false},
                                    {LineField::Amount, QStringLiteral("Importe"), false}},
                                   DeletedLines::Hidden, owner);
    auto* add = new QPushButton(QStringLiteral("Añadir línea"), owner);
    add->setObjectName(QStringLiteral("KewlButtons5"));
    entry->addWidget(add, 2, 3);
    LineTableModel* lines = out.lines;
    QObject::connect(add, &QPushButton::clicked, owner,
                     [owner, lines, &dialogs] { addTypedLine(owner, lines, dialogs); });
    out.grid = new LineTable(QStringLiteral("MSHSalidas"), out.lines, owner);
    layout->addWidget(out.grid, 1);
    return out;
}

}  // namespace torvane
