#pragma once

#include <vector>

// number * numerator / denominator, rounded to the nearest; -1 for a denominator of 0.
int MulDiv(int number, int numerator, int denominator);

// The index of each page's first row, rows laid out on pages of a body height. A row never
// leaves a page empty: one taller than the body gets a page of its own, cut at the body's foot.
// Rows of height 0 take no room. No body height at all gives no pages.
std::vector<int> PageStarts(const std::vector<int>& rowHeights, int pageHeight);
