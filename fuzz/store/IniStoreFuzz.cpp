// Loads arbitrary bytes as a settings file, applies a random sequence of
// operations, flushes and reloads: nothing may crash, and every value written
// last must read back the same after the reload.
#include "store/FastIniFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string TempPath()
{
    static const std::string path = "/tmp/tramble-fuzz-ini-" + std::to_string(::getpid()) + ".ini";
    return path;
}

// Names and values the reload check can rely on: no blanks at the ends, no
// line breaks, no ";" or quotes that the comment and quote rules would take.
std::string PlainText(FuzzedDataProvider& data, size_t maxLength)
{
    std::string text = data.ConsumeRandomLengthString(maxLength);
    std::string plain;
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u > 32 && c != ';' && c != '"' && c != '\'' && c != '=' && c != '[' && c != ']')
            plain += c;
    }
    return plain;
}

std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    bool trackFresh = false;
    {
        std::ofstream out(TempPath(), std::ios::binary | std::ios::trunc);
        std::string content = data.ConsumeRandomLengthString(4096);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        trackFresh = content.find("fz=") == std::string::npos;
    }

    // Values written to fresh sections: "=" never stands in the other names.
    std::map<std::pair<std::string, std::string>, std::string> expected;
    {
        tramble::TFastIniFile store(TempPath());
        std::vector<std::string> list;
        while (data.remaining_bytes() > 0) {
            std::string section = PlainText(data, 12);
            std::string key = PlainText(data, 12);
            switch (data.ConsumeIntegralInRange(0, 7)) {
            case 0: store.ReadText(section, key, "d"); break;
            case 1: store.WriteText(section, key, data.ConsumeRandomLengthString(40)); break;
            case 2: store.RemoveKey(section, key); break;
            case 3: store.RemoveSection(section); break;
            case 4: store.ListPairs(section, list); break;
            case 5: store.ListSections(list); break;
            case 6: store.HasKey(section, key); break;
            default:
                if (trackFresh && !section.empty() && !key.empty()) {
                    std::string fresh = "fz=" + section;
                    std::string value = PlainText(data, 40);
                    store.WriteText(fresh, key, value);
                    expected[{Lower(fresh), Lower(key)}] = value;
                }
                break;
            }
        }
        store.Flush();
    }

    tramble::TFastIniFile reread(TempPath());
    for (const auto& [name, value] : expected) {
        // An empty value written to a new key stays in memory only.
        if (reread.ReadText(name.first, name.second, "") != value)
            __builtin_trap();
    }
    std::remove(TempPath().c_str());
    return 0;
}
