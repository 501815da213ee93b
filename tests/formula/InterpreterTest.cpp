#include "formula/Interpreter.h"

#include "CalcTestSupport.h"
#include "formula/Calcul.h"

#include <gtest/gtest.h>

#include <string>

namespace tramble {
namespace {

class InterpreterTest : public ::testing::Test {
protected:
    InterpreterTest()
    {
        interpreter.Calculator = &calcul;
        interpreter.OnBeep = [this] { ++beeps; };
    }

    // Runs the script; true when it did not fail.
    bool Run(const std::string& script)
    {
        interpreter.Script = script;
        interpreter.Execute();
        return !interpreter.Failed();
    }

    std::string Var(const std::string& formula) { return test::Calc(calcul, formula); }

    void ExpectError(const std::string& script, const std::string& message, int position)
    {
        const std::string shown = script.size() < 200 ? script : script.substr(0, 40) + "...";
        EXPECT_FALSE(Run(script)) << shown;
        EXPECT_EQ(interpreter.ErrorText(), message) << shown;
        EXPECT_EQ(interpreter.ErrorPos(), position) << shown;
    }

    TCalcul calcul;
    TInterpreter interpreter;
    int beeps = 0;
};

TEST_F(InterpreterTest, IfElseFollowsTheCondition)
{
    const std::string script = "IF x>1 THEN { y:=1 } ELSE { y:=2 } END.";
    for (auto [x, y] : {std::pair{"5", "1"}, {"1", "2"}, {"-3", "2"}}) {
        Var(std::string("x:=") + x);
        ASSERT_TRUE(Run(script)) << interpreter.ErrorText();
        EXPECT_EQ(Var("y"), y) << "x=" << x;
    }
    ASSERT_TRUE(Run("if 1 then {a:=1}else{a:=2} if 0 then {b:=1} else {b:=2} end."));
    EXPECT_EQ(Var("a|b"), "\"12\"");
    ASSERT_TRUE(Run("IF 0 THEN { IF 1 THEN { c:=1 } ELSE { c:=2 } } ELSE { c:=3 } END."));
    EXPECT_EQ(Var("c"), "3");
}

TEST_F(InterpreterTest, WhileLoopsAndItsLimit)
{
    ASSERT_TRUE(Run("i:=0; WHILE i<3 DO { i:=i+1 } END."));
    EXPECT_EQ(Var("i"), "3");
    ASSERT_TRUE(Run("i:=9; n:=0; WHILE i<3 DO { n:=1 } END."));
    EXPECT_EQ(Var("n"), "0");
    ExpectError("n:=0; WHILE 1 DO { n:=n+1 } END.", "Overflow WHILE count limit (set max. 65000)", 27);
    EXPECT_EQ(Var("n"), "65001");
    // CONTINUE repeats count too, so this loop ends as well.
    ExpectError("WHILE 1 DO { CONTINUE } END.", "Overflow WHILE count limit (set max. 65000)", 14);
}

TEST_F(InterpreterTest, PendingTextRunsOnlyAtKeywordsAndBraces)
{
    ASSERT_TRUE(Run("a:=1; b:=2"));
    EXPECT_EQ(Var("existvar(\"a\")"), "0");
    ASSERT_TRUE(Run("a:=1; IF 1 THEN { b:=2 } c:=3"));
    EXPECT_EQ(Var("a+b"), "3");
    EXPECT_EQ(Var("existvar(\"c\")"), "0");
    ASSERT_TRUE(Run("{ d:=4 } e:=5; END. f:=6"));
    EXPECT_EQ(Var("d+e"), "9");
    EXPECT_EQ(Var("existvar(\"f\")"), "0");
}

TEST_F(InterpreterTest, ProceduresCallReturnAndExit)
{
    ASSERT_TRUE(Run("a:=1; EXEC p; a:=a+10; END.\n"
                    "PROCEDURE p { a:=a+100; EXIT; a:=a+1000 }"));
    EXPECT_EQ(Var("a"), "111");
    ASSERT_TRUE(Run("s:=\"\"; EXEC outer; s:=s|\"e\"; END.\n"
                    "PROCEDURE outer { s:=s|\"o\"; EXEC Inner; s:=s|\"O\" }\n"
                    "procedure inner { s:=s|\"i\" }"));
    EXPECT_EQ(Var("s"), "\"oiOe\"");
    ASSERT_TRUE(Run("n:=0; EXEC count; END.\n"
                    "PROCEDURE count { n:=n+1; IF n<50 THEN { EXEC count } }"));
    EXPECT_EQ(Var("n"), "50");
    ASSERT_TRUE(Run("r:=0; EXIT; r:=1; END."));
    EXPECT_EQ(Var("r"), "0");
}

TEST_F(InterpreterTest, ExitLeavesNestedBlocks)
{
    ASSERT_TRUE(Run("i:=0; t:=0; EXEC p; t:=t+1000; END.\n"
                    "PROCEDURE p { WHILE 1 DO { i:=i+1; IF i=5 THEN { { EXIT } } t:=t+1 } }"));
    EXPECT_EQ(Var("i"), "5");
    EXPECT_EQ(Var("t"), "1004");
}

TEST_F(InterpreterTest, NestedLoopsWithBreakAndContinue)
{
    ASSERT_TRUE(Run("s:=0; i:=0;\n"
                    "WHILE i<5 DO { i:=i+1; j:=0;\n"
                    "  IF i=2 THEN { CONTINUE }\n"
                    "  WHILE 1 DO { j:=j+1; IF j>i THEN { BREAK } IF j=2 THEN { CONTINUE } s:=s+j }\n"
                    "  IF i=4 THEN { BREAK } }\n"
                    "END."));
    // i=1: j=1; i=3: j=1,3; i=4: j=1,3,4; i=2 skipped, the loop stops after i=4.
    EXPECT_EQ(Var("s"), "13");
    EXPECT_EQ(Var("i"), "4");
    ASSERT_TRUE(Run("k:=0; BREAK; k:=1; END."));
    EXPECT_EQ(Var("k"), "0");
    ASSERT_TRUE(Run("k:=0; CONTINUE; k:=1; END."));
    EXPECT_EQ(Var("k"), "0");
}

TEST_F(InterpreterTest, StringsCommentsAndWordStarts)
{
    ASSERT_TRUE(Run("s:=\"IF x THEN { } END.\"; /* WHILE 1 DO { } */ t:='it''s'; u:=\"it's\"; END."));
    EXPECT_EQ(Var("s"), "\"IF x THEN { } END.\"");
    EXPECT_EQ(Var("u"), "\"it's\"");
    ASSERT_TRUE(Run("nif:=2; x:=nif + 1; endx:=1; a.while:=2; y:=a.while + 1; END."));
    EXPECT_EQ(Var("x+endx+y"), "7");
    ASSERT_TRUE(Run("x:=0; WHILE x<1 /* DO { */ DO { x:=1 } END."));
    EXPECT_EQ(Var("x"), "1");
    ASSERT_TRUE(Run("v:=1 /* v:=2 */ + 1; IF v=2 /* no */ THEN { w:=1 } END."));
    EXPECT_EQ(Var("v+w"), "3");
    // An unpaired quote in a comment turns the rest of the script into a string.
    ASSERT_TRUE(Run("IF 1 THEN { z:=1 } /* don't */ z:=2; END."));
    EXPECT_EQ(Var("z"), "1");
}

TEST_F(InterpreterTest, BeepAndVariablesStay)
{
    ASSERT_TRUE(Run("BEEP; x:=1 BEEP\nEND."));
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(Var("x"), "1");
    ASSERT_TRUE(Run("IF 0 THEN { BEEP } END."));
    EXPECT_EQ(beeps, 2);
}

TEST_F(InterpreterTest, ErrorMessages)
{
    ExpectError("x:=1 }", "Invalid syntax: count of angle brackets, from 6", 6);
    ExpectError("{ x:=1", "Invalid syntax: count of angle brackets, from 6", 6);
    ExpectError("END. PROCEDURE 1x { }", "Invalid first character in procedure name (1) from 16", 16);
    ExpectError("END. PROCEDURE px y { }", "Invalid procedure definitions from 23", 23);
    ExpectError("IF x; THEN { } END.", "Syntax error from 5", 5);
    ExpectError("IF x>1 { } END.", "Syntax error from 8", 8);
    ExpectError("IF x>1 END.", "Incorrect syntax: lack \"THEN\" key word from 1", 1);
    ExpectError("IF 1 THEN x:=1 END.", "Incorrect syntax:THEN lack \"{\" form 6", 6);
    ExpectError("IF  THEN { } END.", "Incorrect syntax IF ... THEN from 1", 1);
    ExpectError("WHILE  DO { } END.", "Incorrect syntax WHILE ?... DO from 1", 1);
    ExpectError("WHILE 1 { } END.", "Syntax error from 9", 9);
    ExpectError("WHILE 1 DO x END.", "Incorrect syntax:DO lack \"{\" form 9", 9);
    ExpectError("x:=1; ELSE { } END.", "Incorrect syntax:  lack \"}\" before ELSE from 7", 7);
    ExpectError("IF 1 THEN { } ELSE x:=1; END.", "Incorrect syntax: lack \"{\" after ELSE from 15", 15);
    ExpectError("{ x:=1 } ELSE { } END.", "Incorrect syntax ?ELSE from 10", 10);
    ExpectError("EXEC q END. PROCEDURE p { }", "Invalid EXEC procedure name from 6", 6);
    ExpectError("EXEC ; END.", "Invalid EXEC procedure name from 6", 6);
    ExpectError("x:=1; EXEC  ", "Invalid EXEC procedure name from 12", 12);
    ExpectError("END. PROCEDURE ", "Invalid first character in procedure name () from 15", 15);
    ExpectError("a:=1; 1+; END.", "? operand \r\n formula:a:=1; 1+;", 1);
    ExpectError("IF 1 THEN { } \n  zz*2 END.", "Unknown variable:zz\r\n formula:zz*2", 18);
    ExpectError("IF zz THEN { } END.", "Unknown variable:zz\r\nFormula:zz", 1);
}

TEST_F(InterpreterTest, LoopConditionFailingAtTheBrace)
{
    ExpectError("i:=0; WHILE i<2 DO { i:=i+1; IF i=2 THEN { freevar(\"i\") } } END.", "Unknown variable:i", 59);
    ExpectError("c:=0; WHILE c<1 DO { freevar(\"c\"); CONTINUE } END.", "Unknown variable:c\r\nFormula:c<1", 36);
}

TEST_F(InterpreterTest, DepthAndStepLimits)
{
    ExpectError("EXEC p END. PROCEDURE p { EXEC p }", "Overflow EXEC depth limit (set max. 10000)", 27);
    ExpectError(std::string(10001, '{') + std::string(10001, '}'), "Overflow block depth limit (set max. 10000)",
                10000);
    interpreter.StepLimit = 100;
    ExpectError("WHILE 1 DO { } END.", "Overflow step limit (set max. 100)", 14);
}

TEST_F(InterpreterTest, NeedsACalculator)
{
    TInterpreter bare;
    bare.Script = "x:=1; END.";
    bare.Execute();
    EXPECT_TRUE(bare.Failed());
    EXPECT_EQ(bare.ErrorText(), "Errro, CALCUL object is nil");
}

} // namespace
} // namespace tramble
