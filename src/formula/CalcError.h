#pragma once

#include <stdexcept>
#include <string>

namespace tramble {

// An error of a formula, carrying the message the evaluator reports.
class ECalcError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Nesting beyond what the evaluator allows on its stack. Unlike other errors
// of a sub-evaluation it is never swallowed: it fails every enclosing formula.
class EDepthError : public ECalcError {
public:
    using ECalcError::ECalcError;
};

// One level of recursion in the parser, the evaluator or a sub-evaluator.
class TDepthScope {
public:
    static constexpr int kMaxDepth = 1000;

    explicit TDepthScope(int& depth) : m_depth(depth)
    {
        if (++m_depth > kMaxDepth) {
            --m_depth;
            throw EDepthError("Overflow nesting depth limit (set max. " + std::to_string(kMaxDepth) + ")");
        }
    }
    ~TDepthScope() { --m_depth; }
    TDepthScope(const TDepthScope&) = delete;
    TDepthScope& operator=(const TDepthScope&) = delete;

private:
    int& m_depth;
};

} // namespace tramble
