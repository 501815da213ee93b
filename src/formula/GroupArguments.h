#pragma once

#include <string>
#include <string_view>

namespace tramble {

constexpr int kMaxArgumentGroups = 100;

// Wraps every argument of a call in parentheses of its own, so that
// copy(s,1,2) becomes copy((s),(1),(2)): "," binds as tightly as "*" and
// would otherwise take its neighbours apart. Strings and set literals are
// left alone. Raises ECalcError when more than kMaxArgumentGroups argument
// groups are open at once.
std::string GroupArguments(std::string_view formula, char quote);

} // namespace tramble
