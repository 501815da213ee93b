#pragma once

#include "launcher/RandomSource.h"

#include <deque>
#include <vector>

namespace tramble {

// Hands out the queued numbers in turn, then `Rest`; every answer is kept
// below the bound asked for. Remembers each bound.
class TScriptedRandom final : public TRandomSource {
public:
    explicit TScriptedRandom(int rest = 0, std::deque<int> queued = {}) : Rest(rest), Queued(std::move(queued)) {}

    int Below(int n) override
    {
        Bounds.push_back(n);
        int value = Rest;
        if (!Queued.empty()) {
            value = Queued.front();
            Queued.pop_front();
        }
        return n < 1 ? 0 : value % n;
    }

    int Rest;
    std::deque<int> Queued;
    std::vector<int> Bounds;
};

} // namespace tramble
