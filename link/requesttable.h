#pragma once

#include <array>
#include <cstdint>

namespace ostrel {

// A live window's request table: two lists of eight ECU RAM addresses, high byte then low byte, 0xFF 0xFF for an
// empty slot. List 0 goes to ECU RAM 0x6DB0, list 1 to 0x6DC0; the ECU answers window-data requests with the bytes
// at those addresses, address k of the table as data byte k.
using RequestTable = std::array<std::array<std::uint8_t, 16>, 2>;
inline constexpr int requestaddresses = 16;

// Every slot empty.
RequestTable emptyrequesttable();
// Address k (0 to 15) of the table: list k / 8, slot k % 8.
void setrequestaddress(RequestTable& table, int k, std::uint16_t address);
std::uint16_t requestaddress(const RequestTable& table, int k);

// The table whose address k is addressof(k) for every k; an address keeps its low 16 bits.
template <class AddressOf>
RequestTable requesttableof(AddressOf addressof) {
  RequestTable table{};
  for (int k = 0; k < requestaddresses; ++k)
    setrequestaddress(table, k, static_cast<std::uint16_t>(addressof(k) & 0xFFFF));
  return table;
}

}  // namespace ostrel
