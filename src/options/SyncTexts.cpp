#include "options/SyncTexts.h"

#include <cstdio>

namespace tramble {
namespace {

const char* OutcomeKey(TSyncOutcome outcome)
{
    switch (outcome) {
    case TSyncOutcome::None: return nullptr;
    case TSyncOutcome::Measured: return "SyncMeasured";
    case TSyncOutcome::ClockSet: return "SyncClockSet";
    case TSyncOutcome::KeptByTimeService: return "SyncKeptByTimeService";
    case TSyncOutcome::ChangeRefused: return "SyncChangeRefused";
    case TSyncOutcome::ChangeFailed: return "SyncChangeFailed";
    case TSyncOutcome::BadServerName: return "SyncBadServerName";
    case TSyncOutcome::NoAddress: return "SyncNoAddress";
    case TSyncOutcome::NetworkError: return "SyncNetworkError";
    case TSyncOutcome::NoAnswer: return "SyncNoAnswer";
    case TSyncOutcome::Cancelled: return "SyncCancelled";
    case TSyncOutcome::NoTimeZone: return "SyncNoTimeZone";
    case TSyncOutcome::ShortAnswer:
    case TSyncOutcome::NotServerMode:
    case TSyncOutcome::BadVersion:
    case TSyncOutcome::Unsynchronised:
    case TSyncOutcome::BadStratum:
    case TSyncOutcome::ZeroTransmit:
    case TSyncOutcome::WrongOriginate: return "SyncBadAnswer";
    }
    return nullptr;
}

} // namespace

std::string LastSyncCaption(const TLanguage& language, const std::string& stored)
{
    return language.Text("main", "lastSyncTime") + "\n  " + stored;
}

std::string ExchangeText(const TLanguage& language, const TLastExchange& exchange)
{
    const char* key = OutcomeKey(exchange.Outcome);
    if (!key)
        return {};
    std::string text = language.Text("Option", "LastExchange") + ": " + language.Text("Option", key);
    if (exchange.Offset) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%+.3f s", std::chrono::duration<double>(*exchange.Offset).count());
        text += ", " + language.Text("Option", "SyncOffset") + " " + seconds;
    }
    return text;
}

} // namespace tramble
