#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace tramble {

// The named values formulas keep between evaluations. Names compare without
// regard to the case of ASCII letters; any text may serve as a name.
class TText {
public:
    bool VariableExists(std::string_view name) const;
    // The empty text when the name is absent.
    std::string GetVariable(std::string_view name) const;
    // Null when the name is absent; avoids a copy on the evaluator's hot path.
    const std::string* FindVariable(std::string_view name) const;
    void SetVariable(std::string_view name, std::string value);
    void FreeVariable(std::string_view name);
    size_t Count() const { return m_values.size(); }

private:
    static std::string Key(std::string_view name);

    std::unordered_map<std::string, std::string> m_values;
};

} // namespace tramble
