// When attempts happen: five seconds after the settings, then an hour after
// each attempt, never two at once.
#include "timesync/SyncPacing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tramble {
namespace {

using std::chrono::milliseconds;

// One step of a scenario: an action, or a check of what the pacing says.
struct Step {
    enum Kind { Start, Stop, Schedule, Advance, Begin, End, Next } What;
    int64_t Ms = 0;    // Schedule, Advance; Next: expected, -1 for none
    bool Flag = false; // Start: enabled; Begin: expected result
};

Step StartOn()
{
    return {Step::Start, 0, true};
}
Step StartOff()
{
    return {Step::Start, 0, false};
}
Step Halt()
{
    return {Step::Stop};
}
Step ScheduleIn(int64_t ms)
{
    return {Step::Schedule, ms};
}
Step Wait(int64_t ms)
{
    return {Step::Advance, ms};
}
Step Begins(bool expected)
{
    return {Step::Begin, 0, expected};
}
Step Ends()
{
    return {Step::End};
}
Step NextIn(int64_t ms)
{
    return {Step::Next, ms};
}

struct Scenario {
    const char* Name;
    std::vector<Step> Steps;
};

TEST(SyncPacing, FollowsTheScenarios)
{
    const std::vector<Scenario> scenarios = {
        {"first attempt five seconds after start, then hourly after each end",
         {StartOn(), NextIn(5000), Wait(4999), Begins(false), NextIn(1), Wait(1), Begins(true), NextIn(-1), Wait(2500),
          Ends(), NextIn(3'600'000), Wait(3'599'999), Begins(false), Wait(1), Begins(true), Ends(), NextIn(3'600'000)}},
        {"switched off: no attempt ever", {StartOff(), NextIn(-1), Wait(10'000'000), Begins(false), NextIn(-1)}},
        {"an attempt never starts while one runs",
         {StartOn(), Wait(5000), Begins(true), ScheduleIn(0), Wait(7'200'000), Begins(false), Ends(), NextIn(0),
          Begins(true)}},
        {"confirming the options again puts the next attempt five seconds off",
         {StartOn(), Wait(3000), StartOn(), NextIn(5000), Wait(4000), Begins(false), Wait(1000), Begins(true)}},
        {"a request during an attempt is kept, not replaced by the hour",
         {StartOn(), Wait(5000), Begins(true), ScheduleIn(5000), Wait(1000), Ends(), NextIn(4000), Wait(4000),
          Begins(true)}},
        {"a request overdue by the end of the attempt comes at once",
         {StartOn(), Wait(5000), Begins(true), ScheduleIn(0), Wait(3000), Ends(), NextIn(0), Begins(true)}},
        {"stopped during an attempt: nothing after it",
         {StartOn(), Wait(5000), Begins(true), Halt(), Ends(), NextIn(-1), Wait(7'200'000), Begins(false)}},
        {"switched off before the first attempt",
         {StartOn(), Wait(2000), StartOff(), Wait(10'000), Begins(false), NextIn(-1)}},
        {"an end without an attempt changes nothing", {StartOn(), Ends(), NextIn(5000)}},
        {"a schedule switches synchronisation on",
         {StartOff(), ScheduleIn(250), NextIn(250), Wait(250), Begins(true), Ends(), NextIn(3'600'000)}},
    };
    for (const Scenario& scenario : scenarios) {
        TManualClock clock;
        TSyncPacing pacing(clock);
        for (size_t i = 0; i < scenario.Steps.size(); ++i) {
            const Step& step = scenario.Steps[i];
            const std::string where = std::string(scenario.Name) + ", step " + std::to_string(i + 1);
            switch (step.What) {
            case Step::Start: pacing.Start(step.Flag); break;
            case Step::Stop: pacing.Stop(); break;
            case Step::Schedule: pacing.ScheduleIn(milliseconds(step.Ms)); break;
            case Step::Advance: clock.Advance(milliseconds(step.Ms)); break;
            case Step::Begin: EXPECT_EQ(pacing.BeginAttempt(), step.Flag) << where; break;
            case Step::End: pacing.EndAttempt(); break;
            case Step::Next:
                if (step.Ms < 0) {
                    EXPECT_EQ(pacing.TimeToNext(), std::nullopt) << where;
                } else {
                    EXPECT_EQ(pacing.TimeToNext(), milliseconds(step.Ms)) << where;
                }
                break;
            }
        }
    }
}

} // namespace
} // namespace tramble
