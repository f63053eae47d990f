#include "model/RecentDocs.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>
#include <system_error>

namespace corvendi {

namespace fs = std::filesystem;

namespace {

// A recently-used list larger than this is not ours to rewrite.
constexpr std::uintmax_t kMaxListBytes = 16u * 1024u * 1024u;

std::string XmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c; break;
        }
    }
    return out;
}

std::string IsoUtc(std::chrono::system_clock::time_point when) {
    std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm parts{};
    gmtime_r(&t, &parts);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return buf;
}

std::string MimeTypeOf(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (ext == ".mid" || ext == ".midi") return "audio/midi";
    return "application/octet-stream";
}

std::string BookmarkElement(const std::string& uri, const std::string& mimeType,
                            const std::string& stamp) {
    std::ostringstream xml;
    xml << "  <bookmark href=\"" << XmlEscaped(uri) << "\" added=\"" << stamp << "\" modified=\""
        << stamp << "\" visited=\"" << stamp << "\">\n"
        << "    <info>\n"
        << "      <metadata owner=\"http://freedesktop.org\">\n"
        << "        <mime:mime-type type=\"" << XmlEscaped(mimeType) << "\"/>\n"
        << "        <bookmark:applications>\n"
        << "          <bookmark:application name=\"Corvendi\" exec=\"&apos;corvendi %u&apos;\""
        << " modified=\"" << stamp << "\" count=\"1\"/>\n"
        << "        </bookmark:applications>\n"
        << "      </metadata>\n"
        << "    </info>\n"
        << "  </bookmark>\n";
    return xml.str();
}

const char* const kEmptyList =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xbel version=\"1.0\"\n"
    "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
    "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
    ">\n"
    "</xbel>\n";

bool OnlyBlanks(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// Removes the <bookmark> element whose href is the given (escaped) URI, if there is one.
void RemoveBookmark(std::string& list, const std::string& escapedUri) {
    const std::string attribute = "href=\"" + escapedUri + "\"";
    std::size_t at = list.find(attribute);
    if (at == std::string::npos) return;
    std::size_t begin = list.rfind("<bookmark ", at);
    const std::string closing = "</bookmark>";
    std::size_t end = list.find(closing, at);
    if (begin == std::string::npos || end == std::string::npos) return;
    end += closing.size();
    // Take the indentation before the element and the line break after it along.
    while (begin > 0 && (list[begin - 1] == ' ' || list[begin - 1] == '\t')) --begin;
    if (end < list.size() && list[end] == '\n') ++end;
    list.erase(begin, end - begin);
}

bool ReadWhole(const fs::path& file, std::string& text) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteReplacing(const fs::path& file, const std::string& text) {
    fs::path temporary = file;
    temporary += ".corvendi-new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << text;
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temporary, file, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

}  // namespace

std::string FileUri(const std::string& absolutePath) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string uri = "file://";
    for (char ch : absolutePath) {
        unsigned char c = static_cast<unsigned char>(ch);
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                     c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            uri += ch;
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

bool AddToRecentlyUsedList(const std::string& listFile, const std::string& documentPath,
                           std::chrono::system_clock::time_point when) {
    if (listFile.empty() || documentPath.empty()) return false;
    std::error_code ec;
    fs::path document = fs::absolute(fs::path(documentPath), ec);
    if (ec) return false;
    document = document.lexically_normal();

    const fs::path list(listFile);
    std::string text;
    if (fs::exists(list, ec)) {
        std::uintmax_t size = fs::file_size(list, ec);
        if (ec || size > kMaxListBytes || !ReadWhole(list, text)) return false;
    }
    if (OnlyBlanks(text)) text = kEmptyList;
    std::size_t listEnd = text.rfind("</xbel>");
    if (listEnd == std::string::npos || text.find("<xbel") == std::string::npos) return false;

    const std::string uri = FileUri(document.string());
    RemoveBookmark(text, XmlEscaped(uri));
    listEnd = text.rfind("</xbel>");
    text.insert(listEnd, BookmarkElement(uri, MimeTypeOf(document), IsoUtc(when)));

    if (list.has_parent_path()) fs::create_directories(list.parent_path(), ec);
    return WriteReplacing(list, text);
}

}  // namespace corvendi
