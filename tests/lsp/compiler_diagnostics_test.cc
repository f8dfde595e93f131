// `zemuc lsp` with a C compiler: what `zemuc run` would say while building
// is published beside the check's findings, for the latest text only, and
// the server answers while the compiler works.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "lsp/lsp_client.h"
#include "support/sjis.h"
#include "zemuc/run_zemuc.h"

namespace zemuc::testing {
namespace {

const std::string kUri = test_uri("prog.zem");

// How long to wait for the build's diagnostics before taking them for
// lost: a guard against a hang, not a measure of speed (make bench-lsp
// times them). A fresh server first asks the compiler which options it
// takes, and on a loaded machine that and the build can take seconds.
constexpr auto kBuilt = 30s;

std::string program(const std::string& body) {
  return "はじめ\n" + body + "おわり\n";
}

Json published(LspClient& client) {
  std::optional<Json> message =
      client.notification("textDocument/publishDiagnostics", kBuilt);
  if (!message) throw std::runtime_error("no diagnostics were published");
  return (*message)["params"];
}

// What `zemuc run` prints of a UTF-8 source while building, each as
// LINE KIND: TEXT.
std::vector<std::string> run_says(const std::string& source,
                                  const std::vector<std::string>& env) {
  ScratchDir dir;
  dir.write("prog.zem", sjis(source));
  // What zemuc learns of the compiler stays in the test's own folder.
  std::vector<std::string> settings = env;
  settings.push_back("XDG_CACHE_HOME=" + (dir.path() / "cache").string());
  const RunResult run =
      run_zemuc({"run", "prog.zem"}, dir.path(), "", settings);
  std::vector<std::string> said;
  const std::regex form(R"(prog\.zem:(\d+):\d+: (error|warning): (.*))");
  // The program's output may end without a newline.
  std::istringstream out(run.out + "\n" + run.err);
  for (std::string line; std::getline(out, line);) {
    std::smatch m;
    if (std::regex_match(line, m, form)) {
      said.push_back(m[1].str() + " " + m[2].str() + ": " + m[3].str());
    }
  }
  return said;
}

// What `zemuc build` says of a UTF-8 source with compiler `cc`, each as
// LINE:COLUMN KIND: TEXT; one that names no line as 0:0 KIND: TEXT.
std::vector<std::string> build_says(const std::string& source,
                                    const std::string& cc) {
  ScratchDir dir;
  dir.write("prog.zem", sjis(source));
  const RunResult built = run_zemuc(
      {"build", "prog.zem"}, dir.path(), "",
      {"CC=" + cc, "XDG_CACHE_HOME=" + (dir.path() / "cache").string()});
  std::vector<std::string> said;
  const std::regex form(R"(prog\.zem:(?:(\d+:\d+):)? (error|warning): (.*))");
  std::istringstream out(built.err);
  for (std::string line; std::getline(out, line);) {
    std::smatch m;
    if (std::regex_match(line, m, form)) {
      said.push_back((m[1].matched ? m[1].str() : "0:0") + " " + m[2].str() +
                     ": " + m[3].str());
    }
  }
  return said;
}

// The diagnostics published, as build_says() gives them; the column is
// the build's where the range holds it (one past the end of its line
// underlines the line's last character), else where the range starts.
// The sources are ASCII and kana, so a UTF-16 unit is a character.
std::vector<std::string> published_as_built(
    const Json& params, const std::vector<std::string>& built) {
  std::vector<std::string> said;
  for (const Json& d : params["diagnostics"]) {
    const int line = d["range"]["start"]["line"].get<int>() + 1;
    const int from = d["range"]["start"]["character"].get<int>() + 1;
    const int to = d["range"]["end"]["character"].get<int>() + 1;
    int column = from;
    for (const std::string& b : built) {
      const int c = std::atoi(b.c_str() + b.find(':') + 1);
      if (b.starts_with(std::to_string(line) + ":") && c >= from && c <= to) {
        column = c;
      }
    }
    said.push_back(std::to_string(line) + ":" + std::to_string(column) +
                   (d["severity"] == 1 ? " error: " : " warning: ") +
                   d["message"].get<std::string>());
  }
  return said;
}

// The compiler's diagnostics published, as run_says() gives them.
std::vector<std::string> compiler_says(const Json& params) {
  std::vector<std::string> said;
  for (const Json& d : params["diagnostics"]) {
    if (d["code"] != "compiler") continue;
    said.push_back(std::to_string(d["range"]["start"]["line"].get<int>() + 1) +
                   (d["severity"] == 1 ? " error: " : " warning: ") +
                   d["message"].get<std::string>());
  }
  return said;
}

void change(LspClient& client, int version, const std::string& text) {
  client.notify("textDocument/didChange",
                {{"textDocument", {{"uri", kUri}, {"version", version}}},
                 {"contentChanges", {{{"text", text}}}}});
}

bool installed(const std::string& program) {
  return run_program("/bin/sh", {"-c", "command -v " + program}, "", ".")
             .status == 0;
}

TEST(LspCompiler, ErrorsAreZemucRunsOnTheirLines) {
  const std::string loop =
      program("\tくり返し(3){\n\t\t数b=数b+1;\n\t}\n\t見る(\"b\",数b);\n");
  const struct {
    const char* name;
    std::string source;
    std::vector<std::string> said;  // of zemuc run, by line and kind
    const char* cc = "";            // the compiler; empty: as found
  } cases[] = {
      {"a ; missing", program("\t数a=1\n\t見る(\"%d\",数a);\n"), {"2 error"}},
      {"a mistyped keyword",
       program("\t見る(\"x\");\n\t見ろ(\"y\");\n"),
       {"3 error"}},
      {"an unknown function", program("\tfoo(1);\n"), {"2 error"}},
      {"a correct program", program("\t数a=1;\n\t見る(\"%d\",数a);\n"), {}},
      // The second look after the build is zemuc run's.
      {"a value missing inside a loop (gcc)", loop, {"3 warning"}, "gcc"},
      {"the same (clang)", loop, {"3 warning"}, "clang"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> env;
    if (*c.cc != '\0') {
      if (!installed(c.cc)) {
        std::cout << c.cc << " is not installed: its row is skipped\n";
        continue;
      }
      env.push_back(std::string("CC=") + c.cc);
    }
    const std::vector<std::string> expected = run_says(c.source, env);
    ASSERT_EQ(expected.size(), c.said.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_TRUE(expected[i].starts_with(c.said[i] + ": ")) << expected[i];
    }
    LspClient client(env, Compiler::kFound);
    client.initialize();
    client.open(kUri, c.source);
    const Json params = published(client);
    EXPECT_EQ(compiler_says(params), expected) << params;
    // The check finds nothing in these: the compiler's are all there is.
    EXPECT_EQ(params["diagnostics"].size(), expected.size()) << params;
  }
}

// The editor tells what `zemuc build` tells, with each compiler, from a
// build of the same copy: the checks' stand-ins for the C library's
// functions make errors of their own. The check's findings are in both.
TEST(LspCompiler, ErrorsAreZemucBuilds) {
  const struct {
    const char* name;
    std::string source;
    // Where the editor shows what names no line: the check's place.
    const char* unplaced = "";
  } cases[] = {
      {"several kinds, a ; missing, a text for a number and the reverse",
       program("\t数a=1\n\t数b=数z+1;\n\t数a=\"x\";\n\t字s=数a;\n")},
      {"a number where the checks' scanf needs its place",
       program("\tscanf(\"%d\",数a);\n\t見る(数a);\n\tfoo(1);\n")},
      {"a number for a text to copy and to open",
       program("\tstrcpy(字s,数a);\n\tfopen(数a,\"r\");\n")},
      {"no おわり: the last line with text", "はじめ\n\t見る(\"a\");\n\n",
       "2:1"},
      {"no はじめ", "\t見る(\"a\");\nおわり\n", "1:1"},
  };
  for (const char* cc : {"gcc", "clang", "tcc"}) {
    if (!installed(cc)) {
      std::cout << cc << " is not installed: its rows are skipped\n";
      continue;
    }
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + " with " + cc);
      std::vector<std::string> expected = build_says(c.source, cc);
      EXPECT_FALSE(expected.empty());
      for (std::string& e : expected) {
        if (e.starts_with("0:0 ")) e = c.unplaced + e.substr(3);
      }
      LspClient client({std::string("CC=") + cc}, Compiler::kFound);
      client.initialize();
      client.open(kUri, c.source);
      std::vector<std::string> said =
          published_as_built(published(client), expected);
      std::sort(expected.begin(), expected.end());
      std::sort(said.begin(), said.end());
      EXPECT_EQ(said, expected);
    }
  }
}

// The compiler's diagnostics come beside the check's, which are alone
// where no compiler is found.
TEST(LspCompiler, BesideTheCheckOrWithoutACompiler) {
  const std::string source = program("\t見る \"x\";\n\t数a=1\n");
  for (const Compiler compiler : {Compiler::kFound, Compiler::kNone}) {
    const bool found = compiler == Compiler::kFound;
    SCOPED_TRACE(found ? "a compiler" : "no compiler");
    LspClient client({}, compiler);
    client.initialize();
    client.open(kUri, source);
    const Json params = published(client);
    std::vector<std::string> codes;
    for (const Json& d : params["diagnostics"]) codes.push_back(d["code"]);
    ASSERT_FALSE(codes.empty()) << params;
    EXPECT_EQ(codes[0], "keyword-space-removed");
    EXPECT_EQ(params["diagnostics"][0]["severity"], 2);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "compiler") > 0, found)
        << params;
  }
}

