#pragma once

#include "formula/CalcTree.h"

#include <string>
#include <string_view>

namespace tramble {

// Reads one formula (already grouped by GroupArguments) into a tree. Three
// levels, each left-associative: a sum of terms joined by "+" and "-"; a
// term of factors joined by any of "* / div mod | in and or = < <= > >= <>
// like wildcard , ;", all equally tight; a factor with any number of "^"
// elements. Raises ECalcError with the message of the first error.
class TCalcParser {
public:
    TCalcParser(std::string_view formula, char quote, int& depth);
    TCalcTree Parse();

private:
    enum class TToken : uint8_t {
        End,
        Number,
        Text,
        Name,
        Set,
        Assign,
        Function,
        Plus,
        Minus,
        Operator, // any operator of a term, in m_operator
        Caret,
        LParen,
        RParen,
    };

    void NextToken();
    void ScanNumber(size_t start);
    void ScanString();
    void ScanSet();
    void ScanName();
    bool SignMayFollow() const;

    int32_t ParseSum();
    int32_t ParseTerm();
    int32_t ParseFactor();
    int32_t ParseLeaf();
    int32_t AddNode(TCalcOp op, int32_t left = -1, int32_t right = -1);
    void SetText(int32_t index, std::string_view text);

    std::string_view m_formula;
    char m_quote;
    int& m_depthGuard;
    size_t m_pos = 0;
    int m_parenDepth = 0;
    TToken m_token = TToken::End;
    TToken m_previous = TToken::End;
    TCalcOp m_operator = TCalcOp::Add;
    TCalcFunction m_function{};
    std::string m_text;
    std::string m_expression;
    TCalcTree m_tree;
};

} // namespace tramble
