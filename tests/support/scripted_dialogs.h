#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <variant>
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
    using Answer = std::variant<bool, QString, std::optional<QString>>;

    ~ScriptedDialogs() override;

    // Queue answers in the order they will be asked.
    void answerYes() { answers_.push_back(true); }
    void answerNo() { answers_.push_back(false); }
    void answerFile(const QString& path) { answers_.push_back(path); }
    void answerInput(std::optional<QString> text) { answers_.push_back(text); }

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
    std::optional<QString> inputText(const QString& prompt, const QString& title,
                                     const QString& initial) override;

  private:
    Answer next(const QString& what);
    std::vector<Entry> entries_;
    std::deque<Answer> answers_;
};

}  // namespace torvane::testing
