#include "formula/CalcFunctions.h"

#include "formula/CalcError.h"
#include "formula/Stamp.h"
#include "formula/TextHelpers.h"
#include "text/TextConvert.h"
#include "text/Utf8Text.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tramble {
namespace {

using F = TCalcFunction;

constexpr TFunctionInfo kFunctions[] = {
    {"sin", F::Sin, 0, false},
    {"cos", F::Cos, 0, false},
    {"tg", F::Tg, 0, false},
    {"ctg", F::Ctg, 0, false},
    {"arcsin", F::ArcSin, 0, false},
    {"arccos", F::ArcCos, 0, false},
    {"arctg", F::ArcTg, 0, false},
    {"arcctg", F::ArcCtg, 0, false},
    {"sh", F::Sh, 0, false},
    {"ch", F::Ch, 0, false},
    {"th", F::Th, 0, false},
    {"cth", F::Cth, 0, false},
    {"exp", F::Exp, 0, false},
    {"ln", F::Ln, 0, false},
    {"sqrt", F::Sqrt, 0, false},
    {"abs", F::Abs, 0, false},
    {"sign", F::Sign, 0, false},
    {"heaviside", F::Heaviside, 0, false},
    {"h", F::Heaviside, 0, false},
    {"frac", F::Frac, 0, false},
    {"trunc", F::Trunc, 0, false},
    {"not", F::Not, 0, false},
    {"logic", F::Logic, 0, false},
    {"numeric", F::Numeric, 0, false},
    {"string", F::String, 0, false},
    {"length", F::Length, 0, false},
    {"trim", F::Trim, 0, false},
    {"trimleft", F::TrimLeft, 0, false},
    {"trimright", F::TrimRight, 0, false},
    {"upper", F::Upper, 0, false},
    {"lower", F::Lower, 0, false},
    {"char", F::Char, 0, false},
    {"ascii", F::Ascii, 0, false},
    {"eval", F::Eval, 0, false},
    {"existvar", F::ExistVar, 0, false},
    {"freevar", F::FreeVar, 0, false},
    {"lastday", F::LastDay, 0, false},
    {"strtostamp", F::StrToStamp, 0, false},
    {"stamptodatestr", F::StampToDateStr, 0, false},
    {"stamptotimestr", F::StampToTimeStr, 0, false},
    {"stamptostr", F::StampToStr, 0, false},
    {"year", F::Year, 0, false},
    {"month", F::Month, 0, false},
    {"day", F::Day, 0, false},
    {"hour", F::Hour, 0, false},
    {"minute", F::Minute, 0, false},
    {"sec", F::Sec, 0, false},
    {"weekday", F::Weekday, 0, false},
    {"copy", F::Copy, 2, false},
    {"copyto", F::CopyTo, 2, false},
    {"pos", F::Pos, 2, false},
    {"delete", F::Delete, 2, false},
    {"insert", F::Insert, 3, false},
    {"replace", F::Replace, 3, false},
    {"iff", F::Iff, 3, false},
    {"prefix", F::Prefix, 2, false},
    {"numbase", F::NumBase, 2, false},
    {"basenum", F::BaseNum, 2, false},
    {"maxval", F::MaxVal, 1, true},
    {"minval", F::MinVal, 1, true},
    {"sumval", F::SumVal, 1, true},
    {"avgval", F::AvgVal, 1, true},
};

constexpr long double kHalfPi = 1.5707963267948966192313216916397514L;
// Beyond this the processor's range reduction gives up.
constexpr long double kTrigLimit = 9223372036854775808.0L;

TValue Number(long double value)
{
    return {FormatValue(value), rkNumber};
}
TValue Number(int64_t value)
{
    return {std::to_string(value), rkNumber};
}
TValue Text(std::string text)
{
    return {std::move(text), rkText};
}
TValue Flag(bool value)
{
    return {value ? "1" : "0", rkNumber};
}

[[noreturn]] void Fault(const char* what)
{
    throw std::domain_error(what);
}

long double Checked(long double value)
{
    if (!std::isfinite(value))
        Fault("not finite");
    return value;
}

bool Blank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view TrimRightView(std::string_view text)
{
    while (!text.empty() && Blank(text.back()))
        text.remove_suffix(1);
    return text;
}

TValue Trigonometric(TCalcFunction id, long double x)
{
    switch (id) {
    case F::Sin: return Number(std::fabs(x) >= kTrigLimit ? 0.0L : std::sin(x));
    case F::Cos: return Number(std::fabs(x) >= kTrigLimit ? 0.0L : std::cos(x));
    case F::Tg: return Number(Checked(std::tan(x)));
    case F::Ctg: {
        long double t = std::tan(x);
        if (t == 0)
            Fault("cotangent of zero");
        return Number(Checked(1 / t));
    }
    case F::ArcSin:
    case F::ArcCos: {
        if (std::fabs(x) > 1)
            Fault("outside -1..1");
        long double other = std::sqrt(1 - x * x);
        return Number(id == F::ArcSin ? std::atan2(x, other) : std::atan2(other, x));
    }
    case F::ArcTg: return Number(std::atan(x));
    case F::ArcCtg: return Number(kHalfPi - std::atan(x));
    default: break;
    }
    long double up = Checked(std::exp(x));
    long double down = Checked(std::exp(-x));
    switch (id) {
    case F::Sh: return Number((up - down) / 2);
    case F::Ch: return Number((up + down) / 2);
    case F::Th: return Number(Checked((up - down) / (up + down)));
    case F::Cth:
        if (up - down == 0)
            Fault("division by zero");
        return Number(Checked((up + down) / (up - down)));
    default: Fault("not a hyperbolic function");
    }
}

TValue StampFunction(TCalcFunction id, const std::string& arg)
{
    switch (id) {
    case F::LastDay: return Number(static_cast<int64_t>(DaysInMonthOf(ValueToInt(arg))));
    case F::StrToStamp: return Number(static_cast<long double>(StrToStamp(arg)));
    case F::StampToDateStr: return Text(StampToDateStr(static_cast<double>(StrToValue(arg))));
    case F::StampToTimeStr: return Text(StampToTimeStr(static_cast<double>(StrToValue(arg))));
    case F::StampToStr: return Text(StampToStr(static_cast<double>(StrToValue(arg))));
    case F::Weekday: return Number(static_cast<int64_t>(WeekdayOf(StrToStamp(arg))));
    default: break;
    }
    TStampParts p = DecodeStamp(StrToStamp(arg));
    switch (id) {
    case F::Year: return Number(static_cast<int64_t>(p.Year));
    case F::Month: return Number(static_cast<int64_t>(p.Month));
    case F::Day: return Number(static_cast<int64_t>(p.Day));
    case F::Hour: return Number(static_cast<int64_t>(p.Hour));
    case F::Minute: return Number(static_cast<int64_t>(p.Minute));
    case F::Sec: return Number(static_cast<int64_t>(p.Second));
    default: Fault("not a date function");
    }
}

std::string ReplaceText(const std::string& s, const std::string& from, const std::string& to, bool all, bool anyCase)
{
    if (from.empty())
        return s;
    auto same = [anyCase](char a, char b) { return anyCase ? UpperAscii(a) == UpperAscii(b) : a == b; };
    std::string out;
    size_t start = 0;
    while (start <= s.size()) {
        auto hit = std::search(s.begin() + static_cast<std::ptrdiff_t>(start), s.end(), from.begin(), from.end(), same);
        if (hit == s.end())
            break;
        size_t at = static_cast<size_t>(hit - s.begin());
        out.append(s, start, at - start);
        CheckTextLength(out.size() + to.size());
        out.append(to);
        start = at + from.size();
        if (!all)
            break;
    }
    out.append(s, std::min(start, s.size()), std::string::npos);
    return out;
}

TValue ListFunction(TCalcFunction id, const std::vector<std::string>& args)
{
    if (args.empty())
        throw ECalcError("Error, not enough params");
    double best = static_cast<double>(StrToValue(args[0]));
    double sum = 0;
    for (const std::string& arg : args) {
        double v = static_cast<double>(StrToValue(arg));
        sum += v;
        if ((id == F::MaxVal && v > best) || (id == F::MinVal && v < best))
            best = v;
    }
    switch (id) {
    case F::SumVal: return Number(static_cast<long double>(sum));
    case F::AvgVal: return Number(static_cast<long double>(sum / static_cast<double>(args.size())));
    default: return Number(static_cast<long double>(best));
    }
}

} // namespace

