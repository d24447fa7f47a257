#pragma once

#include <utility>

#include "core/dialogs.h"
#include "data/database.h"

namespace torvane {

// Runs work; a database error becomes the user's message (the one place where
// that happens for screens). False when there was an error.
template <class Work>
bool reportingDbErrors(Dialogs& dialogs, Work&& work) {
    try {
        std::forward<Work>(work)();
        return true;
    } catch (const DbError& e) {
        dialogs.critical(e.message());
        return false;
    }
}

}  // namespace torvane
