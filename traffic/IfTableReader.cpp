#include "traffic/IfTableReader.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <memory>

namespace {

// bDescr is NUL-terminated by convention only; never read past its 256 bytes.
std::string Description(const MIB_IFROW& row) {
  const char* text = reinterpret_cast<const char*>(row.bDescr);
  return std::string(text, strnlen(text, sizeof row.bDescr));
}

// The wide description in the ANSI code page, as GetIfTable gives it and as the
// "Adapter" setting holds it.
std::string Description(const MIB_IF_ROW2& row) {
  const int length = static_cast<int>(wcsnlen(row.Description, std::size(row.Description)));
  if (length == 0) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, row.Description, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string text(static_cast<size_t>(size), '\0');
  const int written = WideCharToMultiByte(CP_ACP, 0, row.Description, length, text.data(), size, nullptr, nullptr);
  text.resize(static_cast<size_t>(std::max(written, 0)));
  return text;
}

template <typename T>
T Lookup(HMODULE module, const char* name) {
  return module ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

TIfTableReader::TIfTableReader() : getIfTable_(::GetIfTable) {
  // Linked for GetIfTable, so the library is loaded already.
  const HMODULE iphlpapi = GetModuleHandleA("iphlpapi.dll");
  freeMibTable_ = Lookup<TFreeMibTable>(iphlpapi, "FreeMibTable");
  if (freeMibTable_) getIfTable2_ = Lookup<TGetIfTable2>(iphlpapi, "GetIfTable2");
}

TIfTableReader::TIfTableReader(TGetIfTable getIfTable, TGetIfTable2 getIfTable2, TFreeMibTable freeMibTable)
    : getIfTable_(getIfTable),
      getIfTable2_(getIfTable2 && freeMibTable ? getIfTable2 : nullptr),
      freeMibTable_(freeMibTable) {}

bool TIfTableReader::Read(std::vector<TIfRow>& rows) {
  rows.clear();
  const bool read = getIfTable2_ ? ReadWide(rows) : ReadNarrow(rows);
  if (!read) rows.clear();
  return read;
}

bool TIfTableReader::ReadNarrow(std::vector<TIfRow>& rows) {
  if (!getIfTable_) return false;
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
    // This table cannot tell a device's adapter from software's.
    rows.push_back({r.dwType, Description(r), r.dwInOctets, r.dwOutOctets, r.dwIndex,
                    r.dwOperStatus >= IF_OPER_STATUS_CONNECTED, true});
  }
  return true;
}

bool TIfTableReader::ReadWide(std::vector<TIfRow>& rows) {
  MIB_IF_TABLE2* raw = nullptr;
  // The system sizes the table itself, so its row count is all there is to go by.
  if (getIfTable2_(&raw) != NO_ERROR || !raw) return false;
  const std::unique_ptr<MIB_IF_TABLE2, TFreeMibTable> table(raw, freeMibTable_);
  rows.reserve(table->NumEntries);
  for (ULONG i = 0; i < table->NumEntries; ++i) {
    const MIB_IF_ROW2& r = table->Table[i];
    rows.push_back({r.Type, Description(r), r.InOctets, r.OutOctets, r.InterfaceIndex, r.OperStatus == IfOperStatusUp,
                    r.InterfaceAndOperStatusFlags.HardwareInterface != FALSE});
  }
  // Unlike GetIfTable it has no sort flag; the first of two equal descriptions must
  // still be the one with the lower index.
  std::stable_sort(rows.begin(), rows.end(), [](const TIfRow& a, const TIfRow& b) { return a.Index < b.Index; });
  return true;
}

bool TIfTableReader::SameDescription(const std::string& a, const std::string& b) {
  if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
  return CompareStringA(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}
