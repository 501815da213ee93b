#pragma once

#include "formula/CalcValue.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

enum class TCalcFunction : uint8_t {
    // one argument
    Sin,
    Cos,
    Tg,
    Ctg,
    ArcSin,
    ArcCos,
    ArcTg,
    ArcCtg,
    Sh,
    Ch,
    Th,
    Cth,
    Exp,
    Ln,
    Sqrt,
    Abs,
    Sign,
    Heaviside,
    Frac,
    Trunc,
    Not,
    Logic,
    Numeric,
    String,
    Length,
    Trim,
    TrimLeft,
    TrimRight,
    Upper,
    Lower,
    Char,
    Ascii,
    Eval,
    ExistVar,
    FreeVar,
    LastDay,
    StrToStamp,
    StampToDateStr,
    StampToTimeStr,
    StampToStr,
    Year,
    Month,
    Day,
    Hour,
    Minute,
    Sec,
    Weekday,
    // several arguments
    Copy,
    CopyTo,
    Pos,
    Delete,
    Insert,
    Replace,
    Iff,
    Prefix,
    NumBase,
    BaseNum,
    MaxVal,
    MinVal,
    SumVal,
    AvgVal,
};

struct TFunctionInfo {
    std::string_view Name;
    TCalcFunction Id;
    int MinArgs; // 0 for a function of one argument
    bool List;   // takes any number of arguments
};

// Case-insensitive; null for an unknown name.
const TFunctionInfo* FindFunction(std::string_view name);
const TFunctionInfo& FunctionInfo(TCalcFunction id);

// The functions of one argument that need nothing from the evaluator.
TValue CallFunction(TCalcFunction id, const std::string& arg);

// The functions of several arguments; `args` are trimmed, first to last.
TValue CallParamFunction(TCalcFunction id, std::vector<std::string> args);

} // namespace tramble
