#include "core/mimsgbox.h"

namespace torvane {

namespace {
bool boxOpen = false;
}

int MiMsgbox(Dialogs& dialogs, const QString& prompt, const QString& title,
             const QString& yesCaption, const QString& noCaption) {
    if (boxOpen) return kMsgBoxNone;
    boxOpen = true;
    struct Closer {
        ~Closer() { boxOpen = false; }
    } closer;
    const QString yes = yesCaption.isEmpty() ? QStringLiteral("&Sí") : yesCaption;
    const QString no = noCaption.isEmpty() ? QStringLiteral("&No") : noCaption;
    return dialogs.questionWithCaptions(prompt, title, yes, no) ? kMsgBoxYes : kMsgBoxNo;
}

bool miMsgboxOpen() {
    return boxOpen;
}

}  // namespace torvane
