#pragma once

#include <QBoxLayout>
#include <QWidget>

#include "controls/line_table.h"
#include "core/dialogs.h"

namespace torvane {

// The lines part of an invoice typed by hand: concept, units, unit price and discount
// (TxtConcepto, TxtUnidades, TxtPrecUnidad, TxtDescArt), the add button KewlButtons5
// and the lines grid MSHSalidas; a line is read and added, or refused with its message.
// The lines stay on screen; Supr deletes the current one (the grid does it).
struct FreeLineEntry {
    LineTableModel* lines = nullptr;
    LineTable* grid = nullptr;
};
FreeLineEntry addFreeLineEntry(QWidget* owner, QBoxLayout* layout, Dialogs& dialogs);

}  // namespace torvane
