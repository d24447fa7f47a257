#pragma once

#include <QString>

#include "core/dialogs.h"

namespace torvane {

// Message-box result codes that callers compare against.
inline constexpr int kMsgBoxNone = 0;  // not shown: another box was already open
inline constexpr int kMsgBoxYes = 6;
inline constexpr int kMsgBoxNo = 7;

// A Yes/No box whose buttons read yesCaption and noCaption (an empty caption
// keeps the standard text). Returns kMsgBoxYes or kMsgBoxNo; while another
// such box is open a second call returns kMsgBoxNone at once.
int MiMsgbox(Dialogs& dialogs, const QString& prompt, const QString& title,
             const QString& yesCaption, const QString& noCaption);

}  // namespace torvane
