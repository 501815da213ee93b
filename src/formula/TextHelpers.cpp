#include "formula/TextHelpers.h"

#include <algorithm>

namespace tramble {

std::string IntToBase(int64_t n, int base)
{
    if (base < 2 || base > 16)
        return {};
    static constexpr char kDigits[] = "0123456789ABCDEF";
    uint64_t magnitude = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
    std::string digits;
    do {
        digits.push_back(kDigits[magnitude % static_cast<uint64_t>(base)]);
        magnitude /= static_cast<uint64_t>(base);
    } while (magnitude != 0 && digits.size() < 64);
    if (n < 0)
        digits.push_back('-');
    std::reverse(digits.begin(), digits.end());
    return digits;
}

int32_t BaseToInt(std::string_view text, int base)
{
    if (base < 2 || base > 16)
        return -1;
    size_t first = text.find_first_not_of('0');
    if (first == std::string_view::npos)
        return 0;
    text.remove_prefix(first);
    int64_t sum = 0;
    int64_t weight = 1;
    for (size_t i = text.size(); i-- > 0;) {
        char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return -1;
        if (weight > INT32_MAX)
            return -1; // a non-zero leading digit lies further left, so the sum overflows
        sum += digit * weight;
        if (sum > INT32_MAX)
            return -1;
        weight *= base;
    }
    return static_cast<int32_t>(sum);
}

std::string PadLeft(int width, char pad, std::string_view text)
{
    text = text.substr(0, 255);
    int target = width % 256;
    std::string out;
    if (target > static_cast<int>(text.size()))
        out.assign(static_cast<size_t>(target) - text.size(), pad);
    out.append(text);
    return out;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to)
{
    if (from.empty() || text.find(from) == std::string::npos)
        return text;
    std::string out;
    out.reserve(text.size());
    size_t start = 0;
    for (size_t hit; (hit = text.find(from, start)) != std::string::npos; start = hit + from.size()) {
        out.append(text, start, hit - start);
        out.append(to);
    }
    out.append(text, start, std::string::npos);
    return out;
}

} // namespace tramble
