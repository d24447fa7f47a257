#pragma once

#include <QPointer>
#include <memory>

#include "core/services.h"

namespace torvane {

class Articulos;

// The article file the app opened last, shared by the menu's factory and the
// article target it registers.
using OpenArticleFile = std::shared_ptr<QPointer<Articulos>>;

// Registers the article file as the last screen the article search hands its
// choice to: the open file shows the chosen article.
void registerArticleFileTarget(Services& services, OpenArticleFile openFile);

}  // namespace torvane
