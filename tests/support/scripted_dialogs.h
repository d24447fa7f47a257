#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

#include "core/dialogs.h"

namespace torvane::testing {

// Dialogs for tests: records every message and question, and answers from a
// queue. A question or file dialog with nothing queued fails the test.
class ScriptedDialogs : public Dialogs {
  public:
    enum class Kind { Message, Question, File, Input };
    struct Entry {
        Kind kind;
        QString text;
        Icon icon = Icon::None;
        QString title;
        QString extra;  // captions, file filter
    };

    ~ScriptedDialogs() override;

    // Queue answers in the order they will be asked.
    void answerYes() { answers_.push_back({Kind::Question, true, {}}); }
    void answerNo() { answers_.push_back({Kind::Question, false, {}}); }
    void answerFile(const QString& path) { answers_.push_back({Kind::File, true, path}); }
    void answerInput(std::optional<QString> text) {
        answers_.push_back({Kind::Input, text.has_value(), text.value_or(QString())});
    }

    const std::vector<Entry>& entries() const { return entries_; }
    std::vector<Entry> messages() const;
    QStringList texts() const;  // every text shown or asked, in order
    QString lastText() const;
    void clear() { entries_.clear(); }
    bool allAnswersUsed() const { return answers_.empty(); }

    void message(const QString& text, Icon icon, const QString& title) override;
    bool question(const QString& text, const QString& title) override;
    bool questionWithCaptions(const QString& text, const QString& title, const QString& yesCaption,
                              const QString& noCaption) override;
    QString openFile(const QString& title, const QString& filter) override;
    QString saveFile(const QString& title, const QString& filter) override;
    // Answered by answerFile like the file dialogs.
    QString chooseFolder(const QString& title) override;
    std::optional<QString> inputText(const QString& prompt, const QString& title,
                                     const QString& initial) override;

  private:
    // A plain struct rather than a variant: copying a variant holding an optional
    // trips GCC's maybe-uninitialized warning at -O3.
    struct Answer {
        Kind kind = Kind::Question;
        bool given = false;  // Yes, or a file / input not cancelled
        QString text;
    };
    // The next queued answer, which must be of this kind; nullopt (and a test
    // failure) when there is none or it is of another kind.
    std::optional<Answer> next(Kind kind, const QString& what);
    std::vector<Entry> entries_;
    std::deque<Answer> answers_;
};

}  // namespace torvane::testing
