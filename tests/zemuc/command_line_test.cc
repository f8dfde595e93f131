#include "zemuc/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace zemuc {
namespace {

ParsedCommand parse(std::vector<const char*> args) {
  return parse_command_line(args);
}

TEST(CommandLine, VerbsWithTheirSource) {
  const ParsedCommand run = parse({"run", "prog.zem"});
  EXPECT_EQ(run.refusal, Refusal::kNone);
  EXPECT_EQ(run.command.verb, Verb::kRun);
  EXPECT_EQ(run.command.source, "prog.zem");
  EXPECT_EQ(parse({"check", "a.zem"}).command.verb, Verb::kCheck);

  // -o before or after the source, joined to its name or apart.
  for (const auto& args :
       std::vector<std::vector<const char*>>{{"build", "-o", "out", "prog.zem"},
                                             {"build", "prog.zem", "-o", "out"},
                                             {"build", "-oout", "prog.zem"}}) {
    const ParsedCommand build = parse(args);
    EXPECT_EQ(build.refusal, Refusal::kNone);
    EXPECT_EQ(build.command.output, "out");
    EXPECT_EQ(build.command.source, "prog.zem");
  }
  // After --, a name that starts with a dash is a source.
  EXPECT_EQ(parse({"run", "--", "-x.zem"}).command.source, "-x.zem");
}

// Checks are on unless asked off, for run and build only, anywhere among
// the options; after -- the word is a source.
TEST(CommandLine, ChecksAreOnUnlessAskedOff) {
  const struct {
    std::vector<const char*> args;
    Refusal refusal;
    bool checks;
  } cases[] = {
      {{"run", "a.zem"}, Refusal::kNone, true},
      {{"run", "--no-checks", "a.zem"}, Refusal::kNone, false},
      {{"run", "a.zem", "--no-checks"}, Refusal::kNone, false},
      {{"build", "--no-checks", "-o", "x", "a.zem"}, Refusal::kNone, false},
      {{"build", "-o", "x", "--no-checks", "a.zem"}, Refusal::kNone, false},
      {{"check", "--no-checks", "a.zem"}, Refusal::kChecksNotHere, true},
      {{"run", "--no-check", "a.zem"}, Refusal::kUnknownOption, true},
      {{"run", "--", "--no-checks"}, Refusal::kNone, true},
  };
  for (const auto& c : cases) {
    const ParsedCommand parsed = parse(c.args);
    EXPECT_EQ(parsed.refusal, c.refusal) << c.args.back();
    if (c.refusal == Refusal::kNone) {
      EXPECT_EQ(parsed.command.checks, c.checks) << c.args.back();
    }
  }
  EXPECT_EQ(parse({"run", "--", "--no-checks"}).command.source, "--no-checks");
}

TEST(CommandLine, HelpAndVersion) {
  EXPECT_EQ(parse({"--help"}).command.verb, Verb::kHelp);
  EXPECT_EQ(parse({"-h"}).command.verb, Verb::kHelp);
  EXPECT_EQ(parse({"run", "--help"}).command.verb, Verb::kHelp);
  EXPECT_EQ(parse({"--version"}).command.verb, Verb::kVersion);
  EXPECT_EQ(parse({"--version", "x"}).refusal, Refusal::kTakesNoArguments);
}

TEST(CommandLine, LanguageServer) {
  EXPECT_EQ(parse({"lsp"}).command.verb, Verb::kLsp);
  // The transport some clients name.
  EXPECT_EQ(parse({"lsp", "--stdio"}).refusal, Refusal::kNone);
  const ParsedCommand other = parse({"lsp", "--socket=9"});
  EXPECT_EQ(other.refusal, Refusal::kUnknownOption);
  EXPECT_EQ(other.subject, "--socket=9");
  EXPECT_EQ(parse({"lsp", "prog.zem"}).refusal, Refusal::kUnknownOption);
}

TEST(CommandLine, RefusalsNameWhatIsWrong) {
  EXPECT_EQ(parse({}).refusal, Refusal::kNoCommand);
  const ParsedCommand unknown = parse({"compile", "a.zem"});
  EXPECT_EQ(unknown.refusal, Refusal::kUnknownCommand);
  EXPECT_EQ(unknown.subject, "compile");
  EXPECT_EQ(parse({"run"}).refusal, Refusal::kNoSource);
  EXPECT_EQ(parse({"run", "a.zem", "b.zem"}).refusal, Refusal::kOneSource);
  EXPECT_EQ(parse({"run", "-o", "x", "a.zem"}).refusal,
            Refusal::kOutputNotHere);
  EXPECT_EQ(parse({"build", "a.zem", "-o"}).refusal, Refusal::kOutputNeedsName);
  EXPECT_EQ(parse({"build", "-o", "", "a.zem"}).refusal,
            Refusal::kOutputNeedsName);
  EXPECT_EQ(parse({"build", "-o", "x", "-o", "y", "a.zem"}).refusal,
            Refusal::kOutputTwice);
  const ParsedCommand option = parse({"run", "-v", "a.zem"});
  EXPECT_EQ(option.refusal, Refusal::kUnknownOption);
  EXPECT_EQ(option.subject, "-v");
}

// serve's folder, port and address, in either spelling of the options; a
// port beyond 65535 or not a number is refused before anything listens.
TEST(CommandLine, Serve) {
  const struct {
    std::vector<const char*> args;
    Refusal refusal;
    std::string site;
    int port;
    std::string bind;
  } cases[] = {
      {{"serve"}, Refusal::kNone, "", 8080, "0.0.0.0"},
      {{"serve", "site", "--port", "0"}, Refusal::kNone, "site", 0, "0.0.0.0"},
      {{"serve", "--port=65535", "--bind=10.0.0.2", "site"},
       Refusal::kNone,
       "site",
       65535,
       "10.0.0.2"},
      {{"serve", "--bind", "127.0.0.1", "--", "--port"},
       Refusal::kNone,
       "--port",
       8080,
       "127.0.0.1"},
      {{"serve", "--port", "65536"}, Refusal::kBadPort, "", 0, ""},
      {{"serve", "--port", "-1"}, Refusal::kBadPort, "", 0, ""},
      {{"serve", "--port=80x"}, Refusal::kBadPort, "", 0, ""},
      {{"serve", "--port="}, Refusal::kBadPort, "", 0, ""},
      {{"serve", "--port"}, Refusal::kOptionNeedsValue, "", 0, ""},
      {{"serve", "--bind="}, Refusal::kOptionNeedsValue, "", 0, ""},
      {{"serve", "a", "b"}, Refusal::kOneSite, "", 0, ""},
      {{"serve", "--listen"}, Refusal::kUnknownOption, "", 0, ""},
  };
  for (const auto& c : cases) {
    const ParsedCommand parsed = parse(c.args);
    EXPECT_EQ(parsed.refusal, c.refusal) << c.args.back();
    if (c.refusal != Refusal::kNone) continue;
    EXPECT_EQ(parsed.command.verb, Verb::kServe);
    EXPECT_EQ(parsed.command.site, c.site) << c.args.back();
    EXPECT_EQ(parsed.command.port, c.port) << c.args.back();
    EXPECT_EQ(parsed.command.bind, c.bind) << c.args.back();
  }
}

// test takes a program and a folder; exercise a task and its folders,
// pack with -o; --json is test's alone.
TEST(CommandLine, TestAndExercise) {
  const struct {
    std::vector<const char*> args;
    Refusal refusal;
    std::size_t folders;  // exercise: how many
  } cases[] = {
      {{"test", "a.zem", "ex"}, Refusal::kNone, 0},
      {{"test", "--json", "a.zem", "ex"}, Refusal::kNone, 0},
      {{"test", "a.zem"}, Refusal::kNoExercise, 0},
      {{"test"}, Refusal::kNoSource, 0},
      {{"test", "a.zem", "ex", "more"}, Refusal::kOneSource, 0},
      {{"test", "--no-checks", "a.zem", "ex"}, Refusal::kChecksNotHere, 0},
      {{"run", "--json", "a.zem"}, Refusal::kJsonNotHere, 0},
      {{"exercise", "check", "a", "b"}, Refusal::kNone, 2},
      {{"exercise", "outputs", "a"}, Refusal::kNone, 1},
      {{"exercise", "outputs", "a", "b"}, Refusal::kOneFolder, 0},
      {{"exercise", "pack", "a", "b", "-o", "x.json"}, Refusal::kNone, 2},
      {{"exercise", "pack", "a"}, Refusal::kPackNeedsOutput, 0},
      {{"exercise", "check", "-o", "x", "a"}, Refusal::kOutputNotHere, 0},
      {{"exercise", "check"}, Refusal::kNoFolder, 0},
      {{"exercise", "grade", "a"}, Refusal::kUnknownTask, 0},
      {{"exercise"}, Refusal::kNoCommand, 0},
  };
  for (const auto& c : cases) {
    const ParsedCommand parsed = parse(c.args);
    EXPECT_EQ(parsed.refusal, c.refusal) << c.args.size() << c.args.back();
    if (c.refusal == Refusal::kNone && c.folders > 0) {
      EXPECT_EQ(parsed.command.folders.size(), c.folders);
    }
  }
  const ParsedCommand test = parse({"test", "a.zem", "--json", "ex"});
  EXPECT_EQ(test.command.source, "a.zem");
  EXPECT_EQ(test.command.exercise, "ex");
  EXPECT_TRUE(test.command.json);
  EXPECT_EQ(parse({"exercise", "pack", "a", "-o", "x.json"}).command.output,
            "x.json");
}

}  // namespace
}  // namespace zemuc
