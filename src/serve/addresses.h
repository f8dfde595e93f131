// The addresses learners type to reach this machine.
#ifndef ZEMUC_SERVE_ADDRESSES_H_
#define ZEMUC_SERVE_ADDRESSES_H_

#include <optional>
#include <string>
#include <vector>

namespace zemuc::serve {

// Each IPv4 address of an interface that is up and not the loopback, in
// the system's order; nothing, with errno set, when the system cannot list
// them.
std::optional<std::vector<std::string>> lan_addresses();

}  // namespace zemuc::serve

#endif  // ZEMUC_SERVE_ADDRESSES_H_
