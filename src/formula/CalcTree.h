#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

enum class TCalcOp : uint8_t {
    // leaves
    Number,
    Text,
    Name,
    Set,
    Assign,
    // one operand, kept as the left one
    Negate,
    Function,
    // two operands
    Add,
    Subtract,
    Multiply,
    Divide,
    Power,
    IntDiv,
    Mod,
    Concat,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    And,
    Or,
    In,
    Like,
    Wildcard,
    Comma,
    Sequence,
};

inline bool IsBinary(TCalcOp op)
{
    return op >= TCalcOp::Add;
}

enum class TCalcFunction : uint8_t;

// An assignment leaf holds the name in Text and, as its left operand, a Text
// node with the expression that a sub-evaluator reads when the leaf is
// evaluated.
struct TCalcNode {
    TCalcOp Op = TCalcOp::Number;
    TCalcFunction Function{};
    int32_t Left = -1;
    int32_t Right = -1;
    uint32_t TextStart = 0; // literal or name, in TCalcTree::Texts
    uint32_t TextLength = 0;
};

// The expression tree of one formula; nodes refer to each other by index and
// keep their texts in one pool, so a long formula stays compact.
struct TCalcTree {
    std::vector<TCalcNode> Nodes;
    std::string Texts;
    int32_t Root = -1;

    std::string_view Text(const TCalcNode& node) const
    {
        return std::string_view(Texts).substr(node.TextStart, node.TextLength);
    }
};

} // namespace tramble
