#include "core/record_mode.h"

namespace torvane {

void RecordMode::configure(const QStringList& browseAlways, const QStringList& browseWithRecord,
                           const QStringList& edit) {
    browseAlways_ = browseAlways;
    browseWithRecord_ = browseWithRecord;
    edit_ = edit;
    Q_EMIT changed();
}

void RecordMode::addCommand(const QString& command, When when) {
    QStringList* const lists[] = {&browseAlways_, &browseWithRecord_, &edit_, &always_};
    *lists[static_cast<int>(when)] << command;
    Q_EMIT changed();
}

// Setters that change nothing stay silent, so screens may tie two modes
// together without a signal loop.
void RecordMode::setMode(Mode m) {
    if (mode_ == m) return;
    mode_ = m;
    Q_EMIT changed();
}

void RecordMode::setHasRecords(bool has) {
    if (hasRecords_ == has) return;
    hasRecords_ = has;
    Q_EMIT changed();
}

void RecordMode::setForcedOff(const QString& command, bool off) {
    if (forcedOff_.contains(command) == off) return;
    if (off)
        forcedOff_.insert(command);
    else
        forcedOff_.remove(command);
    Q_EMIT changed();
}

bool RecordMode::isEnabled(const QString& command) const {
    if (forcedOff_.contains(command)) return false;
    if (always_.contains(command)) return true;
    if (mode_ == Mode::Edit) return edit_.contains(command);
    if (browseAlways_.contains(command)) return true;
    return hasRecords_ && browseWithRecord_.contains(command);
}

QStringList RecordMode::commands() const {
    QStringList all = browseAlways_ + browseWithRecord_ + edit_ + always_;
    all.removeDuplicates();
    return all;
}

}  // namespace torvane
