#pragma once

#include <cstdint>
#include <string_view>

// Numbers in the update file list are read like the C library's atoi: leading
// white space, an optional plus sign, then as many decimal digits as follow.
// Anything else (no digits, a minus sign) reads as 0; values beyond `limit`
// stay at `limit` instead of wrapping.
uint64_t leadingDigits(std::string_view text, uint64_t limit);
