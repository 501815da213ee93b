#include "options/SyncTexts.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

TEST(SyncTexts, LastSyncCaptionPutsTheStoredTimeOnItsOwnIndentedLine)
{
    const TLanguage english;
    EXPECT_EQ(LastSyncCaption(english, "2024-05-01 10:00:00"), "last synchronization time\n  2024-05-01 10:00:00");
}

TEST(SyncTexts, TheExchangeShowsItsOutcomeAndTheOffsetWhenMeasured)
{
    using namespace std::chrono;
    const TLanguage english;
    struct Row {
        TSyncOutcome Outcome;
        std::optional<nanoseconds> Offset;
        const char* Text;
    };
    const Row rows[] = {
        {TSyncOutcome::None, std::nullopt, ""},
        {TSyncOutcome::ClockSet, milliseconds(1250), "last exchange: the clock was set, offset +1.250 s"},
        {TSyncOutcome::ChangeRefused, milliseconds(-40),
         "last exchange: not allowed to set the clock, offset -0.040 s"},
        {TSyncOutcome::NoAnswer, std::nullopt, "last exchange: no answer"},
        {TSyncOutcome::BadStratum, std::nullopt, "last exchange: the answer was not usable"},
        {TSyncOutcome::WrongOriginate, std::nullopt, "last exchange: the answer was not usable"},
    };
    for (const Row& row : rows) {
        TLastExchange exchange;
        exchange.Outcome = row.Outcome;
        exchange.Offset = row.Offset;
        EXPECT_EQ(ExchangeText(english, exchange), row.Text);
    }
}

} // namespace
} // namespace tramble
