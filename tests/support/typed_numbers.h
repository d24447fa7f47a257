#pragma once

#include <gtest/gtest.h>

#include "core/money.h"

namespace torvane::testing {

// An amount or a quantity as a user types it ("1.234,56", "0,5"); a text that does not read
// fails the test that wrote it.
inline Money euros(const char* text) {
    const auto v = Money::parse(QString::fromUtf8(text));
    EXPECT_TRUE(v.has_value()) << text;
    return v.value_or(Money());
}

inline Quantity qty(const char* text) {
    const auto v = Quantity::parse(QString::fromUtf8(text));
    EXPECT_TRUE(v.has_value()) << text;
    return v.value_or(Quantity());
}

}  // namespace torvane::testing
