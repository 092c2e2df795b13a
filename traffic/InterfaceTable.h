// The system's interface table as the program reads it, behind a seam so tests can
// play any table.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One row of the interface table, as much of it as the program uses.
struct TIfRow {
  uint32_t Type = 0;  // IANA ifType
  std::string Descr;  // the adapter's identity
  uint64_t InOctets = 0, OutOctets = 0;  // only the low 32 bits count in a table of 32-bit counters
  uint32_t Index = 0;  // interface index; a re-created interface gets a new one
  bool Up = true;        // operational; a table that cannot tell says up
  bool Hardware = true;  // a device's own adapter, not one made by software (a VPN's, a VM's)
};

// IANA ifType values offered for selection.
inline constexpr uint32_t IfTypeEthernet = 6;
inline constexpr uint32_t IfTypePpp = 23;
// Wi-Fi, which Windows since Vista reports apart from Ethernet.
inline constexpr uint32_t IfTypeWireless = 71;
// Mobile broadband, in its two kinds.
inline constexpr uint32_t IfTypeWwanPp = 243;
inline constexpr uint32_t IfTypeWwanPp2 = 244;

// Where the rows come from: GetIfTable2 or GetIfTable on Windows, a fake in tests.
class TInterfaceTable {
public:
  virtual ~TInterfaceTable() = default;
  // Fills rows in ascending interface index; false when there is no table.
  virtual bool Read(std::vector<TIfRow>& rows) = 0;
  // Whether a row's description names the stored adapter (case-sensitive).
  virtual bool SameDescription(const std::string& a, const std::string& b) { return a == b; }
  // 64-bit counters that never wrap, or 32-bit ones that wrap modulo 2^32.
  virtual bool WideCounters() { return false; }
};
