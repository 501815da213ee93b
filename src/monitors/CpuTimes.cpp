#include "monitors/CpuTimes.h"

#include <charconv>

namespace tramble {

const char* const kNoProcessorObject = "Unable to locate the \"Processor\" performance object";
const char* const kNoCpuUsageCounter = "Unable to locate the \"% of CPU usage\" performance counter";

namespace {

// Far beyond any real uptime, low enough that sums of ten fields cannot overflow.
constexpr int64_t kMaxTicks = int64_t(1) << 59;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Reads the next unsigned decimal field; false at the end of the line.
bool NextNumber(std::string_view& line, int64_t& value)
{
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    const char* first = line.data() + i;
    const char* last = line.data() + line.size();
    int64_t parsed = 0;
    auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || parsed < 0)
        return false;
    value = parsed;
    line.remove_prefix(static_cast<size_t>(end - line.data()));
    return true;
}

bool IsCpuLineName(std::string_view name)
{
    if (name.substr(0, 3) != "cpu")
        return false;
    for (char c : name.substr(3)) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// Fixed-point seconds with up to two decimals ("654.95") in hundredths.
bool ParseCentiseconds(std::string_view& text, int64_t& value)
{
    int64_t whole = 0;
    if (!NextNumber(text, whole) || whole > INT64_MAX / 100)
        return false;
    int64_t fraction = 0;
    if (!text.empty() && text[0] == '.') {
        text.remove_prefix(1);
        int digits = 0;
        while (!text.empty() && text[0] >= '0' && text[0] <= '9') {
            if (digits < 2)
                fraction = fraction * 10 + (text[0] - '0');
            ++digits;
            text.remove_prefix(1);
        }
        if (digits == 1)
            fraction *= 10;
    }
    value = whole * 100 + fraction;
    return true;
}

} // namespace

TReading<std::vector<TCpuTimes>> ParseProcStat(std::string_view text)
{
    std::vector<TCpuTimes> lines;
    bool haveTotal = false;
    TCpuTimes total;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

        const size_t nameEnd = line.find_first_of(" \t");
        const std::string_view name = line.substr(0, nameEnd);
        if (!IsCpuLineName(name)) {
            // The processor lines come first; nothing after them is needed.
            if (!lines.empty() || haveTotal)
                break;
            continue;
        }
        line.remove_prefix(name.size());
        // user nice system idle iowait irq softirq steal guest guest_nice
        int64_t field[10] = {};
        int count = 0;
        while (count < 10 && NextNumber(line, field[count])) {
            if (field[count] > kMaxTicks)
                return TReading<std::vector<TCpuTimes>>::Error(kNoCpuUsageCounter);
            ++count;
        }
        if (count < 4)
            return TReading<std::vector<TCpuTimes>>::Error(kNoCpuUsageCounter);
        TCpuTimes times;
        times.Name = std::string(name);
        times.Idle = field[3] + field[4];
        // Guest time is already part of user and nice time.
        for (int i = 0; i < 8; ++i)
            times.Total += field[i];
        if (name == "cpu") {
            haveTotal = true;
            total = std::move(times);
        } else {
            lines.push_back(std::move(times));
        }
    }
    if (!haveTotal)
        return TReading<std::vector<TCpuTimes>>::Error(kNoProcessorObject);
    lines.push_back(std::move(total));
    return lines;
}

TReading<TUptime> ParseUptime(std::string_view text)
{
    TUptime uptime;
    if (!ParseCentiseconds(text, uptime.Time) || !ParseCentiseconds(text, uptime.Idle))
        return TReading<TUptime>::None();
    return uptime;
}

int CountCpuList(std::string_view text)
{
    while (!text.empty() && (text.back() == '\n' || IsBlank(text.back())))
        text.remove_suffix(1);
    if (text.empty())
        return 0;
    constexpr int64_t kMaxCpu = 1 << 20;
    int64_t count = 0;
    while (!text.empty()) {
        const size_t comma = text.find(',');
        std::string_view range = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        int64_t first = 0;
        int64_t last = 0;
        if (!NextNumber(range, first) || first > kMaxCpu)
            return 0;
        last = first;
        if (!range.empty() && range[0] == '-') {
            range.remove_prefix(1);
            if (!NextNumber(range, last) || last < first || last > kMaxCpu)
                return 0;
        }
        if (!range.empty())
            return 0;
        count += last - first + 1;
    }
    return count > kMaxCpu ? 0 : static_cast<int>(count);
}

} // namespace tramble
