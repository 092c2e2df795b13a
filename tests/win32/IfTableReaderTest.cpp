#include "traffic/IfTableReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

namespace {

// The 64-bit table, allocated by the "system" and freed through FreeMibTable.
struct TFakeSystem2 {
  bool NullTable = false;  // success without a table
  std::vector<MIB_IF_ROW2> Rows;
  int Tables = 0, Frees = 0;
} Fake2;

DWORD WINAPI FakeGetIfTable2(PMIB_IF_TABLE2* table) {
  *table = nullptr;
  if (Fake2.NullTable) return NO_ERROR;
  const size_t size = offsetof(MIB_IF_TABLE2, Table) + (Fake2.Rows.size() + 1) * sizeof(MIB_IF_ROW2);
  auto* t = static_cast<MIB_IF_TABLE2*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
  t->NumEntries = static_cast<ULONG>(Fake2.Rows.size());
  std::copy(Fake2.Rows.begin(), Fake2.Rows.end(), t->Table);
  ++Fake2.Tables;
  return *table = t, NO_ERROR;
}

void WINAPI FakeFreeMibTable(PVOID table) { ++Fake2.Frees, HeapFree(GetProcessHeap(), 0, table); }

MIB_IF_ROW2 Row2(ULONG index, std::wstring descr, ULONG64 in = 0, ULONG64 out = 0) {
  MIB_IF_ROW2 r{};
  r.InterfaceIndex = index, r.Type = IfTypeEthernet, r.InOctets = in, r.OutOctets = out;
  std::copy_n(descr.begin(), std::min(descr.size(), std::size(r.Description)), r.Description);
  r.PhysicalAddressLength = 6;  // what follows the description, so reading past it shows
  return r;
}

using TFields = std::vector<std::tuple<uint32_t, std::string, uint64_t, uint64_t>>;

TEST(IfTableReader, WideTableInIndexOrderWithWholeDescriptionsAndEveryTableFreed) {
  const std::wstring full(std::size(MIB_IF_ROW2{}.Description), L'D');  // no NUL left
  Fake2 = {};
  Fake2.Rows = {Row2(7, L"seven", 1, 2), Row2(3, L"", 0x123456789AB, 0xFFFFFFFFFFFFFFFF), Row2(3, full),
                Row2(4, L"caf\u00e9")};
  TIfTableReader reader(nullptr, FakeGetIfTable2, FakeFreeMibTable);
  std::vector<TIfRow> rows;
  ASSERT_TRUE(reader.WideCounters() && reader.Read(rows));
  TFields fields;
  for (const TIfRow& r : rows) fields.emplace_back(r.Index, r.Descr, r.InOctets, r.OutOctets);
  const std::string cafe = GetACP() == 1252 ? "caf\xE9" : std::get<1>(fields.at(2));  // in the ANSI code page
  EXPECT_EQ(fields, (TFields{{3, "", 0x123456789AB, 0xFFFFFFFFFFFFFFFF}, {3, std::string(full.size(), 'D'), 0, 0},
                             {4, cafe, 0, 0}, {7, "seven", 1, 2}}));
  TSamplerState form;
  form.AdapterName = std::string(full.size(), 'D');
  EXPECT_EQ(SampleAdapter(form, reader), TReading::First) << "the longest description is found again";
  EXPECT_FALSE(reader.SameDescription("eth0", "ETH0")) << "case counts";

  // success without a table: no table, and nothing of the system's to free
  Fake2.NullTable = true;
  rows = {{6, "stale", 0, 0}};
  EXPECT_TRUE(!reader.Read(rows) && rows.empty());
  EXPECT_EQ(std::tuple(Fake2.Tables, Fake2.Frees), std::tuple(2, 2));
}

}  // namespace
