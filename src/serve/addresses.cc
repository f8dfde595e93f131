#include "serve/addresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>

namespace zemuc::serve {

std::optional<std::vector<std::string>> lan_addresses() {
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return std::nullopt;
  std::vector<std::string> addresses;
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
        (entry->ifa_flags & IFF_UP) == 0 ||
        (entry->ifa_flags & IFF_LOOPBACK) != 0)
      continue;
    char text[INET_ADDRSTRLEN];
    const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
    if (::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) == nullptr)
      continue;
    // One line for an address that two interfaces share.
    if (std::find(addresses.begin(), addresses.end(), text) == addresses.end())
      addresses.emplace_back(text);
  }
  ::freeifaddrs(list);
  return addresses;
}

}  // namespace zemuc::serve