TEST(LspCompiler, AMendClearsTheError) {
  LspClient client({}, Compiler::kFound);
  client.initialize();
  client.open(kUri, program("\t数a=1\n"));
  ASSERT_EQ(compiler_says(published(client)).size(), 1u);
  change(client, 2, program("\t数a=1;\n"));
  const Json params = published(client);
  EXPECT_EQ(params["version"], 2);
  EXPECT_EQ(params["diagnostics"], Json::array());
}

// A burst of edits, each with a ; missing on another line: one build, of
// the last text, is published, and a build that it made stale is not.
TEST(LspCompiler, ABurstEndsWithTheLastTextOnly) {
  LspClient client({}, Compiler::kFound);
  client.initialize();
  client.open(kUri, program("\t数a=1;\n"));
  published(client);
  constexpr int kLast = 12;
  for (int version = 2; version <= kLast; ++version) {
    std::string body;
    for (int line = 2; line <= kLast; ++line) {
      body += line == version ? "\t数a=1\n" : "\t数a=1;\n";
    }
    change(client, version, program(body));
  }
  const Json params = published(client);
  EXPECT_EQ(params["version"], kLast);
  const std::vector<std::string> said = compiler_says(params);
  ASSERT_EQ(said.size(), 1u) << params;
  EXPECT_TRUE(said[0].starts_with(std::to_string(kLast) + " error: "));
  EXPECT_FALSE(client.notification("textDocument/publishDiagnostics", 500ms));
}

