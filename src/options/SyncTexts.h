#pragma once

#include "i18n/Language.h"
#include "timesync/SntpClient.h"

#include <string>

namespace tramble {

// The system page's last-sync label: the caption, a line break, two blanks
// and the stored time.
std::string LastSyncCaption(const TLanguage& language, const std::string& stored);

// What the last exchange gave: its outcome and, when the server answered,
// the measured offset in seconds ("+0.125 s"); empty before the first one.
std::string ExchangeText(const TLanguage& language, const TLastExchange& exchange);

} // namespace tramble
