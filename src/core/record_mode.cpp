#include "core/record_mode.h"

namespace torvane {

void RecordMode::configure(const QStringList& browseAlways, const QStringList& browseWithRecord,
                           const QStringList& edit) {
    browseAlways_ = browseAlways;
    browseWithRecord_ = browseWithRecord;
    edit_ = edit;
    Q_EMIT changed();
}

void RecordMode::setMode(Mode m) {
    mode_ = m;
    Q_EMIT changed();
}

void RecordMode::setHasRecords(bool has) {
    hasRecords_ = has;
    Q_EMIT changed();
}

void RecordMode::setForcedOff(const QString& command, bool off) {
    if (off)
        forcedOff_.insert(command);
    else
        forcedOff_.remove(command);
    Q_EMIT changed();
}

bool RecordMode::isEnabled(const QString& command) const {
    if (forcedOff_.contains(command)) return false;
    if (mode_ == Mode::Edit) return edit_.contains(command);
    if (browseAlways_.contains(command)) return true;
    return hasRecords_ && browseWithRecord_.contains(command);
}

QStringList RecordMode::commands() const {
    QStringList all = browseAlways_ + browseWithRecord_ + edit_;
    all.removeDuplicates();
    return all;
}

}  // namespace torvane
