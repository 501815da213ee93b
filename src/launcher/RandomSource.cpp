#include "launcher/RandomSource.h"

namespace tramble {

int TSeededRandom::Below(int n)
{
    if (n < 1)
        return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(m_engine);
}

} // namespace tramble
