#include "link/requesttable.h"

#include <cstddef>

namespace ostrel {

RequestTable emptyrequesttable() {
  RequestTable table;
  for (auto& list : table) list.fill(0xFF);
  return table;
}

void setrequestaddress(RequestTable& table, int k, std::uint16_t address) {
  auto& list = table[static_cast<std::size_t>(k / 8)];
  const auto slot = static_cast<std::size_t>(2 * (k % 8));
  list[slot] = static_cast<std::uint8_t>(address >> 8);
  list[slot + 1] = static_cast<std::uint8_t>(address & 0xFF);
}

std::uint16_t requestaddress(const RequestTable& table, int k) {
  const auto& list = table[static_cast<std::size_t>(k / 8)];
  const auto slot = static_cast<std::size_t>(2 * (k % 8));
  return static_cast<std::uint16_t>(list[slot] << 8 | list[slot + 1]);
}

}  // namespace ostrel
