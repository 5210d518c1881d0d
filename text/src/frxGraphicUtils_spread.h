#pragma once
// Device corrections of the text layout: whole-pixel differences spread over advances
// or line steps so that no element moves by more than one pixel against its neighbours.

#include <span>

// Adds `unit` to `n` elements of values[first .. last], halving the range recursively
// so that the increments are spread evenly. Nothing for n <= 0; n is at most the range
// length.
void frxSpreadIncrements(std::span<int> values, int first, int last, int unit, int n);

// Spreads the signed `difference` over values[first .. last]: an equal share to each
// when it is at least the number of elements, the rest with frxSpreadIncrements.
void frxDistribute(std::span<int> values, int first, int last, int difference);
