// Any bytes as a script: the run must end, by success or by a reported error
// with a position inside the script.
#include "formula/Calcul.h"
#include "formula/Interpreter.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tramble::TCalcul calcul;
    calcul.Clock = [] { return 45000.5; };
    tramble::TInterpreter interpreter;
    interpreter.Calculator = &calcul;
    // Nested loops may legitimately repeat 65000 times each; keep runs short.
    interpreter.StepLimit = 5000;
    interpreter.Script.assign(reinterpret_cast<const char*>(data), size);
    interpreter.Execute();
    if (interpreter.Failed() && (interpreter.ErrorText().empty() || interpreter.ErrorPos() < 0 ||
                                 static_cast<size_t>(interpreter.ErrorPos()) > size))
        std::abort();
    return 0;
}
