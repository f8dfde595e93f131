// Splitting the byte stream into messages, whatever pieces it comes in,
// and finding the next message after a header that cannot be used.
#include "server/framing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zemuc::lsp {
namespace {

// "body" for a message, "!" for a malformed header.
std::vector<std::string> frames_of(const std::vector<std::string>& pieces) {
  FrameReader reader;
  std::vector<std::string> out;
  for (const std::string& piece : pieces) {
    reader.feed(piece);
    while (std::optional<Frame> frame = reader.next()) {
      out.push_back(frame->malformed ? "!" : frame->body);
    }
  }
  return out;
}

struct FramingCase {
  const char* name;
  std::vector<std::string> pieces;
  std::vector<std::string> frames;
};

const FramingCase kCases[] = {
    {"one message", {"Content-Length: 2\r\n\r\n{}"}, {"{}"}},
    {"two in one piece",
     {"Content-Length: 1\r\n\r\naContent-Length: 1\r\n\r\nb"},
     {"a", "b"}},
    {"split in the header and the body",
     {"Content-Le", "ngth: 3\r\n\r", "\nab", "c"},
     {"abc"}},
    {"other headers and any case",
     {"content-type: application/vscode-jsonrpc; charset=utf-8\r\n"
      "CONTENT-LENGTH:  2 \r\n\r\n[]"},
     {"[]"}},
    {"a body of multibyte text counts bytes",
     {"Content-Length: 3\r\n\r\n見Content-Length: 1\r\n\r\nx"},
     {"見", "x"}},
    {"an empty body", {"Content-Length: 0\r\n\r\n"}, {""}},
    {"no Content-Length, then a good message",
     {"Content-Type: x\r\n\r\n{}Content-Length: 2\r\n\r\nok"},
     {"!", "ok"}},
    {"a length that is no number",
     {"Content-Length: two\r\n\r\n{}Content-Length: 2\r\n\r\nok"},
     {"!", "ok"}},
    {"a line end inside the value is no blank",
     {"Content-Length: 2\r\r\n\r\n{}Content-Length: 2\r\n\r\nok"},
     {"!", "ok"}},
    {"a negative length",
     {"Content-Length: -5\r\n\r\nContent-Length: 2\r\n\r\nok"},
     {"!", "ok"}},
    {"two lengths that differ",
     {"Content-Length: 2\r\nContent-Length: 3\r\n\r\nContent-Length: "
      "2\r\n\r\nok"},
     {"!", "ok"}},
    {"a length beyond what is taken",
     {"Content-Length: 99999999999999\r\n\r\nContent-Length: 2\r\n\r\nok"},
     {"!", "ok"}},
    {"garbage before a header",
     {"hello\r\nContent-Length: 2\r\n\r\nok"},
     {"!", "ok"}},
    {"a body still coming", {"Content-Length: 5\r\n\r\nab"}, {}},
};

TEST(Framing, Messages) {
  for (const FramingCase& c : kCases) {
    EXPECT_EQ(frames_of(c.pieces), c.frames) << c.name;
  }
}

TEST(Framing, EveryByteAlone) {
  const std::string stream =
      frame("{\"a\":1}") + frame("見る") + "junk\r\n\r\n" + frame("z");
  std::vector<std::string> pieces;
  for (const char c : stream) pieces.emplace_back(1, c);
  EXPECT_EQ(frames_of(pieces),
            (std::vector<std::string>{"{\"a\":1}", "見る", "!", "z"}));
}

TEST(Framing, AHeaderThatNeverEndsIsDropped) {
  FrameReader reader;
  reader.feed(std::string(FrameReader::kLargestHeader + 10, 'x'));
  std::optional<Frame> got = reader.next();
  ASSERT_TRUE(got);
  EXPECT_TRUE(got->malformed);
  reader.feed(frame("ok"));
  got = reader.next();
  ASSERT_TRUE(got);
  EXPECT_EQ(got->body, "ok");
}

}  // namespace
}  // namespace zemuc::lsp
