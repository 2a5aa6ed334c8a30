#include "html_patch.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace zk::platform {

namespace {

// The elements this reading follows, then those without an end tag. Nested properly and
// outside tables, lists and paragraphs, the engine's parser puts each of them where its
// tags are, so that the tree read here is the tree the page holds.
constexpr std::array<std::string_view, 22> kNames = {
    "a",    "b",      "big",    "center", "div", "em", "font", "i",       "marquee", "s",  "small",
    "span", "strike", "strong", "sub",    "sup", "tt", "u",    "bgsound", "br",      "hr", "img"};
constexpr std::uint8_t kFirstVoid = 18;
constexpr std::uint8_t kLink = 0;
constexpr std::uint8_t kMarquee = 8;
constexpr std::uint8_t kText = 0xFF;
constexpr std::uint8_t kBody = 0xFE;
constexpr std::uint32_t kNone = 0xFFFFFFFF;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The number of a tag name in kNames, or kText when it is none of them.
std::uint8_t nameNumber(std::string_view name) {
    char buffer[8];
    if (name.size() > sizeof buffer)
        return kText;
    for (std::size_t i = 0; i < name.size(); ++i)
        buffer[i] = lower(name[i]);
    const std::string_view lowered(buffer, name.size());
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (kNames[i] == lowered)
            return std::uint8_t(i);
    }
    return kText;
}

std::uint64_t mix(std::uint64_t hash, std::uint64_t value) {
    hash ^= value + 0x9E3779B97F4A7C15ULL + (hash << 6) + (hash >> 2);
    return hash;
}

std::uint64_t hashOf(std::string_view text, bool ignoreCase = false) {
    std::uint64_t hash = 1469598103934665603ULL;
    for (const char c : text)
        hash = (hash ^ std::uint8_t(ignoreCase ? lower(c) : c)) * 1099511628211ULL;
    return hash;
}

struct Span {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
};

struct Attribute {
    Span name;
    Span value; // as written, without its quotes
};

struct Node {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;    // past the node's last character
    std::uint32_t tagEnd = 0; // past its start tag
    std::uint32_t parent = kNone;
    std::uint32_t firstAttribute = 0;
    std::uint32_t firstKid = 0;
    std::uint32_t kidCount = 0;
    std::uint16_t attributeCount = 0;
    std::uint8_t name = kText;
    bool valuesInPlace = true; // its attribute values can be set as they are written
    std::uint64_t shape = 0;   // the names and the texts of the subtree, not the values
};

} // namespace

// The tree of a body, or nothing when its parse might differ from the engine's.
struct LiveBody::Tree {
    std::string source;
    std::vector<Node> nodes;
    std::vector<Attribute> attributes;
    std::vector<std::uint32_t> kids;
    bool followed = false;

    std::string_view text(Span span) const {
        return std::string_view(source).substr(span.begin, span.end - span.begin);
    }
    std::string_view text(const Node& node) const { return text(Span{node.begin, node.end}); }
    std::string_view startTag(const Node& node) const {
        return text(Span{node.begin, node.tagEnd});
    }
    const Node& kid(const Node& node, std::size_t i) const {
        return nodes[kids[node.firstKid + i]];
    }

