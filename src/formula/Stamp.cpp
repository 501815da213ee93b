#include "formula/Stamp.h"

#include "formula/TextHelpers.h"

#include "text/TextConvert.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <optional>

namespace tramble {
namespace {

constexpr int64_t kMsPerDay = 86400000;

// Days from 1970-01-01 in the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

const int64_t kEpoch = DaysFromCivil(1899, 12, 30);

int64_t FloorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string Unquote(std::string_view text)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '"')
        text.remove_prefix(1);
    if (!text.empty() && text.back() == '"')
        text.remove_suffix(1);
    return std::string(Trim(text));
}

int IntOr(std::string_view text, int fallback)
{
    return StrToIntDef(text, fallback);
}

std::string Pad2(int n)
{
    return std::string(1, char('0' + n / 10)) + char('0' + n % 10);
}

} // namespace

double EncodeDateStamp(int year, int month, int day)
{
    return static_cast<double>(DaysFromCivil(year, month, day) - kEpoch);
}

TStampParts DecodeStamp(double stamp)
{
    if (!std::isfinite(stamp) || stamp < kFirstStamp - 1 || stamp > kLastStamp + 1)
        throw EConvertError("stamp out of range");
    double whole = std::trunc(stamp);
    int64_t day = static_cast<int64_t>(whole);
    int64_t ms = std::llround(std::fabs(stamp - whole) * kMsPerDay);
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        ++day;
    }
    if (day < kFirstStamp || day > kLastStamp)
        throw EConvertError("stamp out of range");
    TStampParts parts;
    CivilFromDays(day + kEpoch, parts.Year, parts.Month, parts.Day);
    parts.Hour = static_cast<int>(ms / 3600000);
    parts.Minute = static_cast<int>(ms / 60000 % 60);
    parts.Second = static_cast<int>(ms / 1000 % 60);
    parts.Millisecond = static_cast<int>(ms % 1000);
    return parts;
}

int WeekdayOf(double stamp)
{
    TStampParts parts = DecodeStamp(stamp);
    int64_t day = DaysFromCivil(parts.Year, parts.Month, parts.Day) - kEpoch;
    // Day 0 of the stamps was a Saturday.
    return static_cast<int>((day % 7 + 7 + 5) % 7 + 1);
}

std::string StampToDateStr(double stamp)
{
    TStampParts p = DecodeStamp(stamp);
    std::string year = std::to_string(p.Year);
    return std::string(4 - year.size(), '0') + year + "/" + Pad2(p.Month) + "/" + Pad2(p.Day);
}

std::string StampToTimeStr(double stamp)
{
    TStampParts p = DecodeStamp(stamp);
    std::string ms = std::to_string(p.Millisecond);
    return Pad2(p.Hour) + ":" + Pad2(p.Minute) + ":" + Pad2(p.Second) + "." + std::string(3 - ms.size(), '0') + ms;
}

std::string StampToStr(double stamp)
{
    return StampToDateStr(stamp) + " " + StampToTimeStr(stamp);
}

double StrToDateStamp(std::string_view text)
{
    std::string s = Unquote(text);
    s = std::string(Trim(ReplaceAll(ReplaceAll(s, " /", "/"), "/ ", "/")));
    if (s.empty() || !IsDigit(s[0]))
        return 0;
    size_t blank = s.find(' ', 1);
    if (blank != std::string::npos)
        s.resize(blank);

    int64_t year = 1, month = 1, day = 1;
    size_t slash = s.find('/');
    if (slash == std::string::npos) {
        year = IntOr(s, 1);
    } else {
        year = IntOr(std::string_view(s).substr(0, slash), 1);
        std::string_view rest = std::string_view(s).substr(slash + 1);
        size_t second = rest.find('/');
        if (second != std::string_view::npos && second > 0) {
            month = IntOr(rest.substr(0, second), 1);
            std::string_view dayText = rest.substr(second + 1);
            dayText = dayText.substr(0, dayText.find('/'));
            day = IntOr(dayText, 1);
        } else {
            day = IntOr(rest, 1);
        }
    }

    if (month >= 1) {
        year += (month - 1) / 12;
        month = (month - 1) % 12 + 1;
    } else {
        int64_t k = -month;
        month = 12 - k % 12;
        year -= k / 12 + 1;
    }
    if (year <= 0)
        return kFirstStamp;
    if (year > 9999)
        throw EConvertError("year beyond 9999");
    double stamp = EncodeDateStamp(static_cast<int>(year), static_cast<int>(month), 1) + static_cast<double>(day - 1);
    if (stamp > kLastStamp)
        throw EConvertError("date beyond 9999");
    return stamp < kFirstStamp ? kFirstStamp : stamp;
}