const TFunctionInfo* FindFunction(std::string_view name)
{
    for (const TFunctionInfo& info : kFunctions) {
        if (SameTextAscii(info.Name, name))
            return &info;
    }
    return nullptr;
}

const TFunctionInfo& FunctionInfo(TCalcFunction id)
{
    for (const TFunctionInfo& info : kFunctions) {
        if (info.Id == id)
            return info;
    }
    throw ECalcError("Internal error, function with params");
}

TValue CallFunction(TCalcFunction id, const std::string& arg)
{
    switch (id) {
    case F::Sin:
    case F::Cos:
    case F::Tg:
    case F::Ctg:
    case F::ArcSin:
    case F::ArcCos:
    case F::ArcTg:
    case F::ArcCtg:
    case F::Sh:
    case F::Ch:
    case F::Th:
    case F::Cth: return Trigonometric(id, StrToValue(arg));
    case F::Exp: return Number(Checked(std::exp(StrToValue(arg))));
    case F::Ln: {
        long double x = StrToValue(arg);
        if (x <= 0)
            Fault("logarithm of a number not above zero");
        return Number(std::log(x));
    }
    case F::Sqrt: {
        long double x = StrToValue(arg);
        if (x < 0)
            Fault("square root of a negative number");
        return Number(std::sqrt(x));
    }
    case F::Abs: return Number(std::fabs(StrToValue(arg)));
    case F::Sign: {
        long double x = StrToValue(arg);
        return Number(static_cast<int64_t>(x < -0.0000001L ? -1 : (x <= 0.00000001L ? 0 : 1)));
    }
    case F::Heaviside: return Flag(StrToValue(arg) >= 0);
    case F::Frac: {
        long double x = StrToValue(arg);
        return Number(x - std::trunc(x));
    }
    case F::Trunc: return Number(std::trunc(StrToValue(arg)));
    case F::Not: return Flag(StrToValue(arg) < 1);
    case F::Logic: return Flag(ValueToInt(arg) >= 1);
    case F::Numeric: {
        std::string s;
        for (char c : arg) {
            if (c != ' ')
                s.push_back(c == ',' ? '.' : c);
        }
        return Number(StrToValue(s));
    }
    case F::String: return Text(arg);
    case F::Length: return Number(static_cast<int64_t>(arg.size()));
    case F::Trim: return Text(std::string(tramble::Trim(arg)));
    case F::TrimLeft: return Text(std::string(tramble::TrimLeft(arg)));
    case F::TrimRight: return Text(std::string(TrimRightView(arg)));
    case F::Upper: return Text(UpperText(arg));
    case F::Lower: return Text(LowerText(arg));
    case F::Char: {
        std::optional<std::string> text = CodePointText(ValueToInt(arg));
        if (!text)
            Fault("no such character");
        return Text(*text);
    }
    case F::Ascii: {
        if (arg.empty())
            return {"", rkNumber};
        size_t length;
        return Number(static_cast<int64_t>(DecodeUtf8(arg, 0, length) & 0x7FFFFFFFu));
    }
    case F::LastDay:
    case F::StrToStamp:
    case F::StampToDateStr:
    case F::StampToTimeStr:
    case F::StampToStr:
    case F::Year:
    case F::Month:
    case F::Day:
    case F::Hour:
    case F::Minute:
    case F::Sec:
    case F::Weekday: return StampFunction(id, arg);
    default: break;
    }
    throw ECalcError("Internal error oper code " + std::to_string(static_cast<int>(id)));
}

