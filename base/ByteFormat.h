// Byte counts as short texts: one truncated decimal, no blank before the unit.
#pragma once
#include <cstdint>
#include <string>

// "B", "KB", "MB", "GB" (1535 -> "1.4KB"); quotients in 64 bits, so 2 TiB and more still read right.
std::string FormatBytes(int64_t octets);
// "b", "k", "M" (1535 -> "1.4k").
std::string FormatBytesShort(int32_t octets);
