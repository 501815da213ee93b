#pragma once

#include "launcher/RgbaImage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tramble {

enum class TBoxKind { Warning, Error, Question };

// What the entries need of the bar window: its boxes, its buttons and the
// icons it can draw. The bar implements it with widgets; tests record it.
class IEntryView {
public:
    virtual ~IEntryView() = default;

    // A topmost box; for a question, true is Yes (No is the default).
    virtual bool ShowBox(TBoxKind kind, const std::string& text, const std::string& caption) = 0;
    // The arguments typed; empty when the box was cancelled. Nothing when the
    // program is ending: then nothing may be started.
    virtual std::optional<std::string> AskArguments(const std::string& caption, const std::string& prompt) = 0;
    // Dialogs and launches keep the bar from hiding meanwhile.
    virtual void HoldBar() = 0;
    virtual void ReleaseBar() = 0;

    // A new button at the end, showing the PNG image, off-screen until the
    // next layout.
    virtual void AddButton(const std::string& png) = 0;
    virtual void RemoveButton(int index) = 0;
    virtual void SetButtonImage(int index, const std::string& png) = 0;
    // The buttons in a new order: for each new position, the old index.
    virtual void ReorderButtons(const std::vector<int>& oldIndexOfNew) = 0;
    // A raised (not flat) button marks a failed start or an existing entry.
    virtual void SetButtonRaised(int index, bool raised) = 0;
    virtual void SetButtonHint(int index, const std::string& hint) = 0;
    virtual void RequestLayout() = 0;

    // The picture of icon number index in the file or theme icon named by
    // iconFile (macros expanded), size × size; nothing when there is none.
    virtual std::optional<TRgbaImage> ExtractIcon(const std::string& iconFile, int index, int size) = 0;
};

// What the entries need of the system.
class IEntrySystem {
public:
    virtual ~IEntrySystem() = default;

    virtual bool Exists(const std::string& path) = 0; // a file or folder
    virtual bool IsFolder(const std::string& path) = 0;
    virtual bool IsExecutable(const std::string& path) = 0;
    // Opens the target; a result above 32 is success.
    virtual int Open(const std::string& target, const std::string& arguments, const std::string& folder,
                     uint8_t windowState) = 0;
    // Icon text for files of this extension ("file,index" or a name); empty when unknown.
    virtual std::string IconForExtension(const std::string& extension) = 0;
};

} // namespace tramble
