#include "masters/articulos.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <memory>

#include "articles_fixture.h"
#include "masters/alta_articulos.h"
#include "masters/article_handoffs.h"
#include "masters/busqueda_articulos.h"
#include "masters/named_list_screen.h"
#include "screen_fixture.h"

using namespace torvane;
using namespace torvane::testing;
using Icon = Dialogs::Icon;

namespace {

class ArticleScreens : public ScreenTest {
  protected:
    ArticleScreens() {
        home.session().setToday(QDate(2008, 3, 5));
        registerArticleFileTarget(services, openFile);
    }
    std::unique_ptr<Articulos> openArticles() {
        auto s = open<Articulos>();
        *openFile = s.get();
        return s;
    }
    // Every message shown so far, as "icon:text".
    QStringList shown() const {
        QStringList out;
        for (const auto& m : dialogs.messages())
            out << QString("%1:%2").arg(int(m.icon)).arg(m.text);
        return out;
    }

    OpenArticleFile openFile = std::make_shared<QPointer<Articulos>>();
};

QString crit(const char* text) {
    return QString("%1:%2").arg(int(Icon::Critical)).arg(QString::fromUtf8(text));
}

// Codes, mandatory fields and stored values are ArticlesDb's and ArticleCheck's;
// here the screen proposes, refuses keeping what is typed, and hands its combos over.
TEST_F(ArticleScreens, NewArticleIsCheckedThenStoredWithItsCombos) {
    addFamily(db(), "FRENOS");
    addFamily(db(), "MOTOR");
    addWarehouse(db(), "NAVE 1");
    const qint64 beta = addSupplier(db(), "BETA");
    addSupplier(db(), "ALFA");
    auto s = openArticles();
    click(s.get(), "CmdNuevo");
    EXPECT_EQ(textOf(s.get(), "TxtCodigo"), "A08/03/0001");
    for (const char* on : {"CmdNuevaFamilia", "CmdNuevaUbicacion"})
        EXPECT_TRUE(enabled(s.get(), on)) << on;
    type(s.get(), "txtDescripcion", "pastillas freno");
    type(s.get(), "txtStockA", "4a");
    type(s.get(), "txtStockM", "5");
    click(s.get(), "CmdGuardar");
    EXPECT_EQ(shown(), QStringList({crit("Los campos Codigo, Descripción, Stock actual y Precio de "
                                         "venta son obligatorios")}));

    dialogs.clear();
    type(s.get(), "txtPrecioVenta", "12.5");
    control<QComboBox>(s.get(), "ComboFamilia")->setCurrentIndex(1);
    control<QComboBox>(s.get(), "ComboUbicacion")->setCurrentIndex(0);
    auto* supplier = control<QComboBox>(s.get(), "ComboProveedor");
    supplier->setCurrentIndex(1);  // sorted: ALFA, BETA
    EXPECT_EQ(textOf(s.get(), "TxtId_Pro"), QString::number(beta));
    click(s.get(), "CmdGuardar");
    ASSERT_TRUE(shown().isEmpty()) << shown().join('|').toStdString();
    auto row = db().firstRow("SELECT * FROM Articulos");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value("Familia").toString(), "MOTOR");
    EXPECT_EQ(row->value("Almacen").toString(), "NAVE 1");
    EXPECT_EQ(row->value("Id_Proveedor").toLongLong(), beta);
    // The saved article is shown, with its low stock and its supplier locked.
    EXPECT_TRUE(control<QLabel>(s.get(), "Label3")->isVisibleTo(s.get()));
    EXPECT_EQ(supplier->currentText(), "BETA");
    EXPECT_FALSE(supplier->isEnabled());
}

TEST_F(ArticleScreens, DuplicateCodeIsRefusedAndDeletingTheLastEmptiesTheScreen) {
    addArticle(db(), "A1", "FILTRO");
    addArticle(db(), "B2", "BUJIA");
    auto s = openArticles();
    click(s.get(), "CmdModificar");
    auto* code = control<QLineEdit>(s.get(), "TxtCodigo");
    auto* description = control<QLineEdit>(s.get(), "txtDescripcion");
    code->setFocus();
    code->setText("B2");
    description->setFocus();
    EXPECT_EQ(shown(), QStringList({crit("Ya existe un artículo con este código")}));
    EXPECT_TRUE(code->hasFocus());
    code->setText("A1");
    click(s.get(), "CmdCancelar");

    // Deleting the last article empties the screen.
    dialogs.clear();
    dialogs.answerYes();
    dialogs.answerYes();
    click(s.get(), "CmdEliminar");
    click(s.get(), "CmdEliminar");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Articulos"), 0);
    EXPECT_EQ(dialogs.texts(), (QStringList{"Seguro que quiere eliminar el artículo FILTRO",
                                            "Seguro que quiere eliminar el artículo BUJIA",
                                            "Se han eliminado todos los artículos"}));
    EXPECT_EQ(dialogs.messages().back().icon, Icon::Exclamation);
    // The emptied record is the RecordController's; the file's own commands go off too.
    for (const char* off : {"CmdBuscarArt", "CmdNuevaFamilia"})
        EXPECT_FALSE(enabled(s.get(), off)) << off;
}

