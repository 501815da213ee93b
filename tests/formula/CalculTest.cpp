#include "formula/Calcul.h"

#include "CalcTestSupport.h"
#include "formula/Stamp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <string>
#include <vector>

namespace tramble {
namespace {

using test::Calc;

struct TStep {
    std::string Formula;
    std::string Expected;
};

// Each row runs its steps in order on one fresh evaluator.
void RunRows(const std::vector<std::vector<TStep>>& rows)
{
    for (const auto& row : rows) {
        TCalcul calcul;
        for (const TStep& step : row)
            EXPECT_EQ(Calc(calcul, step.Formula), step.Expected) << "formula: " << step.Formula;
    }
}

TEST(CalculTest, EdgeCaseTable)
{
    RunRows({
        {{"1+2*3", "7"}},
        {{"1+2=3", "1"}},
        {{"(1+2)=3", "1"}},
        {{"7 div 2", "3"}, {"-7 mod 3", "-1"}, {"2^10", "1024"}, {"2^0.5", "1.414213562373"}},
        {{"-2^2", "4"}, {"x:=3", "3"}, {"2-x^2", "-7"}},
        {{"2*-3", "error: ? operand "}, {"2*(-3)", "-6"}},
        {{"1/0", "0"}, {"5 div 0", "0"}},
        {{"5 mod 0", "error: invalid formule"}},
        {{"10/4", "2.5"}, {"1/3", "0.333333333333"}},
        {{"1.0", "1.0"}, {"1.0+0", "1"}},
        {{"\"ab\" | \"cd\"", "\"abcd\""}},
        {{"1 | 2", "\"12\""}},
        {{"x:=5", "5"}, {"x*2", "10"}},
        {{"x:=5", "5"}, {"freevar(\"x\")", "1"}, {"x", "error: Unknown variable:x"}},
        {{"a:=1; b:=a+1; a+b", "3"}},
        {{"3 in [1, 2, 3]", "1"}, {"3.0 in [1,2,3]", "1"}, {"\"b\" in [\"a\",\"b\"]", "1"}},
        {{"3 in 1", "error: Invalid parameter for operation in [..]"}},
        {{"\"abc\" like \"a%\"", "\"1\""}, {"\"abc\" wildcard \"A?C\"", "\"1\""}},
        {{"copy(\"abcdef\",2,3)", "\"bcd\""}, {"copy(\"abc\",5)", "\"\""}, {"pos(\"c\",\"abc\")", "3"}},
        {{"replace(\"aAa\",\"a\",\"x\")", "\"xxx\""}, {"replace(\"aAa\",\"a\",\"x\",1,0)", "\"xAx\""}},
        {{"iff(1,\"yes\",\"no\")", "\"yes\""}, {"iff(2,\"yes\",\"no\")", "\"no\""}},
        {{"maxval(3,9,4)", "9"}, {"avgval(1,2)", "1.5"}},
        {{"copy(\"abc\")", "error: Not enough params"}},
        {{"2^(1+2)", "error: invalid formule"}},
        {{"sin (1)", "error: Invalid expression"}},
        {{"1 + 2 # 3", "3"}},
        {{"1+2;;   ", "3"}},
        {{"\"abc\" < \"abd\"", "1"}},
        {{"_PI", "3.14159265"}, {"_pi", "error: Unknown variable:_pi"}},
        {{"(1+2", "error: invalid formule"}},
    });
}

// Points where the plain rules are silent or go wrong, settled for this system.
TEST(CalculTest, Rulings)
{
    RunRows({
        {{"1+2;3+4", "8"}, {"arctg(1)*4", "3.141592653588"}},
        {{"maxval(1,maxval(2,3))", "3"}, {"iff(1,copy(\"abc\",1,2),\"x\")", "\"ab\""}},
        {{"minval(maxval(1,5),maxval(2,3),4)", "3"}, {"copy(copy(\"abcdef\",2,4),2,2)", "\"cd\""}},
        {{"abs(-3)", "3"}, {"sign(-0.5)", "-1"}, {"abs(-x)", "error: Unknown variable:x"}},
        {{"(2 in [1,2])", "1"}, {"iff(2 in [1,2],\"y\",\"n\")", "\"y\""}},
        {{"copy(\"abcdef\",1,2,3,4,5,6)", "\"ab\""}, {"maxval(copy(\"123\",1,1,9,9,9,9),7)", "7"}},
        {{"x:=1;x:=2;x", "2"}, {"x", "2"}},
        {{"(1,2)", "error: invalid formule"}, {"1,2", "error: invalid formule"}},
        {{"10^5000", "error: invalid formule"}, {"exp(100000)", "error: invalid formule"}},
        {{"0-0.0000000000001", "0"}, {"-0.0000000000001*1", "0"}},
        {{"2^64", "1.84467440737096E+19"}, {"2^100", "1.26765060022823E+30"}, {"10^18", "1E+18"}},
        {{"-(2^100)", "-1.26765060022823E+30"}, {"10^18-1", "999999999999999999"}},
        {{"pos(\"\",\"abc\")", "0"}, {"pos(\" \",\"a b\")", "0"}, {"replace(\"abc\",\"\",\"x\")", "\"abc\""}},
        {{"\"a\" wildcard \"[a\"", "error: invalid formule"}, {"\"ab\" wildcard \"*.*\"", "\"0\""}},
        {{"\"a.b\" wildcard \"*.*\"", "\"1\""}, {"\"x\" wildcard \"[!a-c]\"", "\"1\""}},
        {{"\"10\" < \"9a\"", "1"}, {"2 < 10", "1"}, {"\"b\" >= \"a\"", "1"}},
        {{"strtostamp(\"10000/1/1\")", "error: invalid formule"},
         {"stamptodatestr(2958466)", "error: invalid formule"}},
        {{"stamptotimestr(0.43090277777)", "\"10:20:30.000\""}, {"sec(\"10:20:30\")", "30"}},
    });
}

TEST(CalculTest, ComparisonEvaluatesEachSideOnce)
{
    TCalcul calcul;
    Calc(calcul, "n:=0");
    EXPECT_EQ(Calc(calcul, "eval(\"n:=n+1\") < \"x\""), "1");
    EXPECT_EQ(Calc(calcul, "n"), "1");
    EXPECT_EQ(Calc(calcul, "zz < \"x\""), "error: Unknown variable:zz");
}

TEST(CalculTest, ErrorMessages)
{
    RunRows({
        {{"\"abc\"+1", "error: Error, convert to numeric value:abc"}},
        {{"1.+2", "error: Wrong number in 1.+2"}, {"2e+", "error: Wrong number in 2e+"}},
        {{"copy(\"a\",1.)", "error: Wrong number in copy((\"a\"),(1.))"}},
        {{"\"abc", "error: String value end error"}},
        {{"3 in [1,2", "error: Invalid set parameter [..]"}},
        {{"foo(1)", "error: Invalid function foo(...)"}, {"Foo(1,2)", "error: Invalid function Foo(...)"}},
        {{"", "error: ? operand "}, {"1+*2", "error: ? operand "}},
        {{"2^-1", "error: Invalid values"}, {"2^()", "error: Invalid values"}, {"2^(-1)", "0.5"}},
        {{"1 2", "error: Invalid expression"}},
        {{"zz", "error: Unknown variable:zz"}, {"_zz", "error: Unknown variable:_zz"}},
        {{"insert(\"a\",\"b\")", "error: Not enough params"}},
        {{"\"a\" in \"b\"", "error: Invalid parameter for operation in [..]"}},
        {{"ln(0)", "error: invalid formule"}, {"sqrt(-1)", "error: invalid formule"}},
        {{"arcsin(2)", "error: invalid formule"},
         {"ctg(0)", "error: invalid formule"},
         {"cth(0)", "error: invalid formule"}},
        {{"(-8)^0.5", "error: invalid formule"},
         {"2^(1/3)", "error: invalid formule"},
         {"0^-1", "error: Invalid values"},
         {"0^(-1)", "error: invalid formule"}},
        {{"char(-1)", "error: invalid formule"}, {"1e10 div 1", "error: invalid formule"}},
    });
}

// The first error stands; nothing after it is evaluated.
TEST(CalculTest, FirstErrorWins)
{
    TCalcul calcul;
    EXPECT_EQ(Calc(calcul, "aa + bb"), "error: Unknown variable:aa");
    EXPECT_EQ(Calc(calcul, "aa | bb"), "error: Unknown variable:bb"); // right operand first
    EXPECT_EQ(Calc(calcul, "aa + eval(\"q:=1\")"), "error: Unknown variable:aa");
    EXPECT_FALSE(calcul.Variables().VariableExists("q"));
    EXPECT_EQ(Calc(calcul, "1+1"), "2");
    EXPECT_FALSE(calcul.Failed());
}

// When both operands are texts that are no numbers, the one written first is
// the one reported, whatever order the compiler picks for the conversions.
TEST(CalculTest, LeftOperandConvertsFirst)
{
    RunRows({
        {{"\"ab\"+\"cd\"", "error: Error, convert to numeric value:ab"}},
        {{"\"ab\"-\"cd\"", "error: Error, convert to numeric value:ab"}},
        {{"\"ab\"*\"cd\"", "error: Error, convert to numeric value:ab"}},
        {{"\"ab\"^\"cd\"", "error: Error, convert to numeric value:ab"}},
        {{"1+\"cd\"", "error: Error, convert to numeric value:cd"}},
    });
}

TEST(CalculTest, FunctionsOfOneArgument)
{
    RunRows({
        {{"sin(0)", "0"}, {"cos(0)", "1"}, {"tg(1)", "1.557407724655"}, {"ctg(1)", "0.642092615934"}},
        {{"sin(1e19)", "0"}, {"cos(-1e19)", "0"}},
        {{"arcsin(1)", "1.570796326795"}, {"arccos(1)", "0"}, {"arcctg(0)", "1.570796326795"}},
        {{"sh(1)", "1.175201193644"}, {"ch(0)", "1"}, {"th(1)", "0.761594155956"}, {"cth(1)", "1.313035285499"}},
        {{"exp(1)", "2.718281828459"}, {"ln(exp(2))", "2"}, {"sqrt(16)", "4"}, {"abs(-2.5)", "2.5"}},
        {{"sign(-0.00000001)", "0"}, {"sign(0.00000001)", "0"}, {"sign(0.00000002)", "1"}, {"sign(-3)", "-1"}},
        {{"heaviside(0)", "1"}, {"h(-1)", "0"}, {"frac(-2.5)", "-0.5"}, {"trunc(-2.5)", "-2"}},
        {{"not(1)", "0"}, {"not(0.5)", "1"}, {"logic(0.9999999)", "1"}, {"logic(0.99)", "0"}, {"logic(-5)", "0"}},
        {{"numeric(\" 1 234,5 \")", "1234.5"}, {"string(12)", "\"12\""}, {"length(\"abc \")", "4"}},
        {{"trim(\"  a b \")", "\"a b\""}, {"trimleft(\" a \")", "\"a \""}, {"trimright(\" a \")", "\" a\""}},
        {{"upper(\"abc\")", "\"ABC\""}, {"lower(\"ÀÉ\")", "\"àé\""}, {"upper(\"é\")", "\"É\""}},
        {{"char(65)", "\"A\""}, {"char(233)", "\"é\""}, {"ascii(\"A\")", "65"}, {"ascii(\"é\")", "233"}},
        {{"ascii(\"\")", ""}, {"length(char(233))", "2"}},
        {{"eval(\"1+2\")", "3"}, {"eval(\"[2*3]\")", "6"}, {"eval(\"\"\"a\"\"|1\")", "\"a1\""}, {"eval(\"1+\")", ""}},
        {{"existvar(\"v\")", "0"},
         {"v:=1", "1"},
         {"existvar(\"V\")", "1"},
         {"freevar(\"v\")", "1"},
         {"freevar(\"v\")", "0"}},
        {{"lastday(strtostamp(\"2024/02/10\"))", "29"}, {"lastday(strtostamp(\"2100/02/01\"))", "28"}},
        {{"strtostamp(\"2024/01/02 12:00\")", "45293.5"}, {"strtostamp(\"12:00\")", "0.5"}},
        {{"stamptodatestr(45293.5)", "\"2024/01/02\""}, {"stamptotimestr(45293.5)", "\"12:00:00.000\""}},
        {{"stamptostr(-1.25)", "\"1899/12/29 06:00:00.000\""}},
        {{"year(\"2024/03/04 05:06:07\")", "2024"}, {"month(\"2024/03/04\")", "3"}, {"day(\"2024/03/04\")", "4"}},
        {{"hour(\"2024/03/04 05:06:07\")", "5"}, {"minute(\"05:06:07\")", "6"}, {"sec(\"05:06:07.999\")", "7"}},
        {{"weekday(\"2024/01/01\")", "1"}, {"weekday(\"2024/01/07\")", "7"}, {"weekday(\"1899/12/29\")", "5"}},
    });
}

TEST(CalculTest, FunctionsOfSeveralArguments)
{
    RunRows({
        {{"copy(\"abc\",0,2)", "\"ab\""}, {"copy(\"abc\",2,0)", "\"\""}, {"copy(\"abc\",2)", "\"bc\""}},
        {{"copyto(\"abcdef\",2,4)", "\"bcd\""}, {"copyto(\"abc\",2)", "\"bc\""}, {"copyto(\"abc\",3,2)", "\"\""}},
        {{"copyto(\"abc\",0,9)", "\"abc\""}, {"copyto(\"abc\",4,9)", "\"\""}},
        {{"pos(\"b\",\"abcb\")", "2"}, {"pos(\"x\",\"abc\")", "0"}},
        {{"delete(\"abcdef\",2,3)", "\"aef\""}, {"delete(\"abc\",2)", "\"a\""}, {"delete(\"abc\",0,1)", "\"abc\""}},
        {{"delete(1234,2,2)", "14"}},
        {{"insert(\"abc\",\"X\",2)", "\"aXbc\""},
         {"insert(\"abc\",\"X\",99)", "\"abcX\""},
         {"insert(\"\",\"X\",5)", "\"X\""}},
        {{"replace(\"aAa\",\"a\",\"x\",0)", "\"xAa\""}, {"replace(\"aAa\",\"A\",\"x\",0,0)", "\"axa\""}},
        {{"iff(0,1,2)", "\"2\""}, {"iff(0.9999999,\"a\",\"b\")", "\"a\""}},
        {{"prefix(5,\"0\",42)", "\"00042\""}, {"prefix(4,7)", "\"   7\""}, {"prefix(2,\"0\",123)", "\"123\""}},
        {{"prefix(3,\"\",1)", "\"  1\""}, {"prefix(258,\"0\",1)", "\"01\""}},
        {{"numbase(255,16)", "\"FF\""}, {"numbase(5,1)", "\"101\""}, {"numbase(-10,2)", "\"-1010\""}},
        {{"basenum(\"ff\",16)", "255"},
         {"basenum(\"0\",10)", ""},
         {"basenum(\"G\",16)", ""},
         {"basenum(\"11\",99)", "17"}},
        {{"maxval(1)", "1"}, {"minval(3,-2,5)", "-2"}, {"sumval(1,2,3.5)", "6.5"}, {"avgval(1,2,4)", "2.333333333333"}},
        {{"sumval(\"a\",1)", "error: Error, convert to numeric value:a"}},
        {{"copy(\"  ab  \",1)", "\"ab\""}, {"length(\"  ab  \")", "6"}},
    });
}

TEST(CalculTest, ResultKinds)
{
    struct TKindCase {
        const char* Formula;
        TResultKind Kind;
    };
    const TKindCase cases[] = {
        {"1+1", rkNumber},
        {"\"a\"", rkText},
        {"1|1", rkText},
        {"\"1\"+1", rkNumber},
        {"\"a\";2", rkText},
        {"1;\"a\"", rkText},
        {"\"a\" like \"a\"", rkText},
        {"1 like 1", rkNumber},
        {"eval(\"1|1\")", rkText},
        {"eval(\"1\") ", rkNumber},
        {"delete(\"ab\",1,1)", rkText},
        {"(1|2)", rkText},
    };
    for (const TKindCase& c : cases) {
        TCalcul calcul;
        Calc(calcul, c.Formula);
        EXPECT_FALSE(calcul.Failed()) << c.Formula;
        EXPECT_EQ(calcul.ResultKind(), c.Kind) << c.Formula;
    }
    TCalcul calcul;
    Calc(calcul, "\"a\" + 1");
    EXPECT_EQ(calcul.ResultKind(), rkText); // the default kind stays on failure
}

TEST(CalculTest, VariablesKeepTextAndNumbers)
{
    TCalcul calcul;
    EXPECT_EQ(Calc(calcul, "t:=\"ab\""), "\"ab\"");
    EXPECT_EQ(calcul.Variables().GetVariable("T"), "\"ab\"");
    EXPECT_EQ(Calc(calcul, "t|\"c\""), "\"abc\"");
    EXPECT_EQ(Calc(calcul, "length(t)"), "2");
    EXPECT_EQ(Calc(calcul, "n:=  4*2"), "8");
    EXPECT_EQ(Calc(calcul, "n.x_1:=n+1"), "9");
    EXPECT_EQ(Calc(calcul, "N.X_1"), "9");
    EXPECT_EQ(Calc(calcul, "bad:=1+"), "");
    EXPECT_FALSE(calcul.Variables().VariableExists("bad"));
    EXPECT_EQ(Calc(calcul, "s:=[1, 2]; 2 in s"), "1");
    calcul.Variables().SetVariable("raw", "  \"q");
    EXPECT_EQ(Calc(calcul, "raw"), "\"q\"");
}

TEST(CalculTest, BuiltInNamesUseTheClock)
{
    std::tm noon{};
    noon.tm_year = 2024 - 1900;
    noon.tm_mon = 2;
    noon.tm_mday = 9;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    TManualClock clock(std::chrono::system_clock::from_time_t(std::mktime(&noon)));
    TCalcul calcul(clock);
    EXPECT_EQ(Calc(calcul, "_NOW"), "\"2024/03/09 12:00:00.000\"");
    EXPECT_EQ(Calc(calcul, "_DATE"), "\"2024/03/09\"");
    EXPECT_EQ(Calc(calcul, "_TIME"), "\"12:00:00.000\"");
    // Each evaluation reads the clock again, to the millisecond.
    clock.Advance(std::chrono::milliseconds(43200250));
    EXPECT_EQ(Calc(calcul, "_NOW"), "\"2024/03/10 00:00:00.250\"");
    EXPECT_EQ(Calc(calcul, "eval(\"day(_NOW)\")"), "10");
    EXPECT_EQ(Calc(calcul, "length(_LF|_TB)"), "3");
    calcul.Variables().SetVariable("_LF", "shadow");
    EXPECT_EQ(Calc(calcul, "_LF"), "\"\r\n\"");
}

TEST(CalculTest, OnGetVariableAnswersUnknownNames)
{
    TCalcul calcul;
    std::vector<std::string> asked;
    calcul.OnGetVariable = [&](TCalcul&, const std::string& name, std::string& value) {
        asked.push_back(name);
        if (name == "ext")
            value = " 41";
        else if (name == "txt")
            value = "\"hi\"";
        else
            return false;
        return true;
    };
    EXPECT_EQ(Calc(calcul, "ext+1"), "42");
    EXPECT_EQ(Calc(calcul, "txt"), "\"hi\"");
    EXPECT_EQ(Calc(calcul, "eval(\"ext\")"), "41");
    EXPECT_EQ(Calc(calcul, "nope"), "error: Unknown variable:nope");
    EXPECT_EQ(Calc(calcul, "_nope"), "error: Unknown variable:_nope");
    EXPECT_EQ(asked, (std::vector<std::string>{"ext", "txt", "ext", "nope"}));
}

TEST(CalculTest, SharedVariables)
{
    TCalcul first;
    TCalcul second;
    second.ShareVariables(first);
    Calc(first, "a:=7");
    EXPECT_EQ(Calc(second, "a*2"), "14");
    Calc(second, "b:=1");
    EXPECT_EQ(Calc(first, "b"), "1");
}

// Inputs that would exhaust the stack, the memory or the patience.
TEST(CalculTest, BoundedOnHostileInput)
{
    TCalcul calcul;
    const std::string nest = "Overflow nesting depth limit (set max. 1000)";
    EXPECT_EQ(Calc(calcul, std::string(100000, '(') + "1" + std::string(100000, ')')), "error: " + nest);
    std::string deepCalls;
    for (int i = 0; i < 900; ++i)
        deepCalls += "abs(";
    deepCalls += "-1" + std::string(900, ')');
    EXPECT_EQ(Calc(calcul, deepCalls), "1");

    EXPECT_EQ(Calc(calcul, "x:=\"eval(x)\""), "\"eval(x)\"");
    EXPECT_EQ(Calc(calcul, "eval(x)"), "error: " + nest);
    EXPECT_EQ(Calc(calcul, "1+1"), "2");

    std::string longSum = "1";
    for (int i = 0; i < 200000; ++i)
        longSum += "+1";
    EXPECT_EQ(Calc(calcul, longSum), "200001");

    std::string manyArgs = "sumval(1";
    for (int i = 0; i < 20000; ++i)
        manyArgs += ",1";
    EXPECT_EQ(Calc(calcul, manyArgs + ")"), "20001");

    std::string groups;
    for (int i = 0; i < 101; ++i)
        groups += "maxval(1,";
    groups += "1" + std::string(101, ')');
    EXPECT_EQ(Calc(calcul, groups), "error: Overflow argument groups limit (set max. 100)");

    EXPECT_EQ(Calc(calcul, "1.0000001^2147483647").substr(0, 9), "1.8366445");
    EXPECT_EQ(Calc(calcul, "0.5^1000000"), "0");
    EXPECT_EQ(Calc(calcul, "2^2147483647"), "error: invalid formule");
    EXPECT_EQ(Calc(calcul, "\"" + std::string(300, 'a') + "\" | \"\""), "\"" + std::string(300, 'a') + "\"");

    // Values are capped, so doubling a text cannot eat the memory.
    const std::string tooLong = "error: Overflow text length limit (set max. 1048576)";
    std::string doubling = "t:=\"ab\";";
    for (int i = 0; i < 25; ++i)
        doubling += "t:=t|t;";
    EXPECT_EQ(Calc(calcul, doubling + "length(t)"), tooLong);
    EXPECT_EQ(Calc(calcul, "length(t)"), "1048576");
    EXPECT_EQ(Calc(calcul, "replace(t,\"a\",\"xy\")"), tooLong);
    EXPECT_EQ(Calc(calcul, "\"" + std::string(2000000, 'a') + "\""), tooLong);
    EXPECT_EQ(Calc(calcul, "eval(\"t|t\")"), tooLong); // not swallowed like other errors of eval
}

// Random token soup: Calculate must never raise, and must report every
// failure with a message.
TEST(CalculTest, RandomTokensNeverEscape)
{
    const std::vector<std::string> tokens = {
        "1",    "2.5",   "-",       "+",     "*",    "/",           "^",    "(",    ")",  ",",     ";",  "\"a\"", "\"",
        "[",    "]",     "x",       ":=",    "div",  "mod",         "in",   "like", "or", "<",     ">=", "<>",    "|",
        "sin(", "copy(", "maxval(", "eval(", "iff(", "strtostamp(", "_NOW", "y:=",  " ",  "1e400", "%",  "{",     "0"};
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xFFFF;
    };
    TCalcul calcul;
    for (int i = 0; i < 20000; ++i) {
        std::string formula;
        const unsigned length = 1 + next() % 12;
        for (unsigned t = 0; t < length; ++t)
            formula += tokens[next() % tokens.size()];
        calcul.Formula = formula;
        std::string result;
        ASSERT_NO_THROW(result = calcul.Calculate()) << formula;
        if (calcul.Failed()) {
            EXPECT_FALSE(calcul.ErrorText().empty()) << formula;
            EXPECT_TRUE(result.empty()) << formula;
        }
    }
}

} // namespace
} // namespace tramble