// What the server learns of the compiler goes to the cache folder it is
// given, not to one under HOME.
TEST(LspCompiler, WhatItLearnsGoesToTheCacheItIsGiven) {
  ScratchDir home;
  LspClient client({"HOME=" + home.path().string()}, Compiler::kFound);
  client.initialize();
  client.open(kUri, program("\t数a=1;\n"));
  published(client);
  const std::filesystem::path folder = client.cache() / "zemuc";
  ASSERT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_FALSE(std::filesystem::is_empty(folder));
  EXPECT_FALSE(std::filesystem::exists(home.path() / ".cache"));
}

// A compiler that hangs holds up no answer, and goes with the server:
// whether it hangs on the build or on every question zemuc asks of it
// (its version, the options it takes), which is asked away from the
// server's loop.
TEST(LspCompiler, AHangingCompilerHoldsNothingUp) {
  const struct {
    const char* what;
    const char* script;
  } cases[] = {
      {"on the build, answering each question at once",
       "#!/bin/sh\ncase \"$*\" in *program.c*) exec sleep 60 ;; esac\n"},
      {"on every question", "#!/bin/sh\nexec sleep 60\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    dir.write("cc", c.script);
    const std::string cc = (dir.path() / "cc").string();
    ASSERT_EQ(chmod(cc.c_str(), 0755), 0);
    LspClient client({"CC=" + cc}, Compiler::kFound);
    client.initialize();
    client.open(kUri, program("\t数a=1\n"));
    // The text rests, and its build, or the questions, start and hang.
    EXPECT_FALSE(client.notification("textDocument/publishDiagnostics", 400ms));
    const auto asked = std::chrono::steady_clock::now();
    const Json answer = client.request("textDocument/documentSymbol",
                                       {{"textDocument", {{"uri", kUri}}}});
    EXPECT_TRUE(answer.contains("result")) << answer;
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 1s);
    EXPECT_EQ(client.request("shutdown", nullptr)["result"], nullptr);
    client.notify("exit", nullptr);
    EXPECT_EQ(client.wait(2s), 0);
  }
}

}  // namespace
}  // namespace zemuc::testing