    bool read() {
        if (source.size() >= kNone)
            return false;
        const std::size_t tags = std::size_t(std::count(source.begin(), source.end(), '<'));
        nodes.reserve(tags + tags / 2 + 2);
        attributes.reserve(tags / 2 + 1);
        nodes.push_back({});
        nodes[0].name = kBody;
        nodes[0].end = std::uint32_t(source.size());
        std::uint32_t open = 0;
        bool insideLink = false;
        const std::string_view s(source);
        const std::size_t n = s.size();
        std::size_t i = 0;
        while (i < n) {
            if (s[i] != '<') {
                const std::size_t start = i;
                const std::size_t next = s.find('<', i);
                i = next == std::string_view::npos ? n : next;
                const std::string_view run = s.substr(start, i - start);
                if (run.find('\0') != std::string_view::npos)
                    return false;
                Node text;
                text.begin = std::uint32_t(start);
                text.end = text.tagEnd = std::uint32_t(i);
                text.shape = hashOf(run);
                add(open, text);
                continue;
            }
            if (i + 1 < n && s[i + 1] == '/') {
                // An end tag must close the element open last.
                std::size_t j = i + 2;
                while (j < n && !isSpace(s[j]) && s[j] != '>' && s[j] != '/')
                    ++j;
                const std::uint8_t name = nameNumber(s.substr(i + 2, j - i - 2));
                while (j < n && isSpace(s[j]))
                    ++j;
                if (j >= n || s[j] != '>' || open == 0 || nodes[open].name != name)
                    return false;
                nodes[open].end = std::uint32_t(j + 1);
                if (name == kLink)
                    insideLink = false;
                const std::uint32_t closed = open;
                open = nodes[closed].parent;
                nodes[open].shape = mix(nodes[open].shape, nodes[closed].shape);
                i = j + 1;
                continue;
            }
            Node element;
            element.begin = std::uint32_t(i);
            const std::optional<bool> selfClosing = readStartTag(i, element);
            if (!selfClosing || element.name == kText)
                return false;
            const bool isVoid = element.name >= kFirstVoid;
            if (!isVoid && *selfClosing)
                return false;
            if (element.name == kLink) {
                if (insideLink)
                    return false; // a link in a link is closed by the parser
                insideLink = true;
            }
            i = element.tagEnd;
            if (isVoid) {
                element.end = element.tagEnd;
                add(open, element);
            } else {
                element.parent = open;
                nodes.push_back(element);
                open = std::uint32_t(nodes.size() - 1);
            }
        }
        if (open != 0)
            return false;
        // Each node's children, in order, side by side.
        for (std::size_t k = 1; k < nodes.size(); ++k)
            ++nodes[nodes[k].parent].kidCount;
        std::uint32_t offset = 0;
        for (Node& node : nodes) {
            node.firstKid = offset;
            offset += node.kidCount;
            node.kidCount = 0;
        }
        kids.resize(offset);
        for (std::size_t k = 1; k < nodes.size(); ++k) {
            Node& parent = nodes[nodes[k].parent];
            kids[parent.firstKid + parent.kidCount++] = std::uint32_t(k);
        }
        return true;
    }

private:
    // A finished node (text or void element) in the element open.
    void add(std::uint32_t parent, Node node) {
        node.parent = parent;
        nodes[parent].shape = mix(nodes[parent].shape, node.shape);
        nodes.push_back(node);
    }

    // Reads the start tag at i into element (its name, attributes, shape so far and end);
    // whether it ends with "/>", or nothing when it is not one this reading follows.
    std::optional<bool> readStartTag(std::size_t i, Node& element) {
        const std::string_view s(source);
        const std::size_t n = s.size();
        std::size_t j = i + 1;
        if (j >= n || !isLetter(s[j]))
            return std::nullopt;
        while (j < n && !isSpace(s[j]) && s[j] != '>' && s[j] != '/')
            ++j;
        element.name = nameNumber(s.substr(i + 1, j - i - 1));
        element.shape = mix(0, element.name);
        element.firstAttribute = std::uint32_t(attributes.size());
        bool selfClosing = false;
        while (true) {
            while (j < n && (isSpace(s[j]) || s[j] == '/')) {
                selfClosing = s[j] == '/';
                ++j;
            }
            if (j >= n)
                return std::nullopt;
            if (s[j] == '>')
                break;
            selfClosing = false;
            if (s[j] == '=' || s[j] == '\0')
                return std::nullopt;
            Attribute attribute;
            attribute.name.begin = std::uint32_t(j);
            while (j < n && !isSpace(s[j]) && s[j] != '/' && s[j] != '>' && s[j] != '=')
                ++j;
            attribute.name.end = std::uint32_t(j);
            while (j < n && isSpace(s[j]))
                ++j;
            attribute.value = {std::uint32_t(j), std::uint32_t(j)};
            if (j < n && s[j] == '=') {
                ++j;
                while (j < n && isSpace(s[j]))
                    ++j;
                if (j >= n)
                    return std::nullopt;
                if (s[j] == '"' || s[j] == '\'') {
                    const std::size_t close = s.find(s[j], j + 1);
                    if (close == std::string_view::npos)
                        return std::nullopt;
                    attribute.value = {std::uint32_t(j + 1), std::uint32_t(close)};
                    j = close + 1;
                } else {
                    const std::size_t start = j;
                    while (j < n && !isSpace(s[j]) && s[j] != '>')
                        ++j;
                    attribute.value = {std::uint32_t(start), std::uint32_t(j)};
                }
            }
            const std::string_view name = text(attribute.name);
            const std::string_view value = text(attribute.value);
            for (std::size_t a = element.firstAttribute; a < attributes.size(); ++a) {
                if (sameIgnoringCase(text(attributes[a].name), name))
                    element.valuesInPlace = false; // the parser keeps the first only
            }
            // Character references, line ends and nulls are read by the parser, not here.
            if (value.find_first_of(std::string_view("&\r\0", 3)) != std::string_view::npos ||
                name.find('\0') != std::string_view::npos)
                element.valuesInPlace = false;
            element.shape = mix(element.shape, hashOf(name, true));
            attributes.push_back(attribute);
            ++element.attributeCount;
        }
        element.tagEnd = std::uint32_t(j + 1);
        return selfClosing;
    }
};

