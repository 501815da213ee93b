#pragma once

#include <stdexcept>
#include <string>

namespace tramble {

// An error of a formula, carrying the message the evaluator reports.
class ECalcError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A limit of the evaluator reached: nesting beyond what its stack allows, a
// text or formula too long to hold. Unlike other errors of a sub-evaluation
// it is never swallowed: it fails every enclosing formula.
class ELimitError : public ECalcError {
public:
    using ECalcError::ECalcError;
};

constexpr size_t kMaxTextLength = size_t{1} << 20;      // one value
constexpr size_t kMaxActiveFormulas = size_t{64} << 20; // all formulas being evaluated at once

inline void CheckTextLength(size_t length)
{
    if (length > kMaxTextLength)
        throw ELimitError("Overflow text length limit (set max. " + std::to_string(kMaxTextLength) + ")");
}

// One level of recursion in the parser, the evaluator or a sub-evaluator.
class TDepthScope {
public:
    static constexpr int kMaxDepth = 1000;

    explicit TDepthScope(int& depth) : m_depth(depth)
    {
        if (++m_depth > kMaxDepth) {
            --m_depth;
            throw ELimitError("Overflow nesting depth limit (set max. " + std::to_string(kMaxDepth) + ")");
        }
    }
    ~TDepthScope() { --m_depth; }
    TDepthScope(const TDepthScope&) = delete;
    TDepthScope& operator=(const TDepthScope&) = delete;

private:
    int& m_depth;
};

} // namespace tramble
