#pragma once

#include "controls/search_screen.h"

namespace torvane {

// The stored entry rows, newest first, with prefix searches; CmdEliminar or Supr
// deletes the current row without a question and leaves stock and prices alone.
class ListCompras : public SearchScreen {
    Q_OBJECT
  public:
    ListCompras(Session& session, Services& services, QWidget* parent = nullptr);

    void deleteCurrent();
};

}  // namespace torvane
