#pragma once

#include <QString>
#include <optional>

namespace torvane {

// Every message box, question, input box and file dialog of the program goes
// through this interface, so tests can script the answers.
class Dialogs {
  public:
    enum class Icon { None, Information, Exclamation, Critical };

    virtual ~Dialogs() = default;

    // An OK-only message box. An empty title means the program's name.
    virtual void message(const QString& text, Icon icon = Icon::None,
                         const QString& title = {}) = 0;
    // A Yes/No question; true means Yes.
    virtual bool question(const QString& text, const QString& title = {}) = 0;
    // A Yes/No question whose buttons read yesCaption and noCaption; true means Yes.
    virtual bool questionWithCaptions(const QString& text, const QString& title,
                                      const QString& yesCaption, const QString& noCaption) = 0;
    // File dialogs take the filter as "Description (*.ext)|*.ext"; a cancelled
    // dialog gives an empty text.
    virtual QString openFile(const QString& title, const QString& filter) = 0;
    virtual QString saveFile(const QString& title, const QString& filter) = 0;
    // A folder chosen by the user; empty when cancelled (or when there is nobody to ask).
    virtual QString chooseFolder(const QString& title) {
        (void)title;
        return {};
    }
    // std::nullopt when cancelled.
    virtual std::optional<QString> inputText(const QString& prompt, const QString& title = {},
                                             const QString& initial = {}) = 0;
    // A secret typed without showing it (a certificate's password); std::nullopt when
    // cancelled. Doubles that script input boxes answer it as one.
    virtual std::optional<QString> inputPassword(const QString& prompt, const QString& title = {}) {
        return inputText(prompt, title);
    }

    // Convenience wrappers.
    void information(const QString& text, const QString& title = {}) {
        message(text, Icon::Information, title);
    }
    void exclamation(const QString& text, const QString& title = {}) {
        message(text, Icon::Exclamation, title);
    }
    void critical(const QString& text, const QString& title = {}) {
        message(text, Icon::Critical, title);
    }

    // Whether a MiMsgbox is showing through these dialogs (only one at a time).
    bool miMsgboxOpen() const { return miMsgboxOpen_; }

  private:
    friend int MiMsgbox(Dialogs& dialogs, const QString& prompt, const QString& title,
                        const QString& yesCaption, const QString& noCaption);
    bool miMsgboxOpen_ = false;
};

}  // namespace torvane
