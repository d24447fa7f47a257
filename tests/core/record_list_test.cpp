// The walk through a record screen's keys: the ends, and a reload after rows
// went away under it.
#include "core/record_list.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

using torvane::RecordList;
using torvane::testing::TempHome;

namespace {

TEST(RecordList, MovesStopAtTheEndsAndAReloadNeverPointsPastThem) {
    TempHome home;
    QList<qint64> ids;
    for (const char* name : {"A", "B", "C"})
        ids << home.db().insert("INSERT INTO Clientes (Codigo, Nombre) VALUES (?, ?)",
                                {name, name});
    RecordList list;
    list.load(home.db(), "Clientes", "Id_Cli", "SELECT Id_Cli FROM Clientes ORDER BY Id_Cli");
    struct Step {
        void (RecordList::*move)();
        int position;
    };
    const Step steps[] = {{&RecordList::previous, 0},
                          {&RecordList::last, 2},
                          {&RecordList::next, 2},
                          {&RecordList::previous, 1},
                          {&RecordList::first, 0}};
    for (const Step& s : steps) {
        (list.*s.move)();
        EXPECT_EQ(list.position(), s.position);
    }
    EXPECT_FALSE(list.moveToKey(999));
    EXPECT_EQ(list.position(), 0);

    // The current row was the last one and is gone: the list stays on a real row.
    list.last();
    home.db().exec("DELETE FROM Clientes WHERE Id_Cli = ?", {ids[2]});
    list.reload();
    EXPECT_EQ(list.count(), 2);
    ASSERT_TRUE(list.hasCurrent());
    EXPECT_EQ(list.current().value("Nombre").toString(), "A");
    // A row still there stays current through a reload.
    list.moveToKey(ids[1]);
    list.reload();
    EXPECT_EQ(list.currentKey().toLongLong(), ids[1]);

    home.db().exec("DELETE FROM Clientes");
    list.reload();
    EXPECT_EQ(list.position(), -1);
    EXPECT_FALSE(list.currentKey().isValid());
    EXPECT_TRUE(list.current().isEmpty());
    list.next();
    list.last();
    EXPECT_EQ(list.position(), -1);
}

}  // namespace
