// Writing to a file descriptor whole, as pipes and terminals take it.
#ifndef ZEMUC_SYS_FD_H_
#define ZEMUC_SYS_FD_H_

#include <string_view>

namespace zemuc {

// Writes every byte, going on after interruptions and partial writes;
// false when the descriptor takes no more (a closed pipe).
bool write_all(int fd, std::string_view bytes);

}  // namespace zemuc

#endif  // ZEMUC_SYS_FD_H_
