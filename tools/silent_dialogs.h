#pragma once

#include "core/dialogs.h"

namespace torvane::gen {

// The generator and its checks never show anything; the routines they share with the
// screens (tax ids, numbering) only need somewhere to talk to.
class SilentDialogs : public Dialogs {
  public:
    void message(const QString&, Icon, const QString&) override {}
    bool question(const QString&, const QString&) override { return false; }
    bool questionWithCaptions(const QString&, const QString&, const QString&,
                              const QString&) override {
        return false;
    }
    QString openFile(const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&) override { return {}; }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
};

}  // namespace torvane::gen