LiveBody::LiveBody(std::string_view fragment) : tree_(std::make_unique<Tree>()) {
    tree_->source = liveBody(fragment);
    tree_->followed = tree_->read();
}

LiveBody::~LiveBody() = default;

bool LiveBody::followed() const {
    return tree_->followed;
}

namespace {

// A run of this many children or fewer facing as many is brought up to date one by one.
constexpr std::size_t kPairwiseRun = 16;

class Differ {
public:
    using Tree = LiveBody::Tree;

    Differ(const Tree& from, const Tree& to) : from_(from), to_(to) {}

    // Appends the changes of the children of from's node x into those of to's node y.
    void children(const Node& x, const Node& y, std::vector<std::size_t>& path) {
        const std::size_t n = x.kidCount;
        const std::size_t m = y.kidCount;
        const auto old = [&](std::size_t i) -> const Node& { return from_.kid(x, i); };
        const auto now = [&](std::size_t i) -> const Node& { return to_.kid(y, i); };
        std::size_t p = 0;
        while (p < n && p < m && same(old(p), now(p)))
            ++p;
        std::size_t s = 0;
        while (s < n - p && s < m - p && same(old(n - 1 - s), now(m - 1 - s)))
            ++s;
        // Between the equal ends, the children of the same shape at both ends of the run
        // (a letter whose colour changed) are brought up to date in place.
        std::size_t k = 0;
        while (p + k < n - s && p + k < m - s && old(p + k).shape == now(p + k).shape)
            ++k;
        std::size_t e = 0;
        while (p + k + e < n - s && p + k + e < m - s &&
               old(n - s - 1 - e).shape == now(m - s - 1 - e).shape)
            ++e;
        // Latest first, so that the paths of the changes still to come stay right.
        for (std::size_t i = 0; i < e; ++i)
            pair(old(n - s - 1 - i), now(m - s - 1 - i), n - s - 1 - i, path);
        const std::size_t from = p + k;
        const std::size_t oldCount = n - s - e - from;
        const std::size_t newCount = m - s - e - from;
        if (oldCount == newCount && oldCount <= kPairwiseRun) {
            for (std::size_t i = oldCount; i-- > 0;)
                pair(old(from + i), now(from + i), from + i, path);
        } else if (oldCount > 0 || newCount > 0) {
            std::string_view html;
            if (newCount > 0)
                html = to_.text(Span{now(from).begin, now(from + newCount - 1).end});
            replace(path, from, oldCount, html);
        }
        for (std::size_t i = k; i-- > 0;)
            pair(old(p + i), now(p + i), p + i, path);
    }

