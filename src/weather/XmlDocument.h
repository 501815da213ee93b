#pragma once

#include <libxml/tree.h>

#include <memory>
#include <string>
#include <string_view>

namespace tramble {

// One parsed XML document (libxml2) and the few lookups the weather answers
// need. Each parse owns its document, so the worker and the window thread
// never share one.
class TXmlDocument {
public:
    // Empty when the text is not well-formed XML. Never reads the network or
    // files named in the text; blank text between elements is dropped.
    static TXmlDocument Parse(std::string_view text);

    bool Loaded() const { return m_doc != nullptr; }
    // The document element; null when there is none.
    xmlNode* Root() const;

private:
    struct TFree {
        void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
    };
    std::unique_ptr<xmlDoc, TFree> m_doc;
};

// The first direct child element of parent with this name; null when none.
xmlNode* FirstChildElement(const xmlNode* parent, std::string_view name);
// The first such child whose attribute equals value.
xmlNode* FirstChildElementWith(const xmlNode* parent, std::string_view name, std::string_view attribute,
                               std::string_view value);
// The text of the first direct child element with this name, or fallback.
std::string ChildText(const xmlNode* parent, std::string_view name, std::string_view fallback);
// An attribute's value, or fallback when the node has no such attribute.
std::string AttributeText(const xmlNode* node, std::string_view name, std::string_view fallback);

} // namespace tramble
