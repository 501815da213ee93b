// tramble-calc: runs an optional script, then evaluates formulas on the same
// evaluator, so variables persist from one to the next.
#include "formula/Calcul.h"
#include "formula/Interpreter.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// One output line per input: a line break inside a result or a message
// (CR LF, or CR or LF alone) prints as one blank.
std::string OneLine(const std::string& text)
{
    std::string line;
    line.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        line += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
    }
    return line;
}

bool Evaluate(tramble::TCalcul& calcul, const std::string& formula)
{
    calcul.Formula = formula;
    std::string result = calcul.Calculate();
    if (calcul.Failed()) {
        std::cout << "error: " << OneLine(calcul.ErrorText()) << '\n';
        return false;
    }
    std::cout << OneLine(result) << '\n';
    return true;
}

bool RunScript(tramble::TCalcul& calcul, const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cout << "error: cannot read " << OneLine(path) << '\n';
        return false;
    }
    tramble::TInterpreter interpreter;
    interpreter.Script.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    interpreter.Calculator = &calcul;
    interpreter.OnBeep = [] { std::cerr << '\a' << std::flush; };
    interpreter.Execute();
    if (interpreter.Failed()) {
        std::cout << "error at " << interpreter.ErrorPos() << ": " << OneLine(interpreter.ErrorText()) << '\n';
        return false;
    }
    return true;
}

int Usage(std::ostream& out, int status)
{
    out << "usage: tramble-calc [--script FILE] [--] [FORMULA...]\n"
           "Runs the script, then evaluates each formula, or each line of standard\n"
           "input when none is given, all on one evaluator. Each gives one output\n"
           "line: a line break inside a result or a message prints as a blank.\n";
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> formulas;
    std::string script;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            return Usage(std::cout, 0);
        } else if (options && arg == "--script") {
            if (++i >= argc)
                return Usage(std::cerr, 2);
            script = argv[i];
        } else {
            formulas.push_back(arg);
        }
    }

    tramble::TCalcul calcul;
    bool ok = script.empty() || RunScript(calcul, script);
    if (!formulas.empty()) {
        for (const std::string& formula : formulas)
            ok = Evaluate(calcul, formula) && ok;
    } else {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            ok = Evaluate(calcul, line) && ok;
        }
    }
    std::cout.flush();
    return ok ? 0 : 1;
}
