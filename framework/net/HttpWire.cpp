// HTTP head building and reply parsing; see the header.
#include "framework/net/HttpWire.h"

#include "core/StrUtil.h"

#include <charconv>
#include <vector>

namespace {
std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool ParseDecimal(std::string_view s, std::uint64_t limit, std::uint64_t* value) {
    if (s.empty())
        return false;
    std::uint64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        std::uint64_t d = static_cast<std::uint64_t>(c - '0');
        if (v > (UINT64_MAX - d) / 10)
            return false;
        v = v * 10 + d;
        if (v > limit)
            return false;
    }
    *value = v;
    return true;
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}
} // namespace

bool ParseHttpHead(std::string_view head, std::uint64_t maxBody, CHttpHead* out) {
    *out = CHttpHead{};
    std::vector<std::string_view> lines = Lines(head);
    if (lines.empty())
        return false;
    // "HTTP/1.x NNN reason"
    std::string_view status = lines[0];
    if (status.size() < 12 || status.substr(0, 7) != "HTTP/1." || status[8] != ' ')
        return false;
    if (status[7] != '0' && status[7] != '1')
        return false;
    out->minorVersion = status[7] - '0';
    std::uint64_t code = 0;
    if (!ParseDecimal(status.substr(9, 3), 999, &code) || code < 100 || (status.size() > 12 && status[12] != ' '))
        return false;
    out->status = static_cast<int>(code);
    bool keepAlive = false;
    bool sawClose = false;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0)
            return false;
        std::string_view name = line.substr(0, colon);
        std::string_view value = Trim(line.substr(colon + 1));
        if (EqualsNoCase(name, "Content-Length")) {
            std::uint64_t length = 0;
            if (!ParseDecimal(value, maxBody, &length))
                return false;
            if (out->hasLength && out->contentLength != length)
                return false;
            out->hasLength = true;
            out->contentLength = length;
        } else if (EqualsNoCase(name, "Transfer-Encoding")) {
            if (!EqualsNoCase(value, "chunked"))
                return false;
            out->chunked = true;
        } else if (EqualsNoCase(name, "ETag")) {
            out->hasETag = true;
            out->etag.assign(value);
        } else if (EqualsNoCase(name, "Connection")) {
            if (EqualsNoCase(value, "close"))
                sawClose = true;
            else if (EqualsNoCase(value, "keep-alive"))
                keepAlive = true;
        }
    }
    if (out->chunked && out->hasLength)
        return false;
    out->closeAfter = sawClose || (out->minorVersion == 0 && !keepAlive);
    return true;
}

bool ParseReplyTag(std::string_view value, CReplyTag* out) {
    value = Trim(value);
    if (value.substr(0, 2) == "W/")
        value.remove_prefix(2);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        size_t comma = value.find(',');
        if ((i < 3) == (comma == std::string_view::npos))
            return false;
        std::string_view field = Trim(value.substr(0, comma));
        if (field.empty())
            return false;
        auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), numbers[i]);
        if (ec != std::errc() || end != field.data() + field.size())
            return false;
        if (i < 3)
            value.remove_prefix(comma + 1);
    }
    *out = CReplyTag{numbers[0], numbers[1], numbers[2], numbers[3]};
    return true;
}

bool ParseChunkSize(std::string_view line, std::uint64_t limit, std::uint64_t* size) {
    size_t semi = line.find(';');
    std::string_view digits = Trim(line.substr(0, semi));
    if (digits.empty() || digits.size() > 16)
        return false;
    std::uint64_t v = 0;
    for (char c : digits) {
        int d = (c >= '0' && c <= '9')   ? c - '0'
                : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                         : -1;
        if (d < 0)
            return false;
        v = v * 16 + static_cast<std::uint64_t>(d);
    }
    if (v > limit)
        return false;
    *size = v;
    return true;
}

std::string BuildPostHead(const std::string& host, int port, bool viaGateway, size_t bodyLength) {
    std::string target = host + ":" + std::to_string(port);
    std::string head;
    if (viaGateway) {
        head = "POST http://" + target + "/ HTTP/1.1\r\n";
        head += "Host: " + target + "\r\n";
        head += "X-Online-Host: " + target + "\r\n";
    } else {
        head = "POST / HTTP/1.1\r\n";
        head += "Host: " + target + "\r\n";
    }
    head += "Content-Type: application/x-www-form-urlencoded\r\n";
    head += "Content-Length: " + std::to_string(bodyLength) + "\r\n\r\n";
    return head;
}
