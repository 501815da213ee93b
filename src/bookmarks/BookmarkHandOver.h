#pragma once

#include "bookmarks/BookmarkModel.h"
#include "store/FastIniFile.h"

#include <string>

namespace tramble {

// The add dialogs hand their input to the command through the scratch
// section "temp": they write on OK, the command reads after the dialog
// closed. Values are stored so that they read back unchanged.

// The add-group dialog's name ("temp"/"group").
void WriteGroupInput(TFastIniFile& ini, const std::string& name);
std::string ReadGroupInput(TFastIniFile& ini);

// The group the add-bookmark dialog preselects ("temp"/"group" as a number,
// 0 when absent or not a number).
void WritePreselectedGroup(TFastIniFile& ini, int index);
int ReadPreselectedGroup(TFastIniFile& ini);

// The add-bookmark dialog's description, address and chosen group
// (-1 when none was chosen).
struct TUrlInput {
    std::string Description;
    std::string Url;
    int Group = -1;
};
void WriteUrlInput(TFastIniFile& ini, const TUrlInput& input);
TUrlInput ReadUrlInput(TFastIniFile& ini);

// The two add commands once their dialog closed with OK: the input is read
// from "temp" and applied to the model.
TAddGroupResult AddGroupFromInput(TBookmarkModel& model, TFastIniFile& ini);
// group: where the bookmark went, when it was added.
TAddBookmarkResult AddBookmarkFromInput(TBookmarkModel& model, TFastIniFile& ini, size_t* group = nullptr);

} // namespace tramble
