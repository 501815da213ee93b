#include "weather/XmlDocument.h"

#include <libxml/parser.h>

#include <climits>
#include <mutex>

namespace tramble {
namespace {

void InitParserOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

bool NamedElement(const xmlNode* node, std::string_view name)
{
    return node->type == XML_ELEMENT_NODE && node->name && name == reinterpret_cast<const char*>(node->name);
}

std::string Owned(xmlChar* text)
{
    std::string result = text ? reinterpret_cast<const char*>(text) : "";
    xmlFree(text);
    return result;
}

} // namespace

TXmlDocument TXmlDocument::Parse(std::string_view text)
{
    InitParserOnce();
    TXmlDocument doc;
    if (text.size() > size_t(INT_MAX))
        return doc;
    constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOBLANKS;
    doc.m_doc.reset(xmlReadMemory(text.data(), int(text.size()), nullptr, nullptr, kOptions));
    return doc;
}

xmlNode* TXmlDocument::Root() const
{
    return m_doc ? xmlDocGetRootElement(m_doc.get()) : nullptr;
}

xmlNode* FirstChildElement(const xmlNode* parent, std::string_view name)
{
    if (!parent)
        return nullptr;
    for (xmlNode* child = parent->children; child; child = child->next) {
        if (NamedElement(child, name))
            return child;
    }
    return nullptr;
}

xmlNode* FirstChildElementWith(const xmlNode* parent, std::string_view name, std::string_view attribute,
                               std::string_view value)
{
    if (!parent)
        return nullptr;
    const std::string key(attribute);
    for (xmlNode* child = parent->children; child; child = child->next) {
        if (!NamedElement(child, name) || !xmlHasProp(child, BAD_CAST key.c_str()))
            continue;
        if (AttributeText(child, attribute, {}) == value)
            return child;
    }
    return nullptr;
}

std::string ChildText(const xmlNode* parent, std::string_view name, std::string_view fallback)
{
    const xmlNode* child = FirstChildElement(parent, name);
    return child ? Owned(xmlNodeGetContent(child)) : std::string(fallback);
}

std::string AttributeText(const xmlNode* node, std::string_view name, std::string_view fallback)
{
    if (!node || node->type != XML_ELEMENT_NODE)
        return std::string(fallback);
    const std::string key(name);
    if (!xmlHasProp(node, BAD_CAST key.c_str()))
        return std::string(fallback);
    return Owned(xmlGetProp(node, BAD_CAST key.c_str()));
}

} // namespace tramble
