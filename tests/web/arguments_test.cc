// zemucweb's command lines, and the message lines of what zemuc run says.
#include "web/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "web/answers.h"

namespace zemuc::web {
namespace {

std::variant<Arguments, std::string> parse(std::vector<const char*> args) {
  return parse_arguments(args);
}

TEST(WebArguments, EachCommandTakesItsOwnOptions) {
  struct Row {
    std::vector<const char*> args;
    bool ok;
  };
  const Row rows[] = {
      {{"prepare"}, true},
      {{"prepare", "--lang=ja", "--name=a.zem"}, true},
      {{"prepare", "--failed"}, false},
      {{"prepare", "--lang=fr"}, false},
      {{"prepare", "--lang"}, false},
      {{"prepare", "--name=.zem"}, false},
      {{"prepare", "--name=../x.zem"}, false},
      {{"prepare", "--name=x.txt"}, false},
      {{"prepare", "--name=a.zem", "--name=b.zem"}, false},
      {{"prepare", "extra"}, false},
      {{"explain-build", "--failed"}, true},
      {{"explain-build", "--failed=yes"}, false},
      {{"explain-run"}, false},
      {{"explain-run", "--status=0"}, true},
      {{"explain-run", "--status=255", "--trap=unreachable"}, true},
      {{"explain-run", "--status=256"}, false},
      {{"explain-run", "--status=-1"}, false},
      {{"explain-run", "--status=7x"}, false},
      {{"analyze", "--failed"}, false},
      {{"analyze", "--build-output=b.txt", "--failed"}, true},
      {{"analyze", "--build-output="}, false},
      {{"hover", "--line=0"}, false},
      {{"hover", "--line=0", "--character=4"}, true},
      {{"complete", "--line=3", "--character=-1"}, false},
      {{"compile"}, false},
      {{}, false},
  };
  for (const Row& row : rows) {
    std::string shown;
    for (const char* arg : row.args) shown += std::string(arg) + " ";
    EXPECT_EQ(std::holds_alternative<Arguments>(parse(row.args)), row.ok)
        << shown;
  }
}

TEST(WebArguments, ValuesAreKept) {
  const auto parsed = parse({"explain-run", "--lang=ja", "--name=waru.zem",
                             "--status=3", "--trap=divide by zero"});
  ASSERT_TRUE(std::holds_alternative<Arguments>(parsed));
  const Arguments& got = std::get<Arguments>(parsed);
  EXPECT_EQ(got.command, Command::kExplainRun);
  EXPECT_EQ(got.language, Language::kJapanese);
  EXPECT_EQ(got.name, "waru.zem");
  EXPECT_EQ(got.status, 3);
  EXPECT_EQ(got.trap, "divide by zero");
  const auto plain = parse({"hover", "--line=2", "--character=7"});
  ASSERT_TRUE(std::holds_alternative<Arguments>(plain));
  EXPECT_EQ(std::get<Arguments>(plain).name, "prog.zem");
  EXPECT_EQ(std::get<Arguments>(plain).language, Language::kEnglish);
}

// A message with its source line and caret is one line; a message of
// zemuc's own, or one whose line is not shown, stands alone.
TEST(WebMessageLines, QuotedLinesAndCaretsAreNoMessages) {
  struct Row {
    std::string_view shown;
    std::vector<std::string> lines;
  };
  const Row rows[] = {
      {"", {}},
      {"zemuc: a\n", {"zemuc: a"}},
      {"p.zem:3:7: error: x\n\tc=a/b;\n\t   ^\nzemuc: kept\n",
       {"p.zem:3:7: error: x", "zemuc: kept"}},
      {"p.zem:1:1: warning: w\n\n^\np.zem:2:1: warning: v\nsrc\n  ^\n",
       {"p.zem:1:1: warning: w", "p.zem:2:1: warning: v"}},
      // A source line that looks like a message is still the quoted line.
      {"p.zem:2:1: error: e\nq.zem:1:1: error: f\n^\n",
       {"p.zem:2:1: error: e"}},
      {"p.zem:4: 次の行おかしい: 見る();\nzemuc: z",
       {"p.zem:4: 次の行おかしい: 見る();", "zemuc: z"}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(message_lines(row.shown), row.lines) << row.shown;
  }
}

}  // namespace
}  // namespace zemuc::web
