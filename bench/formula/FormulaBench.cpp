// Evaluation speed of the formula evaluator, and side by side with muparser
// on arithmetic both can read. Each muparser run is SetExpr + Eval, so parse
// and evaluation, like one Calculate. "Cold" runs use a fresh evaluator each
// time, so nothing parsed before is reused.
#include "formula/Calcul.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::string> kEdgeCases = {
    "1+2*3",
    "1+2=3",
    "(1+2)=3",
    "7 div 2",
    "-7 mod 3",
    "2^10",
    "2^0.5",
    "-2^2",
    "2-x^2",
    "2*(-3)",
    "1/0",
    "10/4",
    "1/3",
    "1.0+0",
    "\"ab\" | \"cd\"",
    "1 | 2",
    "x*2",
    "a:=1; b:=a+1; a+b",
    "3 in [1, 2, 3]",
    "\"b\" in [\"a\",\"b\"]",
    "\"abc\" like \"a%\"",
    "\"abc\" wildcard \"A?C\"",
    "copy(\"abcdef\",2,3)",
    "pos(\"c\",\"abc\")",
    "replace(\"aAa\",\"a\",\"x\",1,0)",
    "iff(1,\"yes\",\"no\")",
    "maxval(3,9,4)",
    "avgval(1,2)",
    "1 + 2 # 3",
    "\"abc\" < \"abd\"",
    "_PI",
};

const char* const kArithmetic[] = {"1+2*3", "2^10", "sqrt(2)*sin(1)+cos(0.5)"};

void PrepareVariables(tramble::TCalcul& calcul)
{
    calcul.Formula = "x:=3";
    calcul.Calculate();
}

void BM_TrambleEdgeCases(benchmark::State& state)
{
    tramble::TCalcul calcul;
    PrepareVariables(calcul);
    for (auto _ : state) {
        for (const std::string& formula : kEdgeCases) {
            calcul.Formula = formula;
            benchmark::DoNotOptimize(calcul.Calculate());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kEdgeCases.size()));
}
BENCHMARK(BM_TrambleEdgeCases);

void BM_TrambleEdgeCasesCold(benchmark::State& state)
{
    for (auto _ : state) {
        for (const std::string& formula : kEdgeCases) {
            tramble::TCalcul calcul;
            calcul.Variables().SetVariable("x", "3");
            calcul.Formula = formula;
            benchmark::DoNotOptimize(calcul.Calculate());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kEdgeCases.size()));
}
BENCHMARK(BM_TrambleEdgeCasesCold);

void BM_TrambleArithmetic(benchmark::State& state)
{
    tramble::TCalcul calcul;
    const std::string formula = kArithmetic[state.range(0)];
    state.SetLabel(formula);
    for (auto _ : state) {
        calcul.Formula = formula;
        benchmark::DoNotOptimize(calcul.Calculate());
    }
}
BENCHMARK(BM_TrambleArithmetic)->DenseRange(0, 2);

void BM_TrambleArithmeticCold(benchmark::State& state)
{
    const std::string formula = kArithmetic[state.range(0)];
    state.SetLabel(formula);
    for (auto _ : state) {
        tramble::TCalcul calcul;
        calcul.Formula = formula;
        benchmark::DoNotOptimize(calcul.Calculate());
    }
}
BENCHMARK(BM_TrambleArithmeticCold)->DenseRange(0, 2);

void BM_MuParserArithmetic(benchmark::State& state)
{
    mu::Parser parser;
    const std::string formula = kArithmetic[state.range(0)];
    state.SetLabel(formula);
    for (auto _ : state) {
        parser.SetExpr(formula);
        benchmark::DoNotOptimize(parser.Eval());
    }
}
BENCHMARK(BM_MuParserArithmetic)->DenseRange(0, 2);

} // namespace

BENCHMARK_MAIN();