TValue CallParamFunction(TCalcFunction id, std::vector<std::string> args)
{
    const TFunctionInfo& info = FunctionInfo(id);
    if (info.List)
        return ListFunction(id, args);
    if (args.size() > 5)
        args.resize(5);
    if (static_cast<int>(args.size()) < info.MinArgs)
        throw ECalcError("Not enough params");
    const std::string& s = args[0];
    const auto length = static_cast<int64_t>(s.size());
    auto intArg = [&args](size_t i, int64_t fallback) -> int64_t {
        return i < args.size() ? ValueToInt(args[i]) : fallback;
    };
    switch (id) {
    case F::Copy: {
        int64_t from = intArg(1, 0);
        int64_t count = intArg(2, length);
        if (from > length || count < 1)
            return Text("");
        from = std::max<int64_t>(from, 1);
        return Text(s.substr(static_cast<size_t>(from - 1), static_cast<size_t>(count)));
    }
    case F::CopyTo: {
        int64_t from = intArg(1, 0);
        int64_t to = std::min(intArg(2, length), length);
        from = std::max<int64_t>(from, 1);
        if (from > length || to < from)
            return Text("");
        return Text(s.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1)));
    }
    case F::Pos: {
        if (s.empty())
            return Number(int64_t{0});
        size_t at = args[1].find(s);
        return Number(static_cast<int64_t>(at == std::string::npos ? 0 : at + 1));
    }
    case F::Delete: {
        int64_t from = intArg(1, 0);
        int64_t count = intArg(2, length);
        std::string out = s;
        if (from >= 1 && from <= length && count > 0)
            out.erase(static_cast<size_t>(from - 1), static_cast<size_t>(count));
        return {out, rkNone};
    }
    case F::Insert: {
        int64_t at = std::clamp<int64_t>(intArg(2, 1), 1, length + 1);
        std::string out = s;
        out.insert(static_cast<size_t>(at - 1), args[1]);
        return Text(out);
    }
    case F::Replace: {
        bool all = args.size() <= 3 || ValueToInt(args[3]) == 1;
        bool anyCase = args.size() <= 4 || ValueToInt(args[4]) == 1;
        return Text(ReplaceText(s, args[1], args[2], all, anyCase));
    }
    case F::Iff: return Text(ValueToInt(args[0]) == 1 ? args[1] : args[2]);
    case F::Prefix: {
        const std::string& text = args.size() >= 3 ? args[2] : args[1];
        char pad = args.size() >= 3 && !args[1].empty() ? args[1][0] : ' ';
        return Text(PadLeft(ValueToInt(args[0]), pad, text));
    }
    case F::NumBase: return Text(IntToBase(ValueToInt(args[0]), std::clamp<int32_t>(ValueToInt(args[1]), 2, 16)));
    case F::BaseNum: {
        int32_t value = BaseToInt(s, std::clamp<int32_t>(ValueToInt(args[1]), 2, 16));
        return value < 1 ? TValue{"", rkNumber} : Number(static_cast<int64_t>(value));
    }
    default: break;
    }
    throw ECalcError("Internal error, function with params");
}

} // namespace tramble
