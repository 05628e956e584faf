#pragma once

#include <string>

#include "convert/ConvertColumns.h"
#include "protocol/NavSample.h"

// The converted file's text: a header naming the selected columns, then one
// row of numbers per frame. Column names carry the GBK degree and Celsius
// signs that the files' readers expect; lines end in CR LF, and only when a
// group is selected.

std::string HeaderLine(const ConvertColumns& columns);

// Appends the row for one decoded sample.
void AppendRow(std::string& out, const NavSample& sample, const ConvertColumns& columns);

// Appends value as printf's "%.<decimals>f" would print it.
void AppendFixed(std::string& out, double value, int decimals);
