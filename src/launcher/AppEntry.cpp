#include "launcher/AppEntry.h"

namespace tramble {
namespace {

constexpr std::string_view kApp = "App";
constexpr std::string_view kRunFolder = "AppRunFolder";
constexpr std::string_view kIconFile = "AppIconFile";
constexpr std::string_view kIconIndex = "AppIconIndex";
constexpr std::string_view kDescript = "AppDescript";
constexpr std::string_view kArguments = "AppArguments";
constexpr std::string_view kPromptArgument = "AppPromptArugment";
constexpr std::string_view kAutorun = "Autorun";
constexpr std::string_view kWS = "AppWS";
constexpr std::string_view kRunCount = "AppRunCount";
constexpr std::string_view kRunTimer = "AppRunTimer";

size_t LastSeparator(const std::string& path)
{
    return path.find_last_of("/\\");
}

} // namespace

std::string EntryKey(std::string_view name, int n)
{
    return std::string(name) + std::to_string(n);
}

std::string FolderPart(const std::string& path)
{
    const size_t at = LastSeparator(path);
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string FileNamePart(const std::string& path)
{
    const size_t at = LastSeparator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

TAppEntry ReadEntry(TFastIniFile& ini, int n)
{
    TAppEntry e;
    e.App = ini.ReadText(kEntrySection, EntryKey(kApp, n), "");
    e.RunFolder = ini.ReadText(kEntrySection, EntryKey(kRunFolder, n), FolderPart(e.App));
    e.IconFile = ini.ReadText(kEntrySection, EntryKey(kIconFile, n), e.App);
    if (e.IconFile.empty())
        e.IconFile = e.App;
    e.IconIndex = ini.ReadNumber(kEntrySection, EntryKey(kIconIndex, n), 0);
    e.Descript = ini.ReadText(kEntrySection, EntryKey(kDescript, n), FileNamePart(e.App));
    e.Arguments = ini.ReadText(kEntrySection, EntryKey(kArguments, n), "");
    e.PromptArgument = ini.ReadFlag(kEntrySection, EntryKey(kPromptArgument, n), false);
    e.Autorun = ini.ReadFlag(kEntrySection, EntryKey(kAutorun, n), false);
    e.WS = static_cast<uint8_t>(ini.ReadNumber(kEntrySection, EntryKey(kWS, n), 0));
    e.RunCount = ini.ReadNumber(kEntrySection, EntryKey(kRunCount, n), 0);
    e.RunTimer = ini.ReadNumber(kEntrySection, EntryKey(kRunTimer, n), 0);
    return e;
}

void WriteEditedEntry(TFastIniFile& ini, int n, const TAppEntry& e)
{
    ini.WriteText(kEntrySection, EntryKey(kApp, n), e.App);
    ini.WriteText(kEntrySection, EntryKey(kRunFolder, n), e.RunFolder);
    ini.WriteText(kEntrySection, EntryKey(kIconFile, n), e.IconFile);
    ini.WriteNumber(kEntrySection, EntryKey(kIconIndex, n), e.IconIndex);
    ini.WriteText(kEntrySection, EntryKey(kDescript, n), e.Descript);
    ini.WriteText(kEntrySection, EntryKey(kArguments, n), e.Arguments);
    ini.WriteFlag(kEntrySection, EntryKey(kAutorun, n), e.Autorun);
    ini.WriteFlag(kEntrySection, EntryKey(kPromptArgument, n), e.PromptArgument);
    ini.WriteNumber(kEntrySection, EntryKey(kWS, n), e.WS);
}

void WriteEntry(TFastIniFile& ini, int n, const TAppEntry& e)
{
    WriteEditedEntry(ini, n, e);
    ini.WriteNumber(kEntrySection, EntryKey(kRunCount, n), e.RunCount);
    ini.WriteNumber(kEntrySection, EntryKey(kRunTimer, n), e.RunTimer);
}

void WriteRunCount(TFastIniFile& ini, int n, int32_t runCount)
{
    ini.WriteNumber(kEntrySection, EntryKey(kRunCount, n), runCount);
}

void RemoveEntry(TFastIniFile& ini, int n)
{
    for (std::string_view name : {kApp, kRunFolder, kIconFile, kIconIndex, kDescript, kArguments, kPromptArgument,
                                  kAutorun, kWS, kRunCount, kRunTimer})
        ini.RemoveKey(kEntrySection, EntryKey(name, n));
}

} // namespace tramble
