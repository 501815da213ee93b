#pragma once

#include "platform/AtaDisk.h"
#include "platform/DiskSensors.h"
#include "support/TempDir.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tramble::test {

// A disk answering through a test-made channel: the identify and attribute
// blocks are built here, as a drive would send them.
struct DiskAnswers {
    bool identify = true;
    bool smart = true;
    std::array<uint8_t, 512> identifyData{};
    std::array<uint8_t, 512> smartData{};
    std::optional<uint8_t> powerMode = 0xFF;       // active
    std::vector<std::pair<uint8_t, uint8_t>> sent; // command, feature
    std::string openedPath;
};

class FakeDisk : public platform::TAtaDisk {
public:
    explicit FakeDisk(DiskAnswers& answers) : m_answers(answers) {}
    int Version() const override { return 30527; }
    bool Send(const TIdeRegs& regs, std::array<uint8_t, 512>& data) override
    {
        m_answers.sent.emplace_back(regs.Command, regs.Features);
        const bool identify = regs.Command == 0xEC || regs.Command == 0xA1;
        if (identify ? !m_answers.identify : !m_answers.smart)
            return false;
        data = identify ? m_answers.identifyData : m_answers.smartData;
        return true;
    }
    std::optional<uint8_t> PowerMode() override
    {
        m_answers.sent.emplace_back(0xE5, 0);
        return m_answers.powerMode;
    }

private:
    DiskAnswers& m_answers;
};

inline platform::TAtaOpener OpenerOf(DiskAnswers& answers)
{
    return [&answers](const std::string& path) {
        answers.openedPath = path;
        return std::make_unique<FakeDisk>(answers);
    };
}

// Identify text as a drive stores it: the first character of each pair in
// the high byte of its word.
inline void PutIdentifyText(std::array<uint8_t, 512>& data, size_t firstWord, std::string text)
{
    text.resize((text.size() + 1) / 2 * 2, ' ');
    for (size_t i = 0; i < text.size(); i += 2) {
        data[2 * firstWord + i] = static_cast<uint8_t>(text[i + 1]);
        data[2 * firstWord + i + 1] = static_cast<uint8_t>(text[i]);
    }
}

inline DiskAnswers Crucial()
{
    DiskAnswers answers;
    PutIdentifyText(answers.identifyData, 27, "CT500MX500SSD1   ");
    PutIdentifyText(answers.identifyData, 10, "    1921E1542CA8");
    const uint8_t attributes[][12] = {{9, 0x32, 0, 100, 100, 0x10, 0x27, 0, 0, 0x01, 0, 0},
                                      {194, 0x22, 0, 59, 41, 41, 0, 20, 0, 57, 0, 0}};
    std::memcpy(&answers.smartData[2], attributes, sizeof attributes);
    return answers;
}

// The disk reader's sources on a fixture tree with sys/, dev/ and proc/.
inline platform::TDiskSources DiskSourcesOf(const TempDir& dir, platform::TAtaOpener open = platform::OpenPassThrough,
                                            platform::TDriveHealthReader service = {})
{
    platform::TDiskSources sources;
    sources.Sys = dir.file("sys");
    sources.Dev = dir.file("dev");
    sources.Proc = dir.file("proc");
    sources.Open = std::move(open);
    sources.Service = std::move(service);
    return sources;
}

} // namespace tramble::test
