#pragma once

#include "search/DesktopApp.h"
#include "search/LaunchCounts.h"
#include "search/SearchMatch.h"

#include <string>
#include <vector>

namespace tramble {

// An application as a search item: its names and generic names in both
// languages, its keywords and its program's file name.
TSearchItem AppItem(const TDesktopApp& app, size_t index, const TLaunchCounts& launches);

// Anything else found by a few texts (a bar entry by its description and
// file name, a bookmark by caption and address).
TSearchItem TextItem(TSearchSource source, size_t index, std::string title, const std::vector<std::string>& texts);

} // namespace tramble
