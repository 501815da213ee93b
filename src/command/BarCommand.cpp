#include "command/BarCommand.h"

#include "text/TextConvert.h"

namespace tramble {
namespace {

struct TCommandName {
    std::string_view Text;
    TBarCommand Command;
};

// Tried in this order; the first whole match acts.
constexpr TCommandName kCommands[] = {
    {">Exit", TBarCommand::Exit},
    {">Quit", TBarCommand::Exit},
    {">Add", TBarCommand::None},
    {">Del", TBarCommand::None},
    {">Delete", TBarCommand::None},
    {">About", TBarCommand::About},
    {">Help", TBarCommand::None},
    {">Option", TBarCommand::Option},
    {">Stat", TBarCommand::None},
    {">Debug", TBarCommand::Debug},
    {">DebugStatus", TBarCommand::DebugStatus},
};

} // namespace

bool IsBarCommandLine(std::string_view line)
{
    return line.starts_with('>');
}

TBarCommand FindBarCommand(std::string_view line)
{
    for (const TCommandName& name : kCommands) {
        if (SameTextAscii(line, name.Text))
            return name.Command;
    }
    return TBarCommand::None;
}

} // namespace tramble
