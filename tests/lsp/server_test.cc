// `zemuc lsp` over its pipes, as an editor drives it: the handshake, every
// feature, positions on lines with Japanese and astral characters, and
// every kind of bad input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>
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
const Json kDocument = {{"textDocument", {{"uri", kUri}}}};

Json position(std::size_t line, std::size_t character) {
  return {{"line", line}, {"character", character}};
}

Json at(std::size_t line, std::size_t character) {
  Json params = kDocument;
  params["position"] = position(line, character);
  return params;
}

Json range(std::size_t line, std::size_t from, std::size_t to) {
  return {{"start", position(line, from)}, {"end", position(line, to)}};
}

// The document's version `version`, made by `changes`, as a message.
std::string changed(int version, const Json& changes) {
  return framed({{"method", "textDocument/didChange"},
                 {"params",
                  {{"textDocument", {{"uri", kUri}, {"version", version}}},
                   {"contentChanges", changes}}}});
}

// The params of the next diagnostics published.
Json published(LspClient& client, std::chrono::milliseconds timeout = 20s) {
  std::optional<Json> message =
      client.notification("textDocument/publishDiagnostics", timeout);
  if (!message) throw std::runtime_error("no diagnostics were published");
  return (*message)["params"];
}

Json symbols(LspClient& client) {
  return client.request("textDocument/documentSymbol", kDocument)["result"];
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

// Initializes `client` offering `encodings`: positions count UTF-8 bytes
// when it lists utf-8, UTF-16 units otherwise. Whether they are UTF-16.
bool initialize_offering(LspClient& client, const Json& encodings) {
  Json params = {{"capabilities", Json::object()}};
  if (!encodings.empty()) {
    params["capabilities"]["general"]["positionEncodings"] = encodings;
  }
  const bool utf16 = encodings.empty();
  EXPECT_EQ(
      client.initialize(params)["result"]["capabilities"]["positionEncoding"],
      utf16 ? "utf-16" : "utf-8");
  return utf16;
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The C text of line `line` of a UTF-8 program.
std::string c_line(std::string_view program, std::size_t line) {
  return utf8(std::string(
      translate_in_memory("prog.zem", sjis(program)).c_text_of(line)));
}

// ---------------------------------------------------------------- lifecycle

TEST(LspServer, BadInputIsAnsweredAndTheServerGoesOn) {
  const auto request = [](const char* method, const Json& params) {
    return framed({{"id", 70}, {"method", method}, {"params", params}});
  };
  Json misshapen = at(0, 0);
  misshapen["position"] = "here";
  Json unopened = at(0, 0);
  unopened["textDocument"]["uri"] = test_uri("x.zem");
  const struct {
    const char* name;
    bool initialized;
    std::string bytes;
    int code;  // the error expected, 0 for no answer at all
    Json id;   // of the error
    // The error's message, in our words; null where any will do.
    const char* says = nullptr;
  } cases[] = {
      {"request before initialize", false,
       request("textDocument/hover", at(0, 0)), -32002, 70},
      {"notification before initialize", false,
       framed({{"method", "initialized"}}), 0, nullptr},
      {"unknown method", true,
       framed({{"id", "x"}, {"method", "zemuc/nothing"}}), -32601, "x"},
      {"unknown notification", true, framed({{"method", "zemuc/nothing"}}), 0,
       nullptr},
      {"malformed JSON", true, lsp::frame("{\"id\":70,\"method\":"), -32700,
       nullptr},
      {"JSON that is no object", true, lsp::frame("[1,2]"), -32600, nullptr},
      {"no method", true, framed({{"id", 70}}), -32600, 70},
      {"a method that is no string", true, framed({{"id", 70}, {"method", 5}}),
       -32600, 70},
      {"params that are a number", true, request("shutdown", 5), -32600, 70},
      {"params of the wrong shape", true,
       request("textDocument/hover", misshapen), -32602, 70,
       "invalid params for textDocument/hover"},
      {"params without a field", true,
       request("textDocument/codeAction", kDocument), -32602, 70,
       "invalid params for textDocument/codeAction"},
      {"a document never opened", true, request("textDocument/hover", unopened),
       -32602, 70},
      {"initialize twice", true,
       request("initialize", {{"capabilities", Json::object()}}), -32600, 70},
      {"a change with text of the wrong type", true,
       changed(2, {{{"text", 5}}}), 0, nullptr},
      {"JSON nested a hundred thousand deep", true,
       lsp::frame(std::string(100000, '[') + std::string(100000, ']')), -32600,
       nullptr},
      {"a header without Content-Length", true, "Content-Type: x\r\n\r\n{}", 0,
       nullptr},
      {"a Content-Length that is no number", true,
       "Content-Length: many\r\n\r\n{}", 0, nullptr},
      {"garbage, then a header", true, "\x01\x02garbage\r\n", 0, nullptr},
  };
  // The next answer, passing over notifications.
  const auto next_answer = [](LspClient& client) {
    return client.take([](const Json& m) { return !m.contains("method"); }, 10s)
        .value_or(nullptr);
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LspClient client;
    if (c.initialized) {
      client.initialize();
      client.open(kUri, "はじめ\n\t見る(\"x\");\nおわり\n");
    }
    client.send_raw(c.bytes);
    if (c.code != 0) {
      Json answer = next_answer(client);
      EXPECT_EQ(answer["error"]["code"], c.code) << answer;
      EXPECT_EQ(answer["id"], c.id) << answer;
      if (c.says) {
        EXPECT_EQ(answer["error"]["message"], c.says) << answer;
      }
    }
    // The next request is the next one answered.
    const int id =
        c.initialized
            ? client.ask("textDocument/documentSymbol", kDocument)
            : client.ask("initialize", {{"capabilities", Json::object()}});
    const Json answer = next_answer(client);
    EXPECT_EQ(answer["id"], id) << answer;
    EXPECT_TRUE(answer.contains("result")) << answer;
  }
}

TEST(LspServer, ExitStatus) {
  const struct {
    const char* name;
    // Requests and notifications in order; "close" closes the input.
    std::vector<std::string> steps;
    int status;
  } endings[] = {
      {"shutdown and exit", {"initialize", "shutdown", "exit"}, 0},
      {"exit without shutdown", {"initialize", "exit"}, 1},
      {"exit before initialize", {"exit"}, 1},
      {"input closed without exit", {"initialize", "shutdown", "close"}, 1},
      {"a request after shutdown, then exit",
       {"initialize", "shutdown", "textDocument/documentSymbol", "exit"},
       0},
  };
  for (const auto& c : endings) {
    SCOPED_TRACE(c.name);
    LspClient client;
    bool shut = false;
    for (const std::string& step : c.steps) {
      if (step == "exit") {
        client.notify("exit", nullptr);
      } else if (step == "close") {
        client.close_input();
      } else {
        const Json answer = client.request(
            step, step == "initialize" ? Json{{"capabilities", Json::object()}}
                                       : kDocument);
        if (shut) {
          EXPECT_EQ(answer["error"]["code"], -32600) << answer;
        } else {
          EXPECT_TRUE(answer.contains("result")) << answer;
        }
        shut = shut || step == "shutdown";
      }
    }
    EXPECT_EQ(client.wait(), c.status);
  }
}

// Its position encoding: PositionsAfterJapaneseAndAstralCharacters.
TEST(LspServer, InitializeAnnouncesWhatItServes) {
  LspClient client;
  const Json result = client.initialize()["result"];
  const Json& capabilities = result["capabilities"];
  EXPECT_EQ(capabilities["textDocumentSync"]["change"], 2);
  for (const char* provider :
       {"hoverProvider", "completionProvider", "definitionProvider",
        "referencesProvider", "documentSymbolProvider", "codeActionProvider"}) {
    EXPECT_TRUE(capabilities.contains(provider)) << provider;
  }
  EXPECT_EQ(result["serverInfo"]["name"], "zemuc");
}

// ------------------------------------------------------------- diagnostics

// What `zemuc check` finds in a UTF-8 source, each as LINE:COLUMN TEXT.
std::vector<std::string> check_says(const std::string& source,
                                    const std::vector<std::string>& env = {}) {
  ScratchDir dir;
  dir.write("prog.zem", source);
  const RunResult run = run_zemuc({"check", "prog.zem"}, dir.path(), "", env);
  std::vector<std::string> found;
  const std::regex form(R"(prog\.zem:(\d+:\d+): warning: (.*))");
  std::istringstream out(run.out);
  for (std::string line; std::getline(out, line);) {
    std::smatch m;
    if (std::regex_match(line, m, form))
      found.push_back(m[1].str() + " " + m[2].str());
  }
  return found;
}

// The diagnostics published, as check_says() gives them: lines and columns
// from 1 (the sources have no astral characters, so a UTF-16 unit is a
// character).
std::vector<std::string> server_says(const Json& published) {
  std::vector<std::string> found;
  for (const Json& d : published["diagnostics"]) {
    EXPECT_EQ(d["severity"], 2) << d;
    EXPECT_EQ(d["source"], "zemuc");
    const Json& start = d["range"]["start"];
    found.push_back(std::to_string(start["line"].get<int>() + 1) + ":" +
                    std::to_string(start["character"].get<int>() + 1) + " " +
                    d["message"].get<std::string>());
  }
  return found;
}

TEST(LspServer, DiagnosticsAreExactlyTheCheckFindings) {
  const std::string source =
      read_file(std::filesystem::path(ZEM_PROJECT_DIR) /
                "editors/tests/grammar/traps/traps.zem.txt");
  const std::vector<std::string> expected = check_says(source);
  ASSERT_GT(expected.size(), 10u);
  LspClient client;
  client.initialize();
  client.open(kUri, source, 4);
  const Json params = published(client);
  EXPECT_EQ(params["uri"], kUri);
  EXPECT_EQ(params["version"], 4);
  EXPECT_EQ(server_says(params), expected);
}

TEST(LspServer, TheLanguageOfTheTexts) {
  const std::string source = "はじめ\n\t見る \"x\";\nおわり\n";
  const std::vector<std::string> japanese_env = {"LC_ALL=ja_JP.UTF-8"};
  const std::string japanese = check_says(source, japanese_env).at(0);
  const std::string english = check_says(source).at(0);
  ASSERT_NE(japanese, english);
  const struct {
    const char* name;
    std::vector<std::string> env;
    Json locale;
    std::string said;
  } cases[] = {
      {"the environment's locale", japanese_env, nullptr, japanese},
      {"the client's locale", {}, "ja", japanese},
      {"the client's locale before the environment's", japanese_env, "en-US",
       english},
      {"neither", {}, nullptr, english},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LspClient client(c.env);
    Json params = {{"capabilities", Json::object()}};
    if (!c.locale.is_null()) params["locale"] = c.locale;
    client.initialize(params);
    client.open(kUri, source);
    EXPECT_EQ(server_says(published(client)).at(0), c.said);
  }
}

// Neither the check nor the compiler finds anything in them.
TEST(LspServer, EveryExampleIsClean) {
  for (const auto& entry : std::filesystem::directory_iterator(
           std::filesystem::path(ZEM_PROJECT_DIR) / "examples")) {
    const std::string name = entry.path().filename().string();
    LspClient client({}, Compiler::kFound);
    client.initialize();
    client.open(kUri, utf8(read_file(entry.path() / (name + ".zem"))));
    EXPECT_EQ(published(client)["diagnostics"], Json::array()) << name;
  }
}

// ---------------------------------------------------------------- positions

// A line with kanji and an astral character that has no Shift-JIS form:
// the character is an error where it stands, the finding after it is at
// its place in the client's units, and the rest is still read.
TEST(LspServer, PositionsAfterJapaneseAndAstralCharacters) {
  const std::string before = "\t数😀=1;";
  for (const Json& offered : {Json::array(), Json{"utf-8", "utf-16"}}) {
    SCOPED_TRACE(offered.dump());
    LspClient client;
    const bool utf16 = initialize_offering(client, offered);
    client.open(kUri, "はじめ\n" + before + "見る(\"x\");\nおわり\n");
    const Json list = published(client)["diagnostics"];
    ASSERT_EQ(list.size(), 2u) << list;
    EXPECT_EQ(list[0]["severity"], 1);
    EXPECT_EQ(list[0]["code"], "no-shift-jis");
    EXPECT_NE(list[0]["message"].get<std::string>().find("U+1F600"),
              std::string::npos);
    EXPECT_EQ(list[0]["range"],
              range(1, units("\t数", utf16), units("\t数😀", utf16)));
    EXPECT_EQ(list[1]["code"], "text-after-semicolon");
    EXPECT_EQ(list[1]["range"]["start"], position(1, units(before, utf16)));
    // The variable holds the stand-in, and is found where it stands.
    const Json found = symbols(client);
    ASSERT_EQ(found.size(), 1u) << found;
    EXPECT_EQ(found[0]["name"], "数〓");
    EXPECT_EQ(found[0]["location"]["range"]["end"]["character"],
              units("\t数😀", utf16));
  }
}

// A byte that is no UTF-8 in a document's text is one U+FFFD, which has
// no Shift-JIS form, and the rest of the document is read.
TEST(LspServer, BytesThatAreNoUtf8AreReplaced) {
  const struct {
    const char* name;
    std::string bytes;
    std::size_t replaced;  // the U+FFFD they become
  } cases[] = {
      {"a lone trail byte", "\x80", 1},
      {"a character cut short", "\xE3\x81", 2},
      {"a surrogate", "\xED\xA0\x80", 3},
      {"an overlong slash", "\xC0\xAF", 2},
  };
  // The text with the bytes in place of @, as a didOpen or didChange.
  const auto with_bytes = [&](const Json& message, const std::string& bytes) {
    const std::string body = message.dump();
    return lsp::frame(body.substr(0, body.find('@')) + bytes +
                      body.substr(body.find('@') + 1));
  };
  const std::string text = "はじめ\n\t数@=1;\nおわり\n";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string name = "数";
    for (std::size_t i = 0; i < c.replaced; ++i) name += "〓";
    LspClient client;
    client.initialize();
    client.send_raw(with_bytes({{"jsonrpc", "2.0"},
                                {"method", "textDocument/didOpen"},
                                {"params",
                                 {{"textDocument",
                                   {{"uri", kUri},
                                    {"languageId", "zem"},
                                    {"version", 1},
                                    {"text", text}}}}}},
                               c.bytes));
    EXPECT_EQ(published(client)["diagnostics"].size(), c.replaced);
    EXPECT_EQ(symbols(client).at(0)["name"], name);
    client.send_raw(with_bytes(
        {{"jsonrpc", "2.0"},
         {"method", "textDocument/didChange"},
         {"params",
          {{"textDocument", {{"uri", kUri}, {"version", 2}}},
           {"contentChanges", {{{"range", range(1, 2, 2)}, {"text", "@"}}}}}}},
        c.bytes));
    EXPECT_EQ(published(client)["version"], 2);
    EXPECT_EQ(symbols(client).at(0)["name"], name + name.substr(3));
  }
}

// Ranged changes around kanji and an astral character land where the
// client means them, in either encoding.
TEST(LspServer, IncrementalChanges) {
  for (const Json& offered : {Json::array(), Json{"utf-8"}}) {
    SCOPED_TRACE(offered.dump());
    LspClient client;
    const bool utf16 = initialize_offering(client, offered);
    client.open(kUri, "はじめ\n\t見る(\"😀\");\nおわり\n");
    published(client);
    const auto line_1 = [&](std::string_view a, std::string_view b) {
      return range(1, units(a, utf16), units(b, utf16));
    };
    // `(` becomes a blank; then a variable goes in after the emoji; then a
    // line is added before it all.
    client.send_raw(changed(
        2,
        {{{"range", line_1("\t見る", "\t見る(")}, {"text", " "}},
         {{"range", line_1("\t見る \"😀\"", "\t見る \"😀\"")}, {"text", ",数a"}},
         {{"range", range(0, 0, 0)}, {"text", "//😀\n"}}}));
    const Json params = published(client);
    EXPECT_EQ(params["version"], 2);
    std::vector<std::string> codes;
    for (const Json& d : params["diagnostics"]) codes.push_back(d["code"]);
    // The line is now `\t見る "😀",数a);` after the new first line.
    EXPECT_EQ(codes,
              (std::vector<std::string>{"no-shift-jis", "keyword-space-removed",
                                        "no-shift-jis"}));
    const Json found = symbols(client);
    ASSERT_EQ(found.size(), 1u) << found;
    EXPECT_EQ(found[0]["location"]["range"]["start"],
              position(2, units("\t見る \"😀\",", utf16)));
  }
}

// ------------------------------------------------------ bursts and sizes

TEST(LspServer, ABurstOfChangesIsAnalysedAtItsLatestVersion) {
  LspClient client;
  client.initialize();
  std::string burst = framed({{"method", "textDocument/didOpen"},
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
    burst += changed(version, {{{"text", "はじめ\n" + body + "おわり\n"}}});
  }
  ASSERT_LT(burst.size(), 60000u);  // one write, within a pipe's buffer
  client.send_raw(burst);
  const Json params = published(client);
  EXPECT_EQ(params["version"], kLast);
  EXPECT_EQ(params["diagnostics"].size(), 1u);
  // Nothing was published for the older versions.
  symbols(client);
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
  const Json list = published(client, 120s)["diagnostics"];
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
  const struct {
    std::size_t line;
    std::size_t character;
    std::vector<std::string> holds;
  } cases[] = {
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
      {6, 1, {"line 7 in C:\n```c\n"}},
  };
  for (const auto& c : cases) {
    const std::string text = hover_text(c.line, c.character);
    for (const std::string& part : c.holds) {
      EXPECT_NE(text.find(part), std::string::npos)
          << c.line << ":" << c.character << " lacks " << part << " in\n"
          << text;
    }
  }
}

// Past the last line of the program there is no line to show: the empty
// line after the last line feed, and lines that are not there at all.
TEST_F(Features, HoverPastTheLastLineIsNull) {
  EXPECT_NE(hover_text(11, 3), "");  // おわり
  for (const auto& [line, character] :
       {std::pair{12, 0}, std::pair{13, 0}, std::pair{40, 2}}) {
    const Json answer =
        client.request("textDocument/hover", at(line, character));
    EXPECT_TRUE(answer.contains("result") && answer["result"].is_null())
        << line << ":" << character << " " << answer;
  }
}

TEST_F(Features, HoverShowsEachLineExactlyAsTheCFileHoldsIt) {
  for (std::size_t line = 1; line <= 12; ++line) {
    const std::string c_text = c_line(kProgram, line);
    ASSERT_FALSE(c_text.empty()) << line;
    EXPECT_NE(hover_text(line - 1, 0).find("```c\n" + c_text + "```"),
              std::string::npos)
        << line;
  }
}

TEST_F(Features, Completion) {
  // A half-typed name: the edit replaces it.
  client.send_raw(
      changed(2, {{{"range", range(6, 2, 2)}, {"text", "\n\t数"}}}));
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
  EXPECT_EQ(by_label["数a"]["textEdit"]["range"], range(7, 1, 2));
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
  const struct {
    std::size_t line;
    std::size_t character;
    std::size_t definition_line;
    std::vector<std::size_t> reference_lines;
  } cases[] = {
      {5, 10, 3, {3, 5}},      // 数ab, not 数a
      {3, 6, 2, {2, 3, 4}},    // 数a, not 数ab
      {10, 5, 1, {1, 7, 10}},  // the file
      {8, 9, 7, {7, 8}},       // 字s
  };
  for (const auto& c : cases) {
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
  for (const std::size_t character : {2, 6}) {
    EXPECT_TRUE(
        client.request("textDocument/definition", at(5, character))["result"]
            .is_null());
  }
}

TEST_F(Features, DocumentSymbols) {
  std::vector<std::string> seen;
  for (const Json& symbol : symbols(client)) {
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

TEST(LspServer, CodeActionsOnlyWhereTheMendIsCertain) {
  const struct {
    const char* name;
    std::string line;    // the second line of a program
    std::string mended;  // that line after the mend; empty for no mend
  } cases[] = {
      {"a blank after a keyword", "\t見る \"x\";", "\t見る(\"x\";"},
      {"blanks after a keyword", "\t打つ   数a);", "\t打つ(数a);"},
      {"a keyword glued to a text", "\t見る\"x\";", "\t見る(\"x\";"},
      {"after an astral character", "\t数😀=1;見る \"x\"", ""},
      {"a full-width indentation", "　\t　見る(\"x\");", "\t\t\t見る(\"x\");"},
      {"a keyword glued to a name", "\t見る数a;", ""},
      {"a variable without a label", "\t見る(数a);", ""},
      {"spaces in quotes", "\t見る(\"a b\");", ""},
      {"a full-width space inside a line", "\t数a=1　;", ""},
      {"an address sign before a name", "\tscanf(\"%d\",&数a);",
       "\tscanf(\"%d\",&(数a));"},
      {"two names after signs", "\t数c=~数a|!数b;", "\t数c=~(数a)|!(数b);"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LspClient client;
    client.initialize();
    client.open(kUri, "はじめ\n" + c.line + "\nおわり\n");
    Json params = kDocument;
    params["range"] = range(1, 0, units(c.line));
    params["context"] = {{"diagnostics", Json::array()}};
    const Json actions =
        client.request("textDocument/codeAction", params)["result"];
    if (c.mended.empty()) {
      EXPECT_EQ(actions, Json::array());
      continue;
    }
    ASSERT_EQ(actions.size(), 1u) << actions;
    EXPECT_EQ(actions[0]["kind"], "quickfix");
    // The edits, applied as a client applies them, give the mended line:
    // its finding is gone, and no other came or went.
    const Json& edits = actions[0]["edit"]["changes"][kUri];
    Json changes = Json::array();
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
      changes.push_back(
          {{"range", (*edit)["range"]}, {"text", (*edit)["newText"]}});
    }
    const std::size_t findings = published(client)["diagnostics"].size();
    client.send_raw(changed(2, changes));
    const Json after = published(client)["diagnostics"];
    EXPECT_EQ(after.size(), findings - 1) << after;
    for (const Json& d : after) {
      EXPECT_NE(d["code"], actions[0]["diagnostics"][0]["code"]) << d;
    }
    const std::string mended = "はじめ\n" + c.mended + "\nおわり\n";
    const Json hover =
        client.request("textDocument/hover", at(1, units(c.mended) - 1));
    EXPECT_NE(hover["result"]["contents"]["value"].get<std::string>().find(
                  "line 2 in C:\n" + c_line(mended, 2)),
              std::string::npos)
        << hover;
  }
}

}  // namespace
}  // namespace zemuc::testing