double StrToTimeStamp(std::string_view text)
{
    std::string s = Unquote(text);
    s = ReplaceAll(s, "  ", " ");
    for (std::string_view sep : {"/", ":", "."}) {
        s = ReplaceAll(s, std::string(" ") + std::string(sep), sep);
        s = ReplaceAll(s, std::string(sep) + " ", sep);
    }
    size_t blank = s.find(' ', 1);
    if (blank != std::string::npos)
        s = std::string(Trim(std::string_view(s).substr(blank + 1)));
    if (s.empty() || (s[0] != '-' && !IsDigit(s[0])))
        return 0;

    // A leading minus counts against the whole time, not just the hours.
    bool negative = s[0] == '-';
    std::string_view t = std::string_view(s).substr(negative ? 1 : 0);
    int64_t hours = 0, minutes = 0, seconds = 0, ms = 0;
    size_t c1 = t.find(':');
    if (c1 == std::string_view::npos || c1 == 0) {
        hours = IntOr(t, 0);
    } else {
        hours = IntOr(t.substr(0, c1), 0);
        std::string_view rest = t.substr(c1 + 1);
        size_t c2 = rest.find(':');
        if (c2 == std::string_view::npos) {
            minutes = IntOr(rest, 0);
        } else {
            minutes = IntOr(rest.substr(0, c2), 0);
            std::string_view sec = rest.substr(c2 + 1);
            sec = sec.substr(0, sec.find(':'));
            size_t dot = sec.find('.');
            if (dot == std::string_view::npos) {
                seconds = IntOr(sec, 0);
            } else {
                seconds = IntOr(sec.substr(0, dot), 0);
                ms = IntOr(sec.substr(dot + 1), 0);
            }
        }
    }
    int64_t total = ((hours * 60 + minutes) * 60 + seconds) * 1000 + ms;
    if (negative)
        total = -total;
    int64_t days = FloorDiv(total, kMsPerDay);
    return static_cast<double>(days) + static_cast<double>(total - days * kMsPerDay) / kMsPerDay;
}

double StrToStamp(std::string_view text)
{
    text = Trim(text);
    bool hasDate = text.find('/') != std::string_view::npos;
    bool hasTime = text.find(':') != std::string_view::npos;
    if (!hasDate)
        return hasTime ? StrToTimeStamp(text) : StrToDateStamp(text);
    double date = StrToDateStamp(text);
    if (!hasTime)
        return date;
    // Add in plain time, then write a moment before the epoch with its time
    // of day running forward from the day's start.
    double moment = date + StrToTimeStamp(text);
    if (moment >= 0)
        return moment;
    double day = std::floor(moment);
    return day - (moment - day);
}

int DaysInMonthOf(double stamp)
{
    if (stamp <= kFirstStamp)
        return 0;
    TStampParts p = DecodeStamp(stamp);
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (p.Year % 4 == 0 && p.Year % 100 != 0) || p.Year % 400 == 0;
    return (p.Month == 2 && leap) ? 29 : kDays[p.Month - 1];
}

double LocalStamp(std::chrono::system_clock::time_point moment)
{
    using namespace std::chrono;
    const time_point<system_clock, milliseconds> whole = floor<milliseconds>(moment);
    const time_point<system_clock, seconds> second = floor<seconds>(whole);
    std::time_t seconds = system_clock::to_time_t(second);
    auto ms = (whole - second).count();
    std::tm local{};
    localtime_r(&seconds, &local);
    double day = EncodeDateStamp(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    double time = ((local.tm_hour * 60.0 + local.tm_min) * 60.0 + local.tm_sec) * 1000.0 + static_cast<double>(ms);
    return day + time / kMsPerDay;
}

} // namespace tramble
