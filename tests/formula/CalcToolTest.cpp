#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace tramble {
namespace {

struct TToolRun {
    std::string Output;
    int Status = -1;
};

std::string Quoted(const std::string& arg)
{
    std::string out = "'";
    for (char c : arg)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs the real tramble-calc with the arguments and standard input given.
TToolRun RunTool(const std::vector<std::string>& args, const std::string& input = "")
{
    test::TempDir dir;
    const std::string inputFile = dir.file("input.txt");
    test::WriteFileBytes(inputFile, input);
    std::string command = Quoted(std::string(TRAMBLE_BINARY_DIR) + "/bin/tramble-calc");
    for (const std::string& arg : args)
        command += " " + Quoted(arg);
    command += " < " + Quoted(inputFile) + " 2>/dev/null";
    TToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.Output.append(buffer, n);
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(CalcToolTest, EvaluatesArgumentsOnOneEvaluator)
{
    TToolRun run = RunTool({"x:=4", "x*x", "\"a\"|\"b\""});
    EXPECT_EQ(run.Output, "4\n16\n\"ab\"\n");
    EXPECT_EQ(run.Status, 0);

    run = RunTool({"1+", "2"});
    EXPECT_EQ(run.Output, "error: ? operand \n2\n");
    EXPECT_EQ(run.Status, 1);

    run = RunTool({"--", "--script", "-2^2"});
    EXPECT_EQ(run.Output, "error: ? operand \n4\n");
    EXPECT_EQ(run.Status, 1);
}

TEST(CalcToolTest, ReadsLinesWhenNoFormulaIsGiven)
{
    TToolRun run = RunTool({}, "a:=2\r\na+1\nzz\n");
    EXPECT_EQ(run.Output, "2\n3\nerror: Unknown variable:zz\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(RunTool({}, "").Status, 0);
}

TEST(CalcToolTest, RunsAScriptFirst)
{
    test::TempDir dir;
    const std::string loop = dir.file("loop.txt");
    test::WriteFileBytes(loop, "i:=0; s:=0; WHILE i<10 DO { i:=i+1; s:=s+i*2 } END.");
    TToolRun run = RunTool({"--script", loop, "s", "i"});
    EXPECT_EQ(run.Output, "110\n10\n");
    EXPECT_EQ(run.Status, 0);

    const std::string broken = dir.file("broken.txt");
    test::WriteFileBytes(broken, "a:=1; IF a THEN x:=1 END.");
    run = RunTool({"--script", broken}, "a\n");
    EXPECT_EQ(run.Output, "error at 12: Incorrect syntax:THEN lack \"{\" form 12\n1\n");
    EXPECT_EQ(run.Status, 1);

    run = RunTool({"--script", dir.file("missing.txt"), "1"});
    EXPECT_EQ(run.Output, "error: cannot read " + dir.file("missing.txt") + "\n1\n");
    EXPECT_EQ(run.Status, 1);
}

// Line breaks inside a result or a message print as one blank each, so every
// input gives exactly one output line.
TEST(CalcToolTest, EachInputGivesOneLine)
{
    struct TCase {
        std::string Formula;
        std::string Line;
    };
    const std::vector<TCase> cases{
        {"1.\r\n+2", "error: Wrong number in 1. +2"},
        {"\"a\"|_LF|\"b\"", "\"a b\""},
        {"\"x\ny\"", "\"x y\""},
        {"\"x\r\ry\"", "\"x  y\""},
        {"\"plain\"", "\"plain\""},
    };
    for (const TCase& c : cases) {
        TToolRun run = RunTool({c.Formula, "7"});
        EXPECT_EQ(run.Output, c.Line + "\n7\n") << c.Formula;
    }

    test::TempDir dir;
    const std::string script = dir.file("script.txt");
    test::WriteFileBytes(script, "IF zz>1 THEN { x:=1 } END.");
    EXPECT_EQ(RunTool({"--script", script, "2"}).Output, "error at 1: Unknown variable:zz Formula:zz>1\n2\n");
}

} // namespace
} // namespace tramble
