// Every mend that `zemuc check` words as code, or that the language server
// offers as an edit, followed: the finding goes, the program builds, and
// it does what the line meant.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "check/check_support.h"
#include "check/messages.h"
#include "lsp/features.h"
#include "zemuc/run_zemuc.h"

namespace zemuc::testing {
namespace {

using check::Problem;

std::string framed(const std::string& body) {
  return "はじめ\n" + body + "おわり\n";
}

// The program with the language server's one mend applied, or nothing.
std::optional<std::string> code_action_applied(const std::string& program) {
  lsp::Document document("file:///p.zem", 1, program);
  lsp::Session session;
  session.encoding = lsp::PositionEncoding::kUtf8;
  const std::vector<lsp::CodeAction> actions =
      lsp::code_actions(document, {0, 0}, {1000, 0}, session);
  if (actions.size() != 1 || actions[0].uri != "file:///p.zem") {
    return std::nullopt;
  }
  std::string text = program;
  const std::vector<lsp::TextEdit>& edits = actions[0].edits;
  for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
    const std::size_t from = document.text().offset_of(
        edit->range.start, lsp::PositionEncoding::kUtf8);
    const std::size_t to = document.text().offset_of(
        edit->range.end, lsp::PositionEncoding::kUtf8);
    text.replace(from, to - from, edit->new_text);
  }
  return text;
}

const std::string kTail = "--->何か文字を入れれば終わるよ";

TEST(Advice, EachMendFollowedBuildsAndKeepsTheMeaning) {
  const std::string opened = "\t開く(入力,\"in.txt\",r);\n";
  const struct {
    Problem problem;
    std::string before;  // a whole program, UTF-8, with that one finding
    const char* says;    // the mend, as the English text words it
    std::string after;   // the program with the mend followed
    bool offered;        // whether the code action makes exactly `after`
    std::string shown;   // what `after` shows, given "7\n"
  } cases[] = {
      {Problem::kKeywordGlued, framed("\t見る\"x\";\n"), "見る(...)",
       framed("\t見る(\"x\";\n"), true, "x\n"},
      {Problem::kKeywordSpaceRemoved, framed("\t見る \"x\";\n"), "見る(...)",
       framed("\t見る(\"x\";\n"), true, "x\n"},
      {Problem::kWideSpace, framed("　見る(\"x\");\n"), "Indent with tabs",
       framed("\t見る(\"x\");\n"), true, "x\n"},
      {Problem::kKeywordAfterElse,
       framed("\tif(1>0){\n\t} else 見る(\"x\");\n"), "}else{",
       framed("\tif(1>0){\n\t}else{\n\t見る(\"x\");\n\t}\n"), false, ""},
      {Problem::kVariableBeforeKeyword,
       framed("\t数a=1;\n\tif(数a>0)見る(\"x\");\n"), "if(...){",
       framed("\t数a=1;\n\tif(数a>0){\n\t見る(\"x\");\n\t}\n"), false, "x\n"},
      {Problem::kDisplayNoLabel, framed("\t数a=3;\n\t見る(数a);\n"),
       "見る(\"label\",数a)", framed("\t数a=3;\n\t見る(\"label\",数a);\n"),
       false, "label[3]\n"},
      {Problem::kDisplayNothing, framed("\t見る();\n"), "見る(\"text\")",
       framed("\t見る(\"text\");\n"), false, "text\n"},
      {Problem::kSpacesInQuotes, framed("\t見る(\"a b\");\n"),
       "full-width space (　)", framed("\t見る(\"a　b\");\n"), false, "a　b\n"},
      {Problem::kOperatorInName,
       framed("\t打つ(数a);\n\tif(数a!=0){\n\t見る(\"x\");\n\t}\n"), "(数a)!=0",
       framed("\t打つ(数a);\n\tif((数a)!=0){\n\t見る(\"x\");\n\t}\n"), false,
       "x\n"},
      // Which sign it is matters: ~7 is -8, !7 is 0.
      {Problem::kNameAfterSign,
       framed("\t打つ(数a);\n\t数c=~数a;\n\t見る(\"c\",数c);\n"), "~(数a)",
       framed("\t打つ(数a);\n\t数c=~(数a);\n\t見る(\"c\",数c);\n"), true,
       "c[-8]\n"},
      {Problem::kNameAfterSign,
       framed("\t打つ(数a);\n\t数c=!数a;\n\t見る(\"c\",数c);\n"), "!(数a)",
       framed("\t打つ(数a);\n\t数c=!(数a);\n\t見る(\"c\",数c);\n"), true,
       "c[0]\n"},
      {Problem::kNameAfterSign,
       framed("\tscanf(\"%d\",&数a);\n\t見る(\"a\",数a);\n"), "&(数a)",
       framed("\tscanf(\"%d\",&(数a));\n\t見る(\"a\",数a);\n"), true, "a[7]\n"},
      {Problem::kReadFileNotOpened, framed("\t読む(入口,数a);\n"),
       "開く(入口,\"file\",r)",
       framed("\t開く(入口,\"in.txt\",r);\n\t読む(入口,数a);\n"
              "\t見る(\"a\",数a);\n"),
       false, "a[5]\n"},
      {Problem::kRepeatBoundMissing,
       framed("\tくり返し(){\n\t見る(\"x\");\n\t}\n"), "くり返し(10){",
       framed("\tくり返し(2){\n\t見る(\"x\");\n\t}\n"), false, "x\nx\n"},
      {Problem::kOpenModeOther, framed("\t開く(入力,\"in.txt\",\"r\");\n"),
       "Write r to read", framed(opened), false, ""},
      {Problem::kOpenPathNotYetSet,
       framed("\t開く(入力,字p,r);\n\t字p=\"in.txt\";\n"), "字p=\"file\";",
       framed("\t字p=\"in.txt\";\n\t開く(入力,字p,r);\n"), false, ""},
      {Problem::kStringCompare,
       framed("\t字s=\"a\";\n\t字t=\"a\";\n\tif(字s==字t){\n\t見る(\"=\");\n\t}"
              "\n"),
       "strcmp(字s,字t)==0",
       framed("\t字s=\"a\";\n\t字t=\"a\";\n\tif(strcmp(字s,字t)==0){\n\t見る("
              "\"=\");\n\t}\n"),
       false, "=\n"},
      {Problem::kStringCopyTab,
       framed("\t字s\t=\t\"x\";\n\t見る(\"s\",字s);\n"), "字s=\"...\";",
       framed("\t字s=\"x\";\n\t見る(\"s\",字s);\n"), false, "s[x]\n"},
      {Problem::kUnclosedBrace, framed("\tif(1>0){\n\t見る(\"x\");\n"),
       "a } line", framed("\tif(1>0){\n\t見る(\"x\");\n\t}\n"), false, "x\n"},
      {Problem::kBeginMissing, "\t見る(\"x\");\n", "Write はじめ",
       framed("\t見る(\"x\");\n"), false, "x\n"},
      {Problem::kEndMissing, "はじめ\n\t見る(\"x\");\n", "Write おわり",
       framed("\t見る(\"x\");\n"), false, "x\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before);
    const std::vector<check::Finding> found = check_utf8(c.before);
    if (found.size() != 1 || found[0].problem != c.problem) {
      ADD_FAILURE() << ::testing::PrintToString(found);
      continue;
    }
    EXPECT_NE(check::finding_text(found[0], Language::kEnglish).find(c.says),
              std::string::npos)
        << check::finding_text(found[0], Language::kEnglish);
    const std::optional<std::string> action = code_action_applied(c.before);
    EXPECT_EQ(action, c.offered ? std::optional(c.after) : std::nullopt);
    EXPECT_EQ(check_utf8(c.after), std::vector<check::Finding>{});
    ScratchDir dir;
    dir.write("in.txt", "5\n");
    dir.write("p.zem", c.after);
    const RunResult r = run_zemuc({"run", "p.zem"}, dir.path(), "7\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.shown + kTail) << r.err;
  }
}

}  // namespace
}  // namespace zemuc::testing
