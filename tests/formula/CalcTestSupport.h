#pragma once

#include "formula/Calcul.h"

#include <string>

namespace tramble::test {

// The result text, or "error: " and the message when the formula failed.
inline std::string Calc(TCalcul& calcul, const std::string& formula)
{
    calcul.Formula = formula;
    std::string result = calcul.Calculate();
    if (calcul.Failed())
        return "error: " + calcul.ErrorText();
    return result;
}

} // namespace tramble::test
