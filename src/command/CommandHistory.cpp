#include "command/CommandHistory.h"

#include "text/TextConvert.h"

#include <algorithm>

namespace tramble {

void AddToHistory(std::vector<std::string>& history, const std::string& line)
{
    const auto old = std::find_if(history.begin(), history.end(),
                                  [&](const std::string& item) { return SameTextAscii(item, line); });
    if (old != history.end())
        history.erase(old);
    history.insert(history.begin(), line);
    // A stored list may be longer than the box keeps; any addition trims it.
    if (history.size() > kMaxCommandHistory)
        history.resize(kMaxCommandHistory);
}

} // namespace tramble
