// `zemuc lsp` over its pipes, as an editor drives it: the handshake, every
// feature, positions on lines with Japanese and astral characters, and
// every kind of bad input.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "driver/memory_translation.h"
#include "lsp/lsp_client.h"
#include "support/sjis.h"
#include "text/encoding.h"
#include "zemuc/run_zemuc.h"

namespace zemuc::testing {
namespace {

const std::string kUri = test_uri("prog.zem");

// The next answer, passing over notifications.
Json next_answer(LspClient& client) {
  for (;;) {
    std::optional<Json> message = client.receive(10s);
    if (!message) return nullptr;
    if (!message->contains("method")) return *message;
  }
}

Json text_document(const std::string& uri = kUri) { return {{"uri", uri}}; }

Json at(std::size_t line, std::size_t character) {
  return {{"textDocument", text_document()},
          {"position", {{"line", line}, {"character", character}}}};
}

// The code units of a UTF-8 text in the encoding: the test's own count.
std::size_t units(std::string_view utf8, bool utf16 = true) {
  std::size_t n = 0;
  for (const char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    if (!utf16) {
      ++n;
    } else if ((b & 0xC0) != 0x80) {
      n += b >= 0xF0 ? 2 : 1;
    }
  }
  return n;
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// ---------------------------------------------------------------- lifecycle

struct BadInput {
  const char* name;
  bool initialized;
  std::string bytes;
  int code;  // the error expected, 0 for no answer at all
  Json id;   // of the error
};

std::string framed(const Json& message) { return lsp::frame(message.dump()); }

std::vector<BadInput> bad_inputs() {
  const Json hover = at(0, 0);
  return {
      {"request before initialize", false,
       framed({{"jsonrpc", "2.0"},
               {"id", 70},
               {"method", "textDocument/hover"},
               {"params", hover}}),
       -32002, 70},
      {"notification before initialize", false,
       framed({{"jsonrpc", "2.0"}, {"method", "initialized"}}), 0, nullptr},
      {"unknown method", true,
       framed({{"jsonrpc", "2.0"}, {"id", "x"}, {"method", "zemuc/nothing"}}),
       -32601, "x"},
      {"unknown notification", true,
       framed({{"jsonrpc", "2.0"}, {"method", "zemuc/nothing"}}), 0, nullptr},
      {"malformed JSON", true, lsp::frame("{\"id\":70,\"method\":"), -32700,
       nullptr},
      {"JSON that is no object", true, lsp::frame("[1,2]"), -32600, nullptr},
      {"no method", true, lsp::frame("{\"jsonrpc\":\"2.0\",\"id\":70}"), -32600,
       70},
      {"a method that is no string", true,
       lsp::frame("{\"jsonrpc\":\"2.0\",\"id\":70,\"method\":5}"), -32600, 70},
      {"params that are a number", true,
       lsp::frame("{\"jsonrpc\":\"2.0\",\"id\":70,\"method\":\"shutdown\","
                  "\"params\":5}"),
       -32600, 70},
      {"params of the wrong shape", true,
       framed({{"jsonrpc", "2.0"},
               {"id", 70},
               {"method", "textDocument/hover"},
               {"params",
                {{"textDocument", text_document()}, {"position", "here"}}}}),
       -32602, 70},
      {"a document never opened", true,
       framed({{"jsonrpc", "2.0"},
               {"id", 70},
               {"method", "textDocument/hover"},
               {"params",
                {{"textDocument", text_document(test_uri("x.zem"))},
                 {"position", {{"line", 0}, {"character", 0}}}}}}),
       -32602, 70},
      {"initialize twice", true,
       framed({{"jsonrpc", "2.0"},
               {"id", 70},
               {"method", "initialize"},
               {"params", {{"capabilities", Json::object()}}}}),
       -32600, 70},
      {"a change with text of the wrong type", true,
       framed({{"jsonrpc", "2.0"},
               {"method", "textDocument/didChange"},
               {"params",
                {{"textDocument", {{"uri", kUri}, {"version", 2}}},
                 {"contentChanges", {{{"text", 5}}}}}}}),
       0, nullptr},
      {"JSON nested a hundred thousand deep", true,
       lsp::frame(std::string(100000, '[') + std::string(100000, ']')), -32600,
       nullptr},
      {"a header without Content-Length", true, "Content-Type: x\r\n\r\n{}", 0,
       nullptr},
      {"a Content-Length that is no number", true,
       "Content-Length: many\r\n\r\n{}", 0, nullptr},
      {"garbage, then a header", true, "\x01\x02garbage\r\n", 0, nullptr},
  };
}

TEST(LspServer, BadInputIsAnsweredAndTheServerGoesOn) {
  for (const BadInput& c : bad_inputs()) {
    SCOPED_TRACE(c.name);
    LspClient client;
    if (c.initialized) {
      client.initialize();
      client.open(kUri, "はじめ\n\t見る(\"x\");\nおわり\n");
    }
    client.send_raw(c.bytes);
    if (c.code != 0) {
      const Json answer = next_answer(client);
      ASSERT_TRUE(answer.contains("error")) << answer;
      EXPECT_EQ(answer["error"]["code"], c.code) << answer;
      EXPECT_EQ(answer["id"], c.id) << answer;
    }
    // The next request is the next one answered.
    const int id =
        c.initialized
            ? client.ask("textDocument/documentSymbol",
                         {{"textDocument", text_document()}})
            : client.ask("initialize", {{"capabilities", Json::object()}});
    const Json answer = next_answer(client);
    EXPECT_EQ(answer["id"], id) << answer;
    EXPECT_TRUE(answer.contains("result")) << answer;
  }
}

struct Ending {
  const char* name;
  std::vector<std::string> methods;  // requests and notifications, in order
  bool close_input;
  int status;
};

TEST(LspServer, ExitStatus) {
  const Ending endings[] = {
      {"shutdown and exit", {"initialize", "shutdown", "exit"}, false, 0},
      {"exit without shutdown", {"initialize", "exit"}, false, 1},
      {"exit before initialize", {"exit"}, false, 1},
      {"input closed without exit", {"initialize", "shutdown"}, true, 1},
      {"a request after shutdown, then exit",
       {"initialize", "shutdown", "textDocument/documentSymbol", "exit"},
       false,
       0},
  };
  for (const Ending& c : endings) {
    SCOPED_TRACE(c.name);
    LspClient client;
    bool shut = false;
    for (const std::string& method : c.methods) {
      if (method == "exit") {
        client.notify("exit", nullptr);
        continue;
      }
      const Json params = method == "initialize"
                              ? Json{{"capabilities", Json::object()}}
                              : Json{{"textDocument", text_document()}};
      const Json answer = client.request(method, params);
      if (shut) {
        EXPECT_EQ(answer["error"]["code"], -32600) << answer;
      } else {
        EXPECT_TRUE(answer.contains("result")) << answer;
      }
      shut = shut || method == "shutdown";
    }
    if (c.close_input) client.close_input();
    EXPECT_EQ(client.wait(), c.status);
  }
}

TEST(LspServer, InitializeAnnouncesWhatItServes) {
  LspClient client;
  const Json result = client.initialize()["result"];
  const Json& capabilities = result["capabilities"];
  EXPECT_EQ(capabilities["positionEncoding"], "utf-16");
  EXPECT_EQ(capabilities["textDocumentSync"]["change"], 2);
  for (const char* provider :
       {"hoverProvider", "completionProvider", "definitionProvider",
        "referencesProvider", "documentSymbolProvider", "codeActionProvider"}) {
    EXPECT_TRUE(capabilities.contains(provider)) << provider;
  }
  EXPECT_EQ(result["serverInfo"]["name"], "zemuc");
}

// ------------------------------------------------------------- diagnostics

struct CheckLine {
  std::size_t line;
  std::size_t column;
  std::string text;
  bool operator==(const CheckLine&) const = default;
};

std::ostream& operator<<(std::ostream& os, const CheckLine& c) {
  return os << c.line << ":" << c.column << " " << c.text;
}

// What `zemuc check` says of a UTF-8 source.
std::vector<CheckLine> check_says(const std::string& source,
                                  const std::vector<std::string>& env = {}) {
  ScratchDir dir;
  dir.write("prog.zem", source);
  const RunResult run = run_zemuc({"check", "prog.zem"}, dir.path(), "", env);
  std::vector<CheckLine> lines;
  const std::regex form(R"(prog\.zem:(\d+):(\d+): warning: (.*))");
  std::istringstream out(run.out);
  for (std::string line; std::getline(out, line);) {
    std::smatch m;
    if (std::regex_match(line, m, form)) {
      lines.push_back({std::stoul(m[1]), std::stoul(m[2]), m[3]});
    }
  }
  return lines;
}

// The diagnostics as `zemuc check` would print them: lines and columns
// from 1 (the sources have no astral characters, so a UTF-16 unit is a
// character).
std::vector<CheckLine> server_says(const Json& published) {
  std::vector<CheckLine> lines;
  for (const Json& d : published["params"]["diagnostics"]) {
    EXPECT_EQ(d["severity"], 2) << d;
    EXPECT_EQ(d["source"], "zemuc");
    lines.push_back({d["range"]["start"]["line"].get<std::size_t>() + 1,
                     d["range"]["start"]["character"].get<std::size_t>() + 1,
                     d["message"].get<std::string>()});
  }
  return lines;
}

std::string traps() {
  return read_file(std::filesystem::path(ZEM_PROJECT_DIR) /
                   "editors/tests/grammar/traps/traps.zem.txt");
}

TEST(LspServer, DiagnosticsAreExactlyTheCheckFindings) {
  const std::string source = traps();
  const std::vector<CheckLine> expected = check_says(source);
  ASSERT_GT(expected.size(), 10u);
  LspClient client;
  client.initialize();
  client.open(kUri, source, 4);
  const std::optional<Json> published =
      client.notification("textDocument/publishDiagnostics");
  ASSERT_TRUE(published);
  EXPECT_EQ((*published)["params"]["uri"], kUri);
  EXPECT_EQ((*published)["params"]["version"], 4);
  EXPECT_EQ(server_says(*published), expected);
}

TEST(LspServer, TheLanguageOfTheTexts) {
  const std::string source = "はじめ\n\t見る \"x\";\nおわり\n";
  const std::vector<std::string> japanese_env = {"LC_ALL=ja_JP.UTF-8"};
  const std::string japanese = check_says(source, japanese_env).at(0).text;
  const std::string english = check_says(source).at(0).text;
  ASSERT_NE(japanese, english);
  struct Case {
    const char* name;
    std::vector<std::string> env;
    Json locale;
    std::string text;
  };
  const Case cases[] = {
      {"the environment's locale", japanese_env, nullptr, japanese},
      {"the client's locale", {}, "ja", japanese},
      {"the client's locale before the environment's", japanese_env, "en-US",
       english},
      {"neither", {}, nullptr, english},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LspClient client(c.env);
    Json params = {{"capabilities", Json::object()}};
    if (!c.locale.is_null()) params["locale"] = c.locale;
    client.initialize(params);
    client.open(kUri, source);
    const std::optional<Json> published =
        client.notification("textDocument/publishDiagnostics");
    ASSERT_TRUE(published);
    EXPECT_EQ(server_says(*published).at(0).text, c.text);
  }
}

TEST(LspServer, EveryExampleIsClean) {
  for (const auto& entry : std::filesystem::directory_iterator(
           std::filesystem::path(ZEM_PROJECT_DIR) / "examples")) {
    const std::string name = entry.path().filename().string();
    const std::string source = utf8(read_file(entry.path() / (name + ".zem")));
    LspClient client;
    client.initialize();
    client.open(kUri, source);
    const std::optional<Json> published =
        client.notification("textDocument/publishDiagnostics");
    ASSERT_TRUE(published) << name;
    EXPECT_EQ((*published)["params"]["diagnostics"], Json::array()) << name;
  }
}

// ---------------------------------------------------------------- positions

// A line with kanji and an astral character that has no Shift-JIS form:
// the character is an error where it stands, the finding after it is at
// its place in the client's units, and the rest is still read.
TEST(LspServer, PositionsAfterJapaneseAndAstralCharacters) {
  const std::string before = "\t数😀=1;";
  const std::string source = "はじめ\n" + before + "見る(\"x\");\nおわり\n";
  for (const bool utf16 : {true, false}) {
    SCOPED_TRACE(utf16 ? "utf-16" : "utf-8");
    LspClient client;
    Json params = {{"capabilities", Json::object()}};
    if (!utf16) {
      params["capabilities"]["general"]["positionEncodings"] = {"utf-8",
                                                                "utf-16"};
    }
    const Json result = client.initialize(params)["result"];
    EXPECT_EQ(result["capabilities"]["positionEncoding"],
              utf16 ? "utf-16" : "utf-8");
    client.open(kUri, source);
    const std::optional<Json> published =
        client.notification("textDocument/publishDiagnostics");
    ASSERT_TRUE(published);
    const Json& list = (*published)["params"]["diagnostics"];
    ASSERT_EQ(list.size(), 2u) << list;
    const Json& bad = list[0];
    EXPECT_EQ(bad["severity"], 1);
    EXPECT_EQ(bad["code"], "no-shift-jis");
    EXPECT_NE(bad["message"].get<std::string>().find("U+1F600"),
              std::string::npos);
    EXPECT_EQ(bad["range"]["start"],
              Json({{"line", 1}, {"character", units("\t数", utf16)}}));
    EXPECT_EQ(bad["range"]["end"],
              Json({{"line", 1}, {"character", units("\t数😀", utf16)}}));
    const Json& dropped = list[1];
    EXPECT_EQ(dropped["code"], "text-after-semicolon");
    EXPECT_EQ(dropped["range"]["start"],
              Json({{"line", 1}, {"character", units(before, utf16)}}));
    // The variable holds the stand-in, and is found where it stands.
    const Json symbols = client.request("textDocument/documentSymbol",
                                        {{"textDocument", text_document()}});
    ASSERT_EQ(symbols["result"].size(), 1u) << symbols;
    EXPECT_EQ(symbols["result"][0]["name"], "数〓");
    EXPECT_EQ(symbols["result"][0]["location"]["range"]["end"]["character"],
              units("\t数😀", utf16));
  }
}

// Ranged changes around kanji and an astral character land where the
// client means them, in either encoding.
TEST(LspServer, IncrementalChanges) {
  for (const bool utf16 : {true, false}) {
    SCOPED_TRACE(utf16 ? "utf-16" : "utf-8");
    LspClient client;
    Json params = {{"capabilities", Json::object()}};
    if (!utf16) {
      params["capabilities"]["general"]["positionEncodings"] = {"utf-8"};
    }
    client.initialize(params);
    client.open(kUri, "はじめ\n\t見る(\"😀\");\nおわり\n");
    ASSERT_TRUE(client.notification("textDocument/publishDiagnostics"));
    const auto range = [&](std::string_view a, std::string_view b) {
      return Json{{"start", {{"line", 1}, {"character", units(a, utf16)}}},
                  {"end", {{"line", 1}, {"character", units(b, utf16)}}}};
    };
    // `(` becomes a blank; then a variable goes in after the emoji; then a
    // line is added before it all.
    client.notify(
        "textDocument/didChange",
        {{"textDocument", {{"uri", kUri}, {"version", 2}}},
         {"contentChanges",
          {{{"range", range("\t見る", "\t見る(")}, {"text", " "}},
           {{"range", range("\t見る \"😀\"", "\t見る \"😀\"")}, {"text", ",数a"}},
           {{"range",
             {{"start", {{"line", 0}, {"character", 0}}},
              {"end", {{"line", 0}, {"character", 0}}}}},
            {"text", "//😀\n"}}}}});
    const std::optional<Json> published =
        client.notification("textDocument/publishDiagnostics");
    ASSERT_TRUE(published);
    EXPECT_EQ((*published)["params"]["version"], 2);
    std::vector<std::string> codes;
    for (const Json& d : (*published)["params"]["diagnostics"]) {
      codes.push_back(d["code"]);
    }
    // The line is now `\t見る "😀",数a);` after the new first line.
    EXPECT_EQ(codes,
              (std::vector<std::string>{"no-shift-jis", "keyword-space-removed",
                                        "no-shift-jis"}));
    const Json symbols = client.request("textDocument/documentSymbol",
                                        {{"textDocument", text_document()}});
    ASSERT_EQ(symbols["result"].size(), 1u) << symbols;
    EXPECT_EQ(
        symbols["result"][0]["location"]["range"]["start"],
        Json({{"line", 2}, {"character", units("\t見る \"😀\",", utf16)}}));
  }
}

// ------------------------------------------------------ bursts and sizes

TEST(LspServer, ABurstOfChangesIsAnalysedAtItsLatestVersion) {
  LspClient client;
  client.initialize();
  std::string burst;
  burst += framed({{"jsonrpc", "2.0"},
                   {"method", "textDocument/didOpen"},
                   {"params",
                    {{"textDocument",
                      {{"uri", kUri},
                       {"languageId", "zem"},
                       {"version", 1},
                       {"text", "はじめ\nおわり\n"}}}}}});
  constexpr int kLast = 150;
  for (int version = 2; version <= kLast; ++version) {
    // Only the last version has a finding.
    const std::string body =
        version == kLast ? "\t見る \"x\";\n" : "\t数a=1;\n";
    burst += framed(
        {{"jsonrpc", "2.0"},
         {"method", "textDocument/didChange"},
         {"params",
          {{"textDocument", {{"uri", kUri}, {"version", version}}},
           {"contentChanges", {{{"text", "はじめ\n" + body + "おわり\n"}}}}}}});
  }
  ASSERT_LT(burst.size(), 60000u);  // one write, within a pipe's buffer
  client.send_raw(burst);
  const std::optional<Json> published =
      client.notification("textDocument/publishDiagnostics");
  ASSERT_TRUE(published);
  EXPECT_EQ((*published)["params"]["version"], kLast);
  EXPECT_EQ((*published)["params"]["diagnostics"].size(), 1u);
  // Nothing was published for the older versions.
  client.request("textDocument/documentSymbol",
                 {{"textDocument", text_document()}});
  EXPECT_FALSE(client.notification("textDocument/publishDiagnostics", 200ms));
}

TEST(LspServer, AMegabyteDocument) {
  std::string source = "はじめ\n";
  for (int i = 0; source.size() < (1 << 20); ++i) {
    source += "\t数v" + std::to_string(i % 5000) + "=数v" +
              std::to_string(i % 7) + "+1;\n\t見る(\"値\",数v1);\n";
  }
  source += "\t見る \"x\";\nおわり\n";
  LspClient client;
  client.initialize();
  client.open(kUri, source);
  const std::optional<Json> published =
      client.notification("textDocument/publishDiagnostics", 120s);
  ASSERT_TRUE(published);
  const Json& list = (*published)["params"]["diagnostics"];
  ASSERT_EQ(list.size(), 1u);
  const std::size_t last = std::count(source.begin(), source.end(), '\n') - 2;
  EXPECT_EQ(list[0]["range"]["start"]["line"], last);
  const Json hover = client.request("textDocument/hover", at(last - 1, 4));
  EXPECT_NE(
      hover["result"]["contents"]["value"].get<std::string>().find("printf"),
      std::string::npos)
      << hover;
}

// ----------------------------------------------------------------- features

const char* const kProgram =
    "はじめ\n"                      // 0
    "\t開く(入力,\"in.txt\",r);\n"  // 1
    "\t打つ(数a);\n"                // 2
    "\t数ab=数a*2;\n"               // 3
    "\tくり返し(数a){\n"            // 4
    "\t\t見る(\"二倍\",数ab);\n"    // 5
    "\t}\n"                         // 6
    "\t読みきり(入力,字s){\n"       // 7
    "\t\t見る(\"行\",字s);\n"       // 8
    "\t}\n"                         // 9
    "\t閉じる(入力);\n"             // 10
    "おわり\n";                     // 11

struct Features : ::testing::Test {
  void SetUp() override {
    client.initialize(
        {{"capabilities",
          {{"textDocument",
            {{"hover", {{"contentFormat", {"markdown", "plaintext"}}}},
             {"completion", {{"completionItem", {{"snippetSupport", true}}}}},
             {"documentSymbol",
              {{"hierarchicalDocumentSymbolSupport", true}}}}}}}});
    client.open(kUri, kProgram);
  }
  std::string hover_text(std::size_t line, std::size_t character) {
    const Json answer =
        client.request("textDocument/hover", at(line, character));
    return answer["result"].is_null()
               ? std::string()
               : answer["result"]["contents"]["value"].get<std::string>();
  }
  LspClient client;
};

TEST_F(Features, HoverTellsTheWordAndTheCOfTheLine) {
  struct Case {
    std::size_t line;
    std::size_t character;
    std::vector<std::string> holds;
  };
  const Case cases[] = {
      {3, 1, {"数ab: number variable, nn2 in C, first named on line 4"}},
      {3, 6, {"数a: number variable, nn1 in C, first named on line 3"}},
      {3, 3, {"数ab:"}},  // the cursor just after a word still names it
      {8, 9, {"字s: text variable, cc3 in C, first named on line 8"}},
      {10,
       5,
       {"入力: file \"in.txt\" opened to read, fp1 in C, opened on line 2"}},
      {5, 2, {"見る(\"label\",数a): shows each variable", "printf"}},
      {4, 1, {"くり返し(10){ ... }: repeats", "for("}},
      {0, 0, {"はじめ: begins the program", "#include <stdio.h>"}},
      {6, 1, {"line 7 in C:", "```c\n\t}\n```"}},
  };
  for (const Case& c : cases) {
    const std::string text = hover_text(c.line, c.character);
    for (const std::string& part : c.holds) {
      EXPECT_NE(text.find(part), std::string::npos)
          << c.line << ":" << c.character << " lacks " << part << " in\n"
          << text;
    }
  }
}

TEST_F(Features, HoverShowsEachLineExactlyAsTheCFileHoldsIt) {
  const Translation translation =
      translate_in_memory("prog.zem", sjis(kProgram));
  for (std::size_t line = 1; line <= 12; ++line) {
    const std::string c_text = utf8(std::string(translation.c_text_of(line)));
    ASSERT_FALSE(c_text.empty()) << line;
    EXPECT_NE(hover_text(line - 1, 0).find("```c\n" + c_text + "```"),
              std::string::npos)
        << line;
  }
}

TEST_F(Features, Completion) {
  // A half-typed name: the edit replaces it.
  client.notify("textDocument/didChange",
                {{"textDocument", {{"uri", kUri}, {"version", 2}}},
                 {"contentChanges",
                  {{{"range",
                     {{"start", {{"line", 6}, {"character", 2}}},
                      {"end", {{"line", 6}, {"character", 2}}}}},
                    {"text", "\n\t数"}}}}});
  const Json answer = client.request("textDocument/completion", at(7, 2));
  const Json& items = answer["result"]["items"];
  std::map<std::string, Json> by_label;
  for (const Json& item : items) by_label[item["label"]] = item;
  EXPECT_EQ(items.size(), 10u + 4u + 1u);  // keywords, variables, a file
  EXPECT_EQ(by_label["見る"]["textEdit"]["newText"], "見る(\"$1\",$2)");
  EXPECT_EQ(by_label["見る"]["insertTextFormat"], 2);
  EXPECT_EQ(by_label["おわり"]["textEdit"]["newText"], "おわり");
  EXPECT_EQ(by_label["数ab"]["kind"], 6);
  EXPECT_EQ(by_label["数ab"]["detail"], "number variable (nn2)");
  // The half-typed 数 is itself a name to the translator, third in line.
  EXPECT_EQ(by_label["字s"]["detail"], "text variable (cc4)");
  EXPECT_EQ(by_label["入力"]["kind"], 17);
  EXPECT_EQ(by_label["数a"]["textEdit"]["range"],
            Json({{"start", {{"line", 7}, {"character", 1}}},
                  {"end", {{"line", 7}, {"character", 2}}}}));
}

TEST(LspServer, CompletionWithoutSnippets) {
  LspClient client;
  client.initialize();
  client.open(kUri, "はじめ\n\t\nおわり\n");
  const Json items =
      client.request("textDocument/completion", at(1, 1))["result"]["items"];
  ASSERT_EQ(items.size(), 10u);
  for (const Json& item : items) {
    EXPECT_EQ(item["insertTextFormat"], 1);
    const std::string text = item["textEdit"]["newText"];
    EXPECT_EQ(text.find('$'), std::string::npos) << text;
  }
}

TEST_F(Features, DefinitionAndReferencesAreWholeTokens) {
  struct Case {
    std::size_t line;
    std::size_t character;
    std::size_t definition_line;
    std::vector<std::size_t> reference_lines;
  };
  const Case cases[] = {
      {5, 10, 3, {3, 5}},      // 数ab, not 数a
      {3, 6, 2, {2, 3, 4}},    // 数a, not 数ab
      {10, 5, 1, {1, 7, 10}},  // the file
      {8, 9, 7, {7, 8}},       // 字s
  };
  for (const Case& c : cases) {
    const Json definition =
        client.request("textDocument/definition", at(c.line, c.character));
    EXPECT_EQ(definition["result"]["range"]["start"]["line"], c.definition_line)
        << definition;
    Json params = at(c.line, c.character);
    params["context"] = {{"includeDeclaration", true}};
    const Json references = client.request("textDocument/references", params);
    std::vector<std::size_t> lines;
    for (const Json& location : references["result"]) {
      lines.push_back(location["range"]["start"]["line"]);
    }
    EXPECT_EQ(lines, c.reference_lines) << references;
    params["context"]["includeDeclaration"] = false;
    EXPECT_EQ(
        client.request("textDocument/references", params)["result"].size(),
        c.reference_lines.size() - 1);
  }
  // Nothing to go to from a keyword or a text.
  EXPECT_TRUE(
      client.request("textDocument/definition", at(5, 2))["result"].is_null());
  EXPECT_TRUE(
      client.request("textDocument/definition", at(5, 6))["result"].is_null());
}

TEST_F(Features, DocumentSymbols) {
  const Json symbols = client.request("textDocument/documentSymbol",
                                      {{"textDocument", text_document()}});
  std::vector<std::string> seen;
  for (const Json& symbol : symbols["result"]) {
    seen.push_back(symbol["name"].get<std::string>() + "@" +
                   std::to_string(symbol["range"]["start"]["line"].get<int>()) +
                   "/" + std::to_string(symbol["kind"].get<int>()));
  }
  EXPECT_EQ(seen,
            (std::vector<std::string>{"入力@1/1", "数a@2/13", "数ab@3/13",
                                      "くり返し(数a){@4/24",
                                      "読みきり(入力,字s){@7/24", "字s@7/13"}));
}

// ------------------------------------------------------------ code actions

struct MendCase {
  const char* name;
  std::string line;    // the second line of a program
  std::string mended;  // that line after the mend; empty for no mend
};

TEST(LspServer, CodeActionsOnlyWhereTheMendIsCertain) {
  const MendCase cases[] = {
      {"a blank after a keyword", "\t見る \"x\";", "\t見る(\"x\";"},
      {"blanks after a keyword", "\t打つ   数a);", "\t打つ(数a);"},
      {"a keyword glued to a text", "\t見る\"x\";", "\t見る(\"x\";"},
      {"after an astral character", "\t数😀=1;見る \"x\"", ""},
      {"a full-width indentation", "　\t　見る(\"x\");", "\t\t\t見る(\"x\");"},
      {"a keyword glued to a name", "\t見る数a;", ""},
      {"a variable without a label", "\t見る(数a);", ""},
      {"spaces in quotes", "\t見る(\"a b\");", ""},
      {"a full-width space inside a line", "\t数a=1　;", ""},
  };
  for (const MendCase& c : cases) {
    SCOPED_TRACE(c.name);
    LspClient client;
    client.initialize();
    const std::string source = "はじめ\n" + c.line + "\nおわり\n";
    client.open(kUri, source);
    const Json actions = client.request(
        "textDocument/codeAction",
        {{"textDocument", text_document()},
         {"range",
          {{"start", {{"line", 1}, {"character", 0}}},
           {"end", {{"line", 1}, {"character", units(c.line)}}}}},
         {"context", {{"diagnostics", Json::array()}}}})["result"];
    if (c.mended.empty()) {
      EXPECT_EQ(actions, Json::array());
      continue;
    }
    ASSERT_EQ(actions.size(), 1u) << actions;
    EXPECT_EQ(actions[0]["kind"], "quickfix");
    // The edits, applied as a client applies them, give the mended line,
    // whose finding is then gone.
    const Json& edits = actions[0]["edit"]["changes"][kUri];
    Json changes = Json::array();
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
      changes.push_back(
          {{"range", (*edit)["range"]}, {"text", (*edit)["newText"]}});
    }
    ASSERT_TRUE(client.notification("textDocument/publishDiagnostics"));
    client.notify("textDocument/didChange",
                  {{"textDocument", {{"uri", kUri}, {"version", 2}}},
                   {"contentChanges", changes}});
    const std::optional<Json> published =
        client.notification("textDocument/publishDiagnostics");
    ASSERT_TRUE(published);
    const std::string code = actions[0]["diagnostics"][0]["code"];
    for (const Json& d : (*published)["params"]["diagnostics"]) {
      EXPECT_NE(d["code"], code) << d;
    }
    EXPECT_EQ(check_says("はじめ\n" + c.mended + "\nおわり\n").size(),
              check_says(source).size() - 1);
    const Json symbols =
        client.request("textDocument/hover", at(1, units(c.mended) - 1));
    EXPECT_NE(symbols["result"]["contents"]["value"].get<std::string>().find(
                  "line 2 in C"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace zemuc::testing
