#pragma once

#include "core/services.h"
#include "core/session.h"

namespace torvane {

// Registers the work-order editor: the new-work-order opener (customer screen,
// vehicle search), the editor of a stored work order (work-order list) and the
// editor's side of the article search and quick creation.
void registerWorkOrderEditor(Session& session, Services& services);

}  // namespace torvane
