// Shortcut files come from anywhere a user drops them: the Windows link
// parser, the desktop entry reader and the Exec and shell word rules must
// take any bytes without reading past them or looping.
#include "shell/DesktopEntry.h"
#include "shell/ShellLinkFile.h"
#include "shell/ShellWords.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto link = tramble::ParseShellLink(bytes))
        (void)link->Target.size();
    if (const auto entry = tramble::TDesktopEntry::Parse(bytes)) {
        const std::vector<std::string> words = tramble::SplitExecLine(entry->ValueOr("Exec", ""));
        tramble::TExecContext context;
        context.Files = {"/tmp/a b"};
        context.Icon = "icon";
        (void)tramble::ExpandFieldCodes(words, context);
        (void)tramble::TDesktopEntry::Parse(entry->Text());
    }
    // Joined words split back into the same words.
    const std::vector<std::string> words = tramble::SplitShellWords(bytes);
    if (tramble::SplitShellWords(tramble::JoinShellWords(words)) != words)
        __builtin_trap();
    return 0;
}
