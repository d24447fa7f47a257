#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace torvane {

// The toolbar's pictures, drawn at run time so the program ships no image files.
QIcon toolbarIcon(const QString& buttonName);

// The small tile that paints the toolbar's background.
QPixmap toolbarBackgroundTile();

}  // namespace torvane
