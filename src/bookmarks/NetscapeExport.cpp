#include "bookmarks/NetscapeExport.h"

#include "store/AtomicFile.h"

namespace tramble {

std::string EscapeHtml(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string NetscapeBookmarkHtml(const TBookmarkModel& model)
{
    std::string html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                       "<!-- This is an automatically generated file.\n"
                       "     It will be read and overwritten.\n"
                       "     DO NOT EDIT! -->\n"
                       "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                       "<TITLE>Bookmarks</TITLE>\n"
                       "<H1>Bookmarks</H1>\n"
                       "<DL><p>\n";
    for (const TBookmarkGroup& group : model.Groups()) {
        html += "    <DT><H3>" + EscapeHtml(group.Caption) + "</H3>\n    <DL><p>\n";
        for (const TBookmark& item : group.Items)
            html += "        <DT><A HREF=\"" + EscapeHtml(item.Address) + "\">" + EscapeHtml(item.Caption) + "</A>\n";
        html += "    </DL><p>\n";
    }
    html += "</DL><p>\n";
    return html;
}

std::optional<std::string> ExportNetscapeBookmarks(const std::string& path, const TBookmarkModel& model)
{
    return WriteFileAtomically(path, NetscapeBookmarkHtml(model));
}

} // namespace tramble
