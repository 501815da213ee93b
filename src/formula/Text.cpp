#include "formula/Text.h"

#include "text/TextConvert.h"

namespace tramble {

std::string TText::Key(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        c = UpperAscii(c);
    return key;
}

bool TText::VariableExists(std::string_view name) const
{
    return FindVariable(name) != nullptr;
}

std::string TText::GetVariable(std::string_view name) const
{
    const std::string* value = FindVariable(name);
    return value ? *value : std::string();
}

const std::string* TText::FindVariable(std::string_view name) const
{
    auto it = m_values.find(Key(name));
    return it == m_values.end() ? nullptr : &it->second;
}

void TText::SetVariable(std::string_view name, std::string value)
{
    m_values[Key(name)] = std::move(value);
}

void TText::FreeVariable(std::string_view name)
{
    m_values.erase(Key(name));
}

} // namespace tramble
