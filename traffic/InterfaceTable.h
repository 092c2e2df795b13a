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
  uint32_t InOctets = 0, OutOctets = 0;  // wrap modulo 2^32
};

// IANA ifType values offered for selection.
inline constexpr uint32_t IfTypeEthernet = 6;
inline constexpr uint32_t IfTypePpp = 23;
// Wi-Fi, which Windows since Vista reports apart from Ethernet.
inline constexpr uint32_t IfTypeWireless = 71;

// Where the rows come from: GetIfTable on Windows, a fake in tests.
class TInterfaceTable {
public:
  virtual ~TInterfaceTable() = default;
  // Fills rows in ascending interface index; false when there is no table.
  virtual bool Read(std::vector<TIfRow>& rows) = 0;
  // Whether a row's description names the stored adapter (case-sensitive).
  virtual bool SameDescription(const std::string& a, const std::string& b) { return a == b; }
};
