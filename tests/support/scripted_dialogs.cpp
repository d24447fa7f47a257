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

ScriptedDialogs::Answer ScriptedDialogs::next(const QString& what) {
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected dialog: " << what.toStdString();
        return Answer{};
    }
    Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

void ScriptedDialogs::message(const QString& text, Icon icon, const QString& title) {
    entries_.push_back({Kind::Message, text, icon, title, {}});
}

bool ScriptedDialogs::question(const QString& text, const QString& title) {
    entries_.push_back({Kind::Question, text, Icon::None, title, {}});
    Answer a = next(text);
    if (auto* b = std::get_if<bool>(&a)) return *b;
    ADD_FAILURE() << "question answered with a non Yes/No answer: " << text.toStdString();
    return false;
}

bool ScriptedDialogs::questionWithCaptions(const QString& text, const QString& title,
                                           const QString& yesCaption, const QString& noCaption) {
    entries_.push_back({Kind::Question, text, Icon::None, title, yesCaption + "|" + noCaption});
    Answer a = next(text);
    if (auto* b = std::get_if<bool>(&a)) return *b;
    ADD_FAILURE() << "question answered with a non Yes/No answer: " << text.toStdString();
    return false;
}

QString ScriptedDialogs::openFile(const QString& title, const QString& filter) {
    entries_.push_back({Kind::File, title, Icon::None, title, filter});
    Answer a = next(title);
    if (auto* s = std::get_if<QString>(&a)) return *s;
    ADD_FAILURE() << "file dialog answered with a non file answer: " << title.toStdString();
    return {};
}

QString ScriptedDialogs::saveFile(const QString& title, const QString& filter) {
    return openFile(title, filter);
}

std::optional<QString> ScriptedDialogs::inputText(const QString& prompt, const QString& title,
                                                  const QString& initial) {
    entries_.push_back({Kind::Input, prompt, Icon::None, title, initial});
    Answer a = next(prompt);
    if (auto* s = std::get_if<std::optional<QString>>(&a)) return *s;
    ADD_FAILURE() << "input box answered with a non input answer: " << prompt.toStdString();
    return std::nullopt;
}

}  // namespace torvane::testing
