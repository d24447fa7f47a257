#pragma once

#include <QWidget>

namespace torvane {

// The caller convention: the screen gets a reference to whoever opened it, the
// caller is disabled while the screen is open and enabled again when it closes.
// The screen is a top-level window that deletes itself on close.
void openScreen(QWidget* caller, QWidget* screen);

// Centres a top-level window on its screen.
void centreOnScreen(QWidget* window);

}  // namespace torvane
