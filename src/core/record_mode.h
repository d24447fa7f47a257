#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

namespace torvane {

// The browse/edit pattern shared by every record screen, without widgets:
// which commands are enabled and whether the fields are locked. A screen
// binds it to its controls (controls/record_screen_binder.h).
class RecordMode : public QObject {
    Q_OBJECT
  public:
    enum class Mode { Browse, Edit };
    // When a command is enabled: in browse mode, in browse mode with a current
    // record, in edit mode, or in both modes.
    enum class When { Browse, BrowseWithRecord, Edit, Always };

    explicit RecordMode(QObject* parent = nullptr) : QObject(parent) {}

    // browseAlways: enabled in browse mode; browseWithRecord: enabled in browse
    // mode only while there is a current record; edit: enabled in edit mode.
    void configure(const QStringList& browseAlways, const QStringList& browseWithRecord,
                   const QStringList& edit);
    // Adds one command to the lists.
    void addCommand(const QString& command, When when);

    Mode mode() const { return mode_; }
    void setMode(Mode m);
    bool isEditing() const { return mode_ == Mode::Edit; }
    bool hasRecords() const { return hasRecords_; }
    void setHasRecords(bool has);
    // A command may be switched off for a while beyond what the mode says.
    void setForcedOff(const QString& command, bool off);

    bool isEnabled(const QString& command) const;
    bool fieldsLocked() const { return mode_ == Mode::Browse; }
    QStringList commands() const;

  Q_SIGNALS:
    void changed();

  private:
    QStringList browseAlways_, browseWithRecord_, edit_, always_;
    QSet<QString> forcedOff_;
    Mode mode_ = Mode::Browse;
    bool hasRecords_ = true;
};

}  // namespace torvane
