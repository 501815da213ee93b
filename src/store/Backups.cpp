#include "store/Backups.h"

#include "store/AtomicFile.h"

#include <fstream>
#include <iterator>

namespace tramble {
namespace {

bool ReadFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.is_open() && !in.bad();
}

void CopyOver(const std::string& from, const std::string& to)
{
    std::string text;
    if (ReadFile(from, text))
        WriteFileAtomically(to, text);
}

} // namespace

void RotateBackups(const std::string& base)
{
    const std::string settings = base + ".ini";
    if (!IsWritablePath(settings))
        return;
    for (int n = 2; n >= 0; --n)
        CopyOver(base + ".in" + std::to_string(n), base + ".in" + std::to_string(n + 1));
    CopyOver(settings, base + ".in0");
}

} // namespace tramble
