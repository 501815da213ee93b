#pragma once

#include <string>
#include <string_view>

namespace tramble {

inline constexpr int kMaxCopies = 10;

// The lock that lets each copy of the program run once: the executable's
// full path with every ":", "\" and "/" replaced by "_".
inline std::string CopyLockName(std::string_view executablePath)
{
    std::string name(executablePath);
    for (char& c : name) {
        if (c == ':' || c == '\\' || c == '/')
            c = '_';
    }
    return name;
}

// The lock of instance number n (0..9) among the running copies.
inline std::string InstanceLockName(int n)
{
    return "KUV2_MULTIFLAG" + std::to_string(n);
}

// The bar's caption for an instance: "Kuv 2.0", or "[n] Kuv 2.0" for n > 0.
inline std::string InstanceCaption(int instance)
{
    return instance <= 0 ? std::string("Kuv 2.0") : "[" + std::to_string(instance) + "] Kuv 2.0";
}

} // namespace tramble
