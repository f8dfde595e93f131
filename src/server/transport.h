// The server's standard input and output: reading whatever the client has
// sent so far, and writing whole messages.
#ifndef ZEMUC_SERVER_TRANSPORT_H_
#define ZEMUC_SERVER_TRANSPORT_H_

#include <string_view>

#include "server/framing.h"

namespace zemuc::lsp {

enum class ReadResult {
  kRead,    // bytes were fed to the reader
  kNone,    // nothing was waiting (only when not waiting)
  kEnd,     // the client closed its end
  kFailed,  // a read failed; errno says why
};

// Feeds `reader` everything that `fd` holds now. With `wait`, first waits
// until something comes. A burst of messages is read in one go, so that
// the server sees the latest of a run of changes before it analyses any.
ReadResult read_waiting(int fd, FrameReader& reader, bool wait);

// Whether `fd` has bytes (or its end) waiting to be read.
bool input_waiting(int fd);

// Waits until `fd` or `other` (-1 for none) has something to read, or
// `timeout_ms` has passed (-1: no limit); false with errno set when the
// wait fails.
bool wait_readable(int fd, int other, int timeout_ms);

// Writes one message with its header; false with errno set when the
// client no longer reads.
bool write_message(int fd, std::string_view body);

}  // namespace zemuc::lsp

#endif  // ZEMUC_SERVER_TRANSPORT_H_
