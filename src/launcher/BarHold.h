#pragma once

namespace tramble {

// Holds the bar for the length of a scope, for anything that can hold it (the
// bar's link, the entries' view): HoldBar when made, ReleaseBar when gone,
// also when the operation ends by an exception.
template <typename THolder> class TBarHoldOf {
public:
    explicit TBarHoldOf(THolder& holder) : m_holder(holder) { m_holder.HoldBar(); }
    ~TBarHoldOf() { m_holder.ReleaseBar(); }
    TBarHoldOf(const TBarHoldOf&) = delete;
    TBarHoldOf& operator=(const TBarHoldOf&) = delete;

private:
    THolder& m_holder;
};

} // namespace tramble
