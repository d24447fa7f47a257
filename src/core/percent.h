#pragma once

#include "core/money.h"

namespace torvane {

// What percentage of base the amount is, to `decimals` decimals (0 to 4), halves away from
// zero (to two: the rate a VAT amount stands for); 0 when base is zero.
Quantity percentOf(Money amount, Money base, int decimals = 2);

}  // namespace torvane
