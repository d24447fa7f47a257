// The walk through a record screen's keys stops at the ends. A reload after rows went away
// is driven through the customers' file, an emptied list through the record controller.
#include "core/record_list.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

using torvane::RecordList;
using torvane::testing::TempHome;

namespace {

TEST(RecordList, MovesStopAtTheEnds) {
    TempHome home;
    for (const char* name : {"A", "B", "C"})
        home.db().insert("INSERT INTO Clientes (Codigo, Nombre) VALUES (?, ?)", {name, name});
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
}

}  // namespace
