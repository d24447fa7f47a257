#include "core/mimsgbox.h"

namespace torvane {

int MiMsgbox(Dialogs& dialogs, const QString& prompt, const QString& title,
             const QString& yesCaption, const QString& noCaption) {
    if (dialogs.miMsgboxOpen_) return kMsgBoxNone;
    dialogs.miMsgboxOpen_ = true;
    struct Closer {
        Dialogs& d;
        ~Closer() { d.miMsgboxOpen_ = false; }
    } closer{dialogs};
    const QString yes = yesCaption.isEmpty() ? QStringLiteral("&Sí") : yesCaption;
    const QString no = noCaption.isEmpty() ? QStringLiteral("&No") : noCaption;
    return dialogs.questionWithCaptions(prompt, title, yes, no) ? kMsgBoxYes : kMsgBoxNo;
}

}  // namespace torvane
