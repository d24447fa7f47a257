#pragma once

#include <QWidget>

namespace torvane {

// The caller convention: the screen gets a reference to whoever opened it, the
// caller is disabled while the screen is open and enabled again when it closes.
// The screen is a top-level window that deletes itself on close.
void openScreen(QWidget* caller, QWidget* screen);

// The screen that opened screen through openScreen (nullptr when none or gone).
QWidget* callerOf(QWidget* screen);

// Opens screen for the caller of closing and closes closing: the caller stays
// disabled until the new screen closes (a search that hands over to a record
// screen).
void openScreenInstead(QWidget* closing, QWidget* screen);

// Centres a top-level window on its screen.
void centreOnScreen(QWidget* window);

}  // namespace torvane