    std::string take() {
        out_ += ']';
        return std::move(out_);
    }

private:
    bool same(const Node& x, const Node& y) const {
        return x.shape == y.shape && from_.text(x) == to_.text(y);
    }

    // Brings child `index`, from's node x, to to's node y.
    void pair(const Node& x, const Node& y, std::size_t index, std::vector<std::size_t>& path) {
        if (from_.text(x) == to_.text(y))
            return;
        bool sameNames =
            x.name != kText && x.name == y.name && x.attributeCount == y.attributeCount;
        for (std::size_t i = 0; sameNames && i < x.attributeCount; ++i)
            sameNames = sameIgnoringCase(from_.text(from_.attributes[x.firstAttribute + i].name),
                                         to_.text(to_.attributes[y.firstAttribute + i].name));
        const bool tagChanged = sameNames && from_.startTag(x) != to_.startTag(y);
        // A marquee whose settings change starts again, as a new one does.
        if (!sameNames ||
            (tagChanged && (x.name == kMarquee || !x.valuesInPlace || !y.valuesInPlace))) {
            replace(path, index, 1, to_.text(y));
            return;
        }
        path.push_back(index);
        children(x, y, path);
        if (tagChanged) {
            begin();
            out_ += "[\"a\",";
            writePath(path);
            out_ += ",\"";
            for (const char c : kNames[y.name])
                out_ += char(c - 'a' + 'A');
            out_ += "\",[";
            for (std::size_t i = 0; i < y.attributeCount; ++i) {
                const Attribute& attribute = to_.attributes[y.firstAttribute + i];
                std::string name(to_.text(attribute.name));
                for (char& c : name)
                    c = lower(c);
                if (i > 0)
                    out_ += ',';
                out_ += scriptLiteral(name);
                out_ += ',';
                out_ += scriptLiteral(to_.text(attribute.value));
            }
            out_ += "]]";
        }
        path.pop_back();
    }

    void replace(const std::vector<std::size_t>& path, std::size_t index, std::size_t count,
                 std::string_view html) {
        begin();
        out_ += "[\"r\",";
        writePath(path);
        out_ += ',' + std::to_string(index) + ',' + std::to_string(count) + ',';
        out_ += scriptLiteral(html);
        out_ += ']';
    }

    void begin() { out_ += out_.size() > 1 ? "," : ""; }

    void writePath(const std::vector<std::size_t>& path) {
        out_ += '[';
        for (std::size_t i = 0; i < path.size(); ++i) {
            if (i > 0)
                out_ += ',';
            out_ += std::to_string(path[i]);
        }
        out_ += ']';
    }

    const Tree& from_;
    const Tree& to_;
    std::string out_ = "[";
};

} // namespace

std::string liveBody(std::string_view fragment) {
    std::string body;
    body.reserve(fragment.size() + 6);
    body += "\r\n";
    body += fragment;
    body += "\r\n\r\n";
    return body;
}

std::optional<std::string> bodyPatch(const LiveBody& from, const LiveBody& to) {
    if (!from.followed() || !to.followed())
        return std::nullopt;
    Differ differ(*from.tree_, *to.tree_);
    std::vector<std::size_t> path;
    differ.children(from.tree_->nodes[0], to.tree_->nodes[0], path);
    return differ.take();
}

std::optional<std::string> bodyPatch(std::string_view from, std::string_view to) {
    return bodyPatch(LiveBody(from), LiveBody(to));
}

std::string scriptLiteral(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 2);
    out += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = std::uint8_t(text[i]);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            if (c < 0x20) {
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 15];
            } else if (c == 0xE2 && i + 2 < text.size() && std::uint8_t(text[i + 1]) == 0x80 &&
                       (std::uint8_t(text[i + 2]) == 0xA8 || std::uint8_t(text[i + 2]) == 0xA9)) {
                // The two line ends JavaScript knows beside CR and LF.
                out += std::uint8_t(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
                i += 2;
            } else {
                out += char(c);
            }
        }
    }
    out += '"';
    return out;
}

} // namespace zk::platform
