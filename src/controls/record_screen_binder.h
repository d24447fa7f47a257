#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "core/record_mode.h"

namespace torvane {

// Applies a RecordMode to a form: commands (found by objectName; a name also
// matches its control array "Name_0", "Name_1", ...) are enabled or disabled,
// and the named fields are locked (read-only) in browse mode.
class RecordScreenBinder : public QObject {
    Q_OBJECT
  public:
    RecordScreenBinder(QWidget* form, RecordMode* mode, const QStringList& fields);
    void setFields(const QStringList& fields);
    void apply();

  private:
    QList<QWidget*> find(const QString& name) const;

    QPointer<QWidget> form_;
    RecordMode* mode_;
    QStringList fields_;
};

// Locks or unlocks one field the way every screen does: text fields become
// read-only (still selectable), other controls are disabled.
void setFieldLocked(QWidget* field, bool locked);

}  // namespace torvane
