#pragma once

#include <optional>
#include <string>

namespace tramble {

class TBarLink;
class TEntryManager;

// The button menu's "Edit": the editor on entry i; on OK the entry takes the
// edited fields, stored and drawn by the entries. The bar is held while the
// editor and its pickers are open.
void EditEntry(TBarLink& bar, TEntryManager& entries, int i, int iconSize);

// The bar's "Add": the file or folder chosen in the picker, the bar held
// meanwhile; nothing when cancelled or when nothing was chosen.
std::optional<std::string> ChooseItemToAdd(TBarLink& bar);

} // namespace tramble
