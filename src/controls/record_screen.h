#pragma once

#include <QTabWidget>
#include <QVariant>
#include <QWidget>

#include "controls/record_controller.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

// A master file's window: one RecordController over its fields, often in tabs. The
// screen builds its fields, then record_ over them; a search positions it by key.
class RecordScreen : public QWidget {
    Q_OBJECT
  public:
    // Shows the record with this key (a search's choice), reading the keys again when it
    // is new; false when it does not exist or a record is being edited.
    bool moveToKey(const QVariant& key) { return record_->moveToKey(key); }
    bool isEditing() const { return record_->isEditing(); }

  protected:
    RecordScreen(Session& session, Services& services, QWidget* parent)
        : QWidget(parent), session_(session), services_(services), dialogs_(services.dialogs()) {}

    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    RecordController* record_ = nullptr;
    QTabWidget* tabs_ = nullptr;
};

}  // namespace torvane
