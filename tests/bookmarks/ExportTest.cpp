// The exported Netscape bookmark file, read back with libxml2's HTML parser
// as a browser's importer would read it.
#include "bookmarks/NetscapeExport.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <libxml/HTMLparser.h>

#include <filesystem>

namespace tramble {
namespace {

std::string NodeText(xmlNode* node)
{
    xmlChar* text = xmlNodeGetContent(node);
    std::string result = text ? reinterpret_cast<const char*>(text) : "";
    xmlFree(text);
    return result;
}

bool Named(const xmlNode* node, const char* name)
{
    return node->type == XML_ELEMENT_NODE && xmlStrcasecmp(node->name, BAD_CAST name) == 0;
}

// Each H3 starts a group; each A after it is one of its bookmarks.
void Collect(xmlNode* node, TBookmarkModel& model, std::vector<TBookmarkGroup>& groups)
{
    for (; node; node = node->next) {
        if (Named(node, "h3")) {
            groups.push_back({NodeText(node), {}});
        } else if (Named(node, "a")) {
            xmlChar* href = xmlGetProp(node, BAD_CAST "href");
            if (!groups.empty())
                groups.back().Items.push_back({NodeText(node), href ? reinterpret_cast<const char*>(href) : ""});
            xmlFree(href);
        }
        Collect(node->children, model, groups);
    }
}

TBookmarkModel ParseExport(const std::string& html)
{
    htmlDocPtr doc = htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "UTF-8",
                                    HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    EXPECT_NE(doc, nullptr);
    TBookmarkModel model;
    std::vector<TBookmarkGroup> groups;
    if (doc)
        Collect(xmlDocGetRootElement(doc), model, groups);
    xmlFreeDoc(doc);
    for (TBookmarkGroup& group : groups)
        model.AppendGroup(std::move(group));
    return model;
}

TEST(NetscapeExport, NamesAndAddressesSurviveAnHtmlParser)
{
    TBookmarkModel model;
    model.AppendGroup({"Tom & Jerry <script>alert(1)</script>",
                       {{"\"Quoted\" & 'single'", "https://example.test/?a=1&b=\"2\"&c=<3>"},
                        {"</A><A HREF=\"evil\">", "https://x.example/p;jsessionid=1"},
                        {"中文 ünïcödé", "file:///home/u/a b.html"}}});
    model.AppendGroup({"Empty", {}});
    model.AppendGroup({"&amp; already", {{"&lt;", "http://h/&amp;"}}});
    EXPECT_EQ(ParseExport(NetscapeBookmarkHtml(model)), model);
}

TEST(NetscapeExport, FileIsWrittenWholeOrNotAtAll)
{
    test::TempDir dir;
    TBookmarkModel model;
    model.AppendGroup({"G", {{"a", "http://a"}}});
    const std::string path = dir.file("bookmarks.html");
    EXPECT_EQ(ExportNetscapeBookmarks(path, model), std::nullopt);
    const std::string written = test::ReadFileBytes(path);
    EXPECT_EQ(written.rfind("<!DOCTYPE NETSCAPE-Bookmark-file-1>", 0), 0u);
    EXPECT_EQ(ParseExport(written), model);

    const std::string missing = dir.file("no/such/folder/bookmarks.html");
    EXPECT_NE(ExportNetscapeBookmarks(missing, model), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

} // namespace
} // namespace tramble