// The search hands its choice to an earlier open screen first (ScreenWiring's counter sale),
// else to the article file.
TEST_F(ArticleScreens, SelectionWithNoOtherScreenOpenGoesToTheFile) {
    addArticle(db(), "A1", "FILTRO");
    const qint64 chosen = addArticle(db(), "C3", "CORREA");
    services.handoffs().articleTargets.setTarget(
        ArticleScreen::CounterSale, {[] { return false; }, [](const ArticleChoice&) {}, {}});
    auto file = openArticles();
    click(file.get(), "CmdBuscarArt");
    auto* search = openWindow("BusquedaArticulos");
    ASSERT_NE(search, nullptr);
    type(search, "txtBusqueda", "C");
    click(search, "CmdAcciones");
    settle();
    EXPECT_EQ(openWindow("BusquedaArticulos"), nullptr);
    EXPECT_TRUE(file->isEnabled());
    EXPECT_EQ(textOf(file.get(), "TxtId"), QString::number(chosen));
}

// Storing and handing the new article to the purchase is ComprasScreen's; here the quick
// creation refuses with its own message, and left unsaved hands back an empty code.
TEST_F(ArticleScreens, QuickCreationRefusesThenLeftHandsBackAnEmptyCode) {
    QList<NewArticle> purchase, sale;
    auto& targets = services.handoffs().articleTargets;
    targets.setTarget(ArticleScreen::Purchase,
                      {[] { return true; }, {}, [&](const NewArticle& a) { purchase << a; }});
    targets.setTarget(ArticleScreen::CounterSale,
                      {[] { return false; }, {}, [&](const NewArticle& a) { sale << a; }});
    auto s = open<AltaArticulos>();
    s->setCode("ZX-9");
    type(s.get(), "txtDescripcion", "disco");
    click(s.get(), "CmdGuardar");
    EXPECT_EQ(shown(), QStringList({crit("Los campos Codigo, Descripción, Stock actual Y Precio de "
                                         "venta son obligatorios")}));
    click(s.get(), "CmdSalir");
    ASSERT_EQ(purchase.size(), 1);
    EXPECT_TRUE(sale.isEmpty());  // not open
    EXPECT_FALSE(purchase[0].saved);
    EXPECT_EQ(purchase[0].code, "");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Articulos"), 0);
}

TEST_F(ArticleScreens, FamilyRenameRewritesArticlesAndDeleteAsks) {
    addFamily(db(), "MOTOR");
    addFamily(db(), "FRENOS");
    addArticle(db(), "A1", "PASTILLA", 1, 1, 1, "FRENOS");
    addArticle(db(), "A2", "DISCO", 1, 1, 1, "FRENOS");
    addArticle(db(), "A3", "JUNTA", 1, 1, 1, "MOTOR");
    auto s = open<NamedListScreen>(named_lists::families());
    EXPECT_EQ(s->objectName(), "Familias");
    auto* list = control<DataGrid>(s.get(), "MSHFamilia");
    auto* articles = control<DataGrid>(s.get(), "MSHArticulos");
    EXPECT_EQ(textOf(s.get(), "txtFamilia"), "FRENOS");  // alphabetical
    clickRow(list, 1);
    EXPECT_EQ(articles->rowCount(), 1);
    clickRow(list, 0);

    click(s.get(), "CmdModificar");
    setText(s.get(), "txtFamilia", "frenado");
    EXPECT_EQ(articles->rowCount(), 2);  // still the old name's articles
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(shown().isEmpty()) << shown().join('|').toStdString();
    EXPECT_EQ(count("SELECT COUNT(*) FROM Articulos WHERE Familia = 'FRENADO'"), 2);
    EXPECT_EQ(articles->rowCount(), 2);
    dialogs.answerYes();
    click(s.get(), "CmdEliminar");
    EXPECT_EQ(dialogs.lastText(), "Seguro que quiere eliminar la familia FRENADO");
}

// The families' screen is the same one on another list (FamilyRenameRewritesArticlesAndDeleteAsks).
TEST_F(ArticleScreens, WarehousesRefuseAnEmptyNameAndStoreTheirOwnTable) {
    auto s = open<NamedListScreen>(named_lists::warehouses());
    EXPECT_EQ(s->objectName(), "Almacen");
    click(s.get(), "CmdNuevo");
    type(s.get(), "txtAlmacen", "  ");
    click(s.get(), "CmdGuardar");
    EXPECT_EQ(shown(), QStringList({crit("Debe introducir un nombre para el nuevo almacen")}));
    setText(s.get(), "txtAlmacen", "Nave 2");
    click(s.get(), "CmdGuardar");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Almacenes WHERE Almacen = 'NAVE 2'"), 1);
    dialogs.answerYes();
    click(s.get(), "CmdEliminar");
    EXPECT_EQ(dialogs.lastText(), "Se han eliminado todos los almacenes");
    EXPECT_EQ(textOf(s.get(), "txtAlmacen"), "");  // the emptied list is the RecordController's
}

}  // namespace
