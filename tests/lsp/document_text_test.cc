// Positions of the protocol in a document's UTF-8 text, and the line index
// kept through incremental changes.
#include "lsp/document_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace zemuc::lsp {
namespace {

using E = PositionEncoding;

struct PositionCase {
  const char* name;
  std::string text;
  Position position;
  E encoding;
  std::size_t offset;  // what the position names
  Position back;       // the position of that offset
};

// 見 is three UTF-8 bytes and one UTF-16 unit; 😀 is four bytes and two
// units (a surrogate pair).
const PositionCase kPositions[] = {
    {"ascii", "ab\ncd", {1, 1}, E::kUtf16, 4, {1, 1}},
    {"after a kanji", "見る\n", {0, 1}, E::kUtf16, 3, {0, 1}},
    {"kanji in utf-8", "見る\n", {0, 3}, E::kUtf8, 3, {0, 3}},
    {"inside a kanji in utf-8", "見る\n", {0, 2}, E::kUtf8, 0, {0, 0}},
    {"after an astral character", "a😀b", {0, 3}, E::kUtf16, 5, {0, 3}},
    {"astral in utf-8", "a😀b", {0, 5}, E::kUtf8, 5, {0, 5}},
    {"inside a surrogate pair", "a😀b", {0, 2}, E::kUtf16, 1, {0, 1}},
    {"past the line's end", "ab\ncd", {0, 9}, E::kUtf16, 2, {0, 2}},
    {"past the last line", "ab\ncd", {7, 0}, E::kUtf16, 5, {1, 2}},
    {"CR LF is one break", "ab\r\ncd", {1, 0}, E::kUtf16, 4, {1, 0}},
    {"inside a CR LF break", "ab\r\ncd", {0, 3}, E::kUtf16, 2, {0, 2}},
    {"a lone CR breaks", "ab\rcd", {1, 1}, E::kUtf16, 4, {1, 1}},
    {"an empty last line", "ab\n", {1, 0}, E::kUtf16, 3, {1, 0}},
    {"tabs count one", "\t\t見", {0, 2}, E::kUtf16, 2, {0, 2}},
};

TEST(DocumentText, PositionsAndOffsets) {
  for (const PositionCase& c : kPositions) {
    const DocumentText text(c.text);
    EXPECT_EQ(text.offset_of(c.position, c.encoding), c.offset) << c.name;
    EXPECT_EQ(text.position_of(c.offset, c.encoding), c.back) << c.name;
  }
}

TEST(DocumentText, CursorGivesWhatSingleLookupsGive) {
  const DocumentText text("\t見る(\"😀\",数a);\r\n数b=1;\rおわり\n😀😀");
  for (const E encoding : {E::kUtf16, E::kUtf8}) {
    PositionCursor cursor(text, encoding);
    for (std::size_t offset = 0; offset <= text.text().size(); ++offset) {
      EXPECT_EQ(cursor.position_of(offset), text.position_of(offset, encoding))
          << offset;
    }
    // Going back starts the walk anew.
    EXPECT_EQ(cursor.position_of(1), text.position_of(1, encoding));
  }
}

// The index after any change is the index of the changed text read anew.
void expect_same_lines(const DocumentText& changed, const std::string& why) {
  const DocumentText fresh(changed.text());
  ASSERT_EQ(changed.line_count(), fresh.line_count()) << why;
  for (std::size_t line = 0; line < fresh.line_count(); ++line) {
    ASSERT_EQ(changed.line_start(line), fresh.line_start(line))
        << why << " line " << line;
  }
}

struct ChangeCase {
  const char* name;
  std::string before;
  std::size_t from;
  std::size_t to;
  std::string with;
  std::string after;
};

const ChangeCase kChanges[] = {
    {"insert in a line", "ab\ncd", 1, 1, "x", "axb\ncd"},
    {"join two lines", "ab\ncd", 2, 3, "", "abcd"},
    {"split a line", "abcd", 2, 2, "\n", "ab\ncd"},
    {"LF after a CR makes one break", "ab\rcd", 3, 3, "\n", "ab\r\ncd"},
    {"CR before an LF makes one break", "ab\ncd", 2, 2, "\r", "ab\r\ncd"},
    {"cut a CR LF in two", "ab\r\ncd", 3, 3, "x", "ab\rx\ncd"},
    {"replace everything", "a\nb\nc", 0, 5, "見\n😀", "見\n😀"},
    {"past the end is clamped", "ab", 1, 99, "", "a"},
};

TEST(DocumentText, ChangesKeepTheLineIndex) {
  for (const ChangeCase& c : kChanges) {
    DocumentText text(c.before);
    text.replace(c.from, c.to, c.with);
    EXPECT_EQ(text.text(), c.after) << c.name;
    expect_same_lines(text, c.name);
  }
}

TEST(DocumentText, ManyRandomChangesKeepTheLineIndex) {
  std::mt19937 random(15);
  const std::string pieces[] = {"\n", "\r", "\r\n", "見", "a", "😀", ""};
  DocumentText text("はじめ\r\n\t見る(\"x\");\nおわり\n");
  for (int i = 0; i < 2000; ++i) {
    const std::size_t size = text.text().size();
    std::size_t from = random() % (size + 1);
    std::size_t to = from + random() % 4;
    std::string with;
    for (int n = random() % 3; n > 0; --n) with += pieces[random() % 7];
    text.replace(from, to, with);
    expect_same_lines(text, "change " + std::to_string(i));
  }
}

}  // namespace
}  // namespace zemuc::lsp
