#include "traffic/IfTableReader.h"

#include <climits>
#include <cstddef>
#include <cstring>

namespace {

// bDescr is NUL-terminated by convention only; never read past its 256 bytes.
std::string Description(const MIB_IFROW& row) {
  const char* text = reinterpret_cast<const char*>(row.bDescr);
  return std::string(text, strnlen(text, sizeof row.bDescr));
}

}  // namespace

bool TIfTableReader::Read(std::vector<TIfRow>& rows) {
  rows.clear();
  ULONG size = 0;
  if (getIfTable_(nullptr, &size, TRUE) != ERROR_INSUFFICIENT_BUFFER) return false;
  constexpr size_t header = offsetof(MIB_IFTABLE, table);
  if (size < header) return false;

  // DWORD elements keep the table aligned; the vector frees it on every path.
  std::vector<DWORD> buffer((size + sizeof(DWORD) - 1) / sizeof(DWORD));
  ULONG given = static_cast<ULONG>(buffer.size() * sizeof(DWORD));
  auto* table = reinterpret_cast<MIB_IFTABLE*>(buffer.data());
  if (getIfTable_(table, &given, TRUE) != NO_ERROR) return false;

  // Trust the row count only as far as the buffer reaches.
  const size_t fit = (buffer.size() * sizeof(DWORD) - header) / sizeof(MIB_IFROW);
  const size_t count = table->dwNumEntries < fit ? table->dwNumEntries : fit;
  rows.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const MIB_IFROW& r = table->table[i];
    rows.push_back({r.dwType, Description(r), r.dwInOctets, r.dwOutOctets});
  }
  return true;
}

bool TIfTableReader::SameDescription(const std::string& a, const std::string& b) {
  if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
  return CompareStringA(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}
