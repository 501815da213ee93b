#pragma once

#include "text/ConvertError.h"

#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tramble {

// Dates and times that cannot be formed (a year outside 1..9999, a value
// that is not finite) raise EConvertError; the evaluator turns it into a
// failed formula.
// Stamps count days from 30 December 1899 00:00; the fraction is the time of
// day. Before that epoch the fraction still runs forward into the day, so
// -1.25 is 29 December 1899 06:00.
struct TStampParts {
    int Year = 1;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

constexpr double kFirstStamp = -693593; // 1 January of year 1
constexpr double kLastStamp = 2958465;  // 31 December 9999

double EncodeDateStamp(int year, int month, int day);
// Rounds to the nearest millisecond; raises EConvertError outside years 1..9999.
TStampParts DecodeStamp(double stamp);
// 1 Monday .. 7 Sunday.
int WeekdayOf(double stamp);

std::string StampToDateStr(double stamp);
std::string StampToTimeStr(double stamp);
std::string StampToStr(double stamp);

double StrToDateStamp(std::string_view text);
double StrToTimeStamp(std::string_view text);
double StrToStamp(std::string_view text);

// 0 for the first day of year 1 and anything before it.
int DaysInMonthOf(double stamp);

// The stamp of a moment in local time, to the millisecond.
double LocalStamp(std::chrono::system_clock::time_point moment);

} // namespace tramble
