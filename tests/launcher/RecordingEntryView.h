#pragma once

#include "launcher/EntryView.h"
#include "launcher/PlaceholderIcon.h"

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

namespace tramble::test {

// The bar as the entry tests see it: boxes are recorded and answered from a
// queue, buttons are a list of their images, hints and raised states.
class RecordingEntryView : public IEntryView {
public:
    struct Box {
        TBoxKind Kind;
        std::string Text;
        std::string Caption;
    };
    struct Button {
        std::string Png;
        std::string Hint;
        bool Raised = false;
    };

    std::vector<Box> Boxes;
    std::vector<Button> Buttons;
    std::deque<bool> Answers;             // questions; No when empty
    std::deque<std::string> ArgumentText; // argument prompts; cancelled when empty
    int ArgumentPrompts = 0;
    int Holds = 0;
    int MaxHolds = 0;
    int Layouts = 0;
    int Extractions = 0;
    bool HasIcons = false; // with icons, every icon is a small green square

    bool ShowBox(TBoxKind kind, const std::string& text, const std::string& caption) override
    {
        Boxes.push_back({kind, text, caption});
        if (kind != TBoxKind::Question || Answers.empty())
            return false;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::optional<std::string> AskArguments(const std::string&, const std::string&) override
    {
        ++ArgumentPrompts;
        if (ArgumentText.empty())
            return std::string();
        std::string text = ArgumentText.front();
        ArgumentText.pop_front();
        return text;
    }
    void HoldBar() override { MaxHolds = std::max(MaxHolds, ++Holds); }
    void ReleaseBar() override { --Holds; }
    void AddButton(const std::string& png) override { Buttons.push_back({png, "", false}); }
    void RemoveButton(int index) override { Buttons.erase(Buttons.begin() + index); }
    void SetButtonImage(int index, const std::string& png) override { Buttons[index].Png = png; }
    void ReorderButtons(const std::vector<int>& order) override
    {
        std::vector<Button> reordered;
        for (int old : order)
            reordered.push_back(Buttons[old]);
        Buttons = reordered;
    }
    void SetButtonRaised(int index, bool raised) override { Buttons[index].Raised = raised; }
    void SetButtonHint(int index, const std::string& hint) override { Buttons[index].Hint = hint; }
    void RequestLayout() override { ++Layouts; }
    std::optional<TRgbaImage> ExtractIcon(const std::string&, int, int size) override
    {
        ++Extractions;
        if (!HasIcons)
            return std::nullopt;
        TRgbaImage image(size, size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                image.SetPixel(x, y, 0x00FF00FF);
        return image;
    }
};

} // namespace tramble::test
