#pragma once

#include "core/money.h"

namespace torvane {

// What percentage of base the amount is, to two decimals, halves away from zero (the rate a
// VAT amount stands for); 0 when base is zero.
Quantity percentOf(Money amount, Money base);

}  // namespace torvane
