#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace torvane::testing {

ScriptedDialogs::~ScriptedDialogs() {
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answer(s) never used";
}

std::vector<ScriptedDialogs::Entry> ScriptedDialogs::messages() const {
    std::vector<Entry> out;
    for (const auto& e : entries_)
        if (e.kind == Kind::Message) out.push_back(e);
    return out;
}

QStringList ScriptedDialogs::texts() const {
    QStringList out;
    for (const auto& e : entries_) out << e.text;
    return out;
}

QString ScriptedDialogs::lastText() const {
    return entries_.empty() ? QString() : entries_.back().text;
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::next(Kind kind, const QString& what) {
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected dialog: " << what.toStdString();
        return std::nullopt;
    }
    Answer a = std::move(answers_.front());
    answers_.pop_front();
    if (a.kind != kind) {
        ADD_FAILURE() << "dialog answered with an answer of another kind: " << what.toStdString();
        return std::nullopt;
    }
    return a;
}

void ScriptedDialogs::message(const QString& text, Icon icon, const QString& title) {
    entries_.push_back({Kind::Message, text, icon, title, {}});
}

bool ScriptedDialogs::question(const QString& text, const QString& title) {
    entries_.push_back({Kind::Question, text, Icon::None, title, {}});
    const auto a = next(Kind::Question, text);
    return a && a->given;
}

bool ScriptedDialogs::questionWithCaptions(const QString& text, const QString& title,
                                           const QString& yesCaption, const QString& noCaption) {
    entries_.push_back({Kind::Question, text, Icon::None, title, yesCaption + "|" + noCaption});
    const auto a = next(Kind::Question, text);
    return a && a->given;
}

QString ScriptedDialogs::openFile(const QString& title, const QString& filter) {
    entries_.push_back({Kind::File, title, Icon::None, title, filter});
    const auto a = next(Kind::File, title);
    return a ? a->text : QString();
}

QString ScriptedDialogs::saveFile(const QString& title, const QString& filter) {
    return openFile(title, filter);
}

QString ScriptedDialogs::chooseFolder(const QString& title) {
    return openFile(title, QString());
}

std::optional<QString> ScriptedDialogs::inputText(const QString& prompt, const QString& title,
                                                  const QString& initial) {
    entries_.push_back({Kind::Input, prompt, Icon::None, title, initial});
    const auto a = next(Kind::Input, prompt);
    if (!a || !a->given) return std::nullopt;
    return a->text;
}

}  // namespace torvane::testing
