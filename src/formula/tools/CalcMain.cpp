// tramble-calc: evaluates formulas on one evaluator, so variables persist
// from one formula to the next.
#include "formula/Calcul.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

bool Evaluate(tramble::TCalcul& calcul, const std::string& formula)
{
    calcul.Formula = formula;
    std::string result = calcul.Calculate();
    if (calcul.Failed()) {
        std::cout << "error: " << calcul.ErrorText() << '\n';
        return false;
    }
    std::cout << result << '\n';
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> formulas;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            std::cout << "usage: tramble-calc [--] [FORMULA...]\n"
                         "Evaluates each formula, or each line of standard input when none is given.\n";
            return 0;
        } else {
            formulas.push_back(arg);
        }
    }

    tramble::TCalcul calcul;
    bool ok = true;
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
