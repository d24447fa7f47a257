#include "purchasing/list_compras.h"

#include <QGroupBox>
#include <QKeyEvent>

#include "core/db_errors.h"
#include "purchasing/purchases.h"

namespace torvane {

namespace {

// Supr on the grid deletes the current row, as the command does.
class DeleteKey : public QObject {
  public:
    DeleteKey(ListCompras* list, QObject* grid) : QObject(grid), list_(list) {
        grid->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
            list_->deleteCurrent();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    ListCompras* list_;
};

}  // namespace

ListCompras::ListCompras(Session& session, Services& services, QWidget* parent)
    : SearchScreen(session, services, parent) {
    setObjectName(QStringLiteral("ListCompras"));
    setWindowTitle(QStringLiteral("Listado de compras"));
    searchBox()->setObjectName(QStringLiteral("TxtBusqueda"));
    grid()->setObjectName(QStringLiteral("MSHCompras"));
    if (auto* frame = findChild<QGroupBox*>(QStringLiteral("Frame1")))
        frame->setTitle(QStringLiteral("Búsqueda por:"));
    setOptions(purchases::listOptionCaptions(), [this](int option, const QString& typed) {
        return purchases::listSearch(session_.db(), option, typed);
    });
    setColumns(purchases::listColumns());
    setIdField(QStringLiteral("Id_Ent"));
    using When = RecordMode::When;
    setCommands(
        {{QStringLiteral("CmdEliminar"), QStringLiteral("Eliminar"), [this] { deleteCurrent(); },
          When::BrowseWithRecord},
         {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }, When::Browse}});
    new DeleteKey(this, grid());
    resize(900, 520);
    runQuery(purchases::listAll());
}

void ListCompras::deleteCurrent() {
    const QString id = selectedId();
    if (id.isEmpty()) return;
    const int row = grid()->currentRowIndex();
    if (!reportingDbErrors(dialogs_,
                           [&] { purchases::deleteEntry(session_.db(), id.toLongLong()); }))
        return;
    if (searchBox()->text().isEmpty())
        runQuery(purchases::listAll());
    else
        requery();
    if (grid()->rowCount() > 0) grid()->setCurrentRowIndex(std::min(row, grid()->rowCount() - 1));
}

}  // namespace torvane
