#pragma once

#include <gtest/gtest.h>
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

    ~ScriptedDialogs() override {
        EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answer(s) never used";
    }

    // Queue answers in the order they will be asked.
    void answerYes() { answers_.push_back({Kind::Question, true, {}}); }
    void answerNo() { answers_.push_back({Kind::Question, false, {}}); }
    void answerFile(const QString& path) { answers_.push_back({Kind::File, true, path}); }
    void answerInput(std::optional<QString> text) {
        answers_.push_back({Kind::Input, text.has_value(), text.value_or(QString())});
    }

    const std::vector<Entry>& entries() const { return entries_; }
    std::vector<Entry> messages() const {
        std::vector<Entry> out;
        for (const auto& e : entries_)
            if (e.kind == Kind::Message) out.push_back(e);
        return out;
    }
    // Every text shown or asked, in order.
    QStringList texts() const {
        QStringList out;
        for (const auto& e : entries_) out << e.text;
        return out;
    }
    QString lastText() const { return entries_.empty() ? QString() : entries_.back().text; }
    void clear() { entries_.clear(); }
    bool allAnswersUsed() const { return answers_.empty(); }

    void message(const QString& text, Icon icon, const QString& title) override {
        entries_.push_back({Kind::Message, text, icon, title, {}});
    }
    bool question(const QString& text, const QString& title) override {
        entries_.push_back({Kind::Question, text, Icon::None, title, {}});
        const auto a = next(Kind::Question, text);
        return a && a->given;
    }
    bool questionWithCaptions(const QString& text, const QString& title, const QString& yesCaption,
                              const QString& noCaption) override {
        entries_.push_back({Kind::Question, text, Icon::None, title, yesCaption + "|" + noCaption});
        const auto a = next(Kind::Question, text);
        return a && a->given;
    }
    QString openFile(const QString& title, const QString& filter) override {
        entries_.push_back({Kind::File, title, Icon::None, title, filter});
        const auto a = next(Kind::File, title);
        return a ? a->text : QString();
    }
    QString saveFile(const QString& title, const QString& filter) override {
        return openFile(title, filter);
    }
    // Answered by answerFile like the file dialogs.
    QString chooseFolder(const QString& title) override { return openFile(title, QString()); }
    std::optional<QString> inputText(const QString& prompt, const QString& title,
                                     const QString& initial) override {
        entries_.push_back({Kind::Input, prompt, Icon::None, title, initial});
        const auto a = next(Kind::Input, prompt);
        if (!a || !a->given) return std::nullopt;
        return a->text;
    }

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
    std::optional<Answer> next(Kind kind, const QString& what) {
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected dialog: " << what.toStdString();
            return std::nullopt;
        }
        Answer a = std::move(answers_.front());
        answers_.pop_front();
        if (a.kind != kind) {
            ADD_FAILURE() << "dialog answered with an answer of another kind: "
                          << what.toStdString();
            return std::nullopt;
        }
        return a;
    }
    std::vector<Entry> entries_;
    std::deque<Answer> answers_;
};

}  // namespace torvane::testing
