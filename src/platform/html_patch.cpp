#include "html_patch.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace zk::platform {

namespace {

// The elements this reading follows. Nested properly and outside tables, lists and
// paragraphs, the engine's parser puts each of them where its tags are, so that the tree
// read here is the tree the page holds.
constexpr std::array<std::string_view, 18> kElements = {
    "a", "b",     "big",  "center", "div",    "em",  "font", "i",  "marquee",
    "s", "small", "span", "strike", "strong", "sub", "sup",  "tt", "u"};
// Elements without an end tag.
constexpr std::array<std::string_view, 4> kVoidElements = {"bgsound", "br", "hr", "img"};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

template <std::size_t N>
bool among(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::uint64_t mix(std::uint64_t hash, std::uint64_t value) {
    hash ^= value + 0x9E3779B97F4A7C15ULL + (hash << 6) + (hash >> 2);
    return hash;
}

std::uint64_t hashOf(std::string_view text) {
    std::uint64_t hash = 1469598103934665603ULL;
    for (const char c : text)
        hash = (hash ^ std::uint8_t(c)) * 1099511628211ULL;
    return hash;
}

struct Node {
    bool element = false;
    std::string name; // lower case
    std::size_t begin = 0;
    std::size_t end = 0;       // past the node's last character
    std::size_t tagEnd = 0;    // past its start tag
    bool valuesInPlace = true; // its attribute values can be set as they are written
    std::vector<std::pair<std::string, std::string>> attributes; // names in lower case
    std::vector<std::size_t> children;
    std::uint64_t shape = 0; // the names and the texts of the subtree, not the values
};

// The tree of a body, or nothing when its parse might differ from the engine's.
class Tree {
public:
    explicit Tree(std::string_view source) : source_(source) {}

    bool read() {
        nodes_.push_back({});
        nodes_[0].element = true;
        std::vector<std::size_t> open = {0};
        bool insideLink = false;
        std::size_t i = 0;
        const std::size_t n = source_.size();
        while (i < n) {
            if (source_[i] == '\0')
                return false;
            if (source_[i] != '<') {
                const std::size_t start = i;
                while (i < n && source_[i] != '<') {
                    if (source_[i] == '\0')
                        return false;
                    ++i;
                }
                Node text;
                text.begin = start;
                text.end = text.tagEnd = i;
                text.shape = hashOf(source_.substr(start, i - start));
                add(open.back(), std::move(text));
                continue;
            }
            if (i + 1 < n && source_[i + 1] == '/') {
                // An end tag must close the element open last.
                std::size_t j = i + 2;
                std::string name;
                while (j < n && !isSpace(source_[j]) && source_[j] != '>' && source_[j] != '/')
                    name += lower(source_[j++]);
                while (j < n && isSpace(source_[j]))
                    ++j;
                if (j >= n || source_[j] != '>' || open.size() < 2)
                    return false;
                Node& element = nodes_[open.back()];
                if (element.name != name)
                    return false;
                element.end = j + 1;
                if (name == "a")
                    insideLink = false;
                finish(open.back());
                open.pop_back();
                i = j + 1;
                continue;
            }
            Node element;
            element.element = true;
            element.begin = i;
            const std::optional<bool> selfClosing = readStartTag(i, element);
            if (!selfClosing)
                return false;
            const bool isVoid = among(kVoidElements, element.name);
            if (!isVoid && (*selfClosing || !among(kElements, element.name)))
                return false;
            if (element.name == "a") {
                if (insideLink)
                    return false; // a link in a link is closed by the parser
                insideLink = true;
            }
            i = element.tagEnd;
            const std::size_t index = add(open.back(), std::move(element));
            if (isVoid) {
                nodes_[index].end = i;
                finish(index);
            } else {
                open.push_back(index);
            }
        }
        return open.size() == 1;
    }

    const Node& node(std::size_t i) const { return nodes_[i]; }
    std::string_view text(const Node& node) const {
        return source_.substr(node.begin, node.end - node.begin);
    }
    std::string_view span(std::size_t begin, std::size_t end) const {
        return source_.substr(begin, end - begin);
    }
    std::string_view startTag(const Node& node) const {
        return source_.substr(node.begin, node.tagEnd - node.begin);
    }

private:
    std::size_t add(std::size_t parent, Node node) {
        nodes_.push_back(std::move(node));
        const std::size_t index = nodes_.size() - 1;
        nodes_[parent].children.push_back(index);
        return index;
    }

    void finish(std::size_t index) {
        Node& element = nodes_[index];
        std::uint64_t shape = hashOf(element.name);
        for (const auto& attribute : element.attributes)
            shape = mix(shape, hashOf(attribute.first));
        for (const std::size_t child : element.children)
            shape = mix(shape, nodes_[child].shape);
        element.shape = shape;
    }

    // Reads the start tag at i into element (its name, attributes and end); whether it
    // ends with "/>", or nothing when it is not one this reading follows.
    std::optional<bool> readStartTag(std::size_t i, Node& element) const {
        const std::size_t n = source_.size();
        std::size_t j = i + 1;
        if (j >= n || !isLetter(source_[j]))
            return std::nullopt;
        while (j < n && !isSpace(source_[j]) && source_[j] != '>' && source_[j] != '/')
            element.name += lower(source_[j++]);
        bool selfClosing = false;
        while (true) {
            while (j < n && (isSpace(source_[j]) || source_[j] == '/')) {
                selfClosing = source_[j] == '/';
                ++j;
            }
            if (j >= n)
                return std::nullopt;
            if (source_[j] == '>')
                break;
            selfClosing = false;
            if (source_[j] == '=')
                return std::nullopt;
            std::string name;
            while (j < n && !isSpace(source_[j]) && source_[j] != '/' && source_[j] != '>' &&
                   source_[j] != '=')
                name += lower(source_[j++]);
            while (j < n && isSpace(source_[j]))
                ++j;
            std::string value;
            if (j < n && source_[j] == '=') {
                ++j;
                while (j < n && isSpace(source_[j]))
                    ++j;
                if (j >= n)
                    return std::nullopt;
                if (source_[j] == '"' || source_[j] == '\'') {
                    const char quote = source_[j++];
                    const std::size_t close = source_.find(quote, j);
                    if (close == std::string_view::npos)
                        return std::nullopt;
                    value = source_.substr(j, close - j);
                    j = close + 1;
                } else {
                    while (j < n && !isSpace(source_[j]) && source_[j] != '>')
                        value += source_[j++];
                }
            }
            for (const auto& attribute : element.attributes) {
                if (attribute.first == name)
                    element.valuesInPlace = false; // the parser keeps the first only
            }
            // Character references and line ends are read by the parser, not here.
            if (value.find_first_of("&\r") != std::string::npos)
                element.valuesInPlace = false;
            element.attributes.emplace_back(std::move(name), std::move(value));
        }
        element.tagEnd = j + 1;
        return selfClosing;
    }

    std::string_view source_;
    std::vector<Node> nodes_;
};

// A run of this many children or fewer facing as many is brought up to date one by one.
constexpr std::size_t kPairwiseRun = 16;

class Differ {
public:
    Differ(const Tree& from, const Tree& to) : from_(from), to_(to) {}

    // Appends the changes of the children of from's node a into those of to's node b.
    void children(std::size_t a, std::size_t b, std::vector<std::size_t>& path) {
        const std::vector<std::size_t>& olds = from_.node(a).children;
        const std::vector<std::size_t>& news = to_.node(b).children;
        const std::size_t n = olds.size();
        const std::size_t m = news.size();
        std::size_t p = 0;
        while (p < n && p < m && same(olds[p], news[p]))
            ++p;
        std::size_t s = 0;
        while (s < n - p && s < m - p && same(olds[n - 1 - s], news[m - 1 - s]))
            ++s;
        // Between the equal ends, the children of the same shape at both ends of the run
        // (a letter whose colour changed) are brought up to date in place.
        std::size_t k = 0;
        while (p + k < n - s && p + k < m - s &&
               from_.node(olds[p + k]).shape == to_.node(news[p + k]).shape)
            ++k;
        std::size_t e = 0;
        while (p + k + e < n - s && p + k + e < m - s &&
               from_.node(olds[n - s - 1 - e]).shape == to_.node(news[m - s - 1 - e]).shape)
            ++e;
        // Latest first, so that the paths of the changes still to come stay right.
        for (std::size_t i = 0; i < e; ++i)
            pair(olds[n - s - 1 - i], news[m - s - 1 - i], n - s - 1 - i, path);
        const std::size_t oldFrom = p + k;
        const std::size_t oldCount = n - s - e - oldFrom;
        const std::size_t newCount = m - s - e - oldFrom;
        if (oldCount == newCount && oldCount <= kPairwiseRun) {
            for (std::size_t i = oldCount; i-- > 0;)
                pair(olds[oldFrom + i], news[oldFrom + i], oldFrom + i, path);
        } else if (oldCount > 0 || newCount > 0) {
            std::string html;
            if (newCount > 0) {
                html = to_.span(to_.node(news[oldFrom]).begin,
                                to_.node(news[oldFrom + newCount - 1]).end);
            }
            replace(path, oldFrom, oldCount, html);
        }
        for (std::size_t i = k; i-- > 0;)
            pair(olds[p + i], news[p + i], p + i, path);
    }

    std::string take() {
        out_ += ']';
        return std::move(out_);
    }

private:
    bool same(std::size_t a, std::size_t b) const {
        const Node& x = from_.node(a);
        const Node& y = to_.node(b);
        return x.shape == y.shape && from_.text(x) == to_.text(y);
    }

    // Brings child `index` (from's node a) to to's node b.
    void pair(std::size_t a, std::size_t b, std::size_t index, std::vector<std::size_t>& path) {
        const Node& x = from_.node(a);
        const Node& y = to_.node(b);
        if (from_.text(x) == to_.text(y))
            return;
        bool sameNames = x.element && y.element && x.name == y.name &&
                         x.attributes.size() == y.attributes.size();
        for (std::size_t i = 0; sameNames && i < x.attributes.size(); ++i)
            sameNames = x.attributes[i].first == y.attributes[i].first;
        const bool tagChanged = sameNames && from_.startTag(x) != to_.startTag(y);
        // A marquee whose settings change starts again, as a new one does.
        if (!sameNames ||
            (tagChanged && (x.name == "marquee" || !x.valuesInPlace || !y.valuesInPlace))) {
            replace(path, index, 1, std::string(to_.text(y)));
            return;
        }
        path.push_back(index);
        children(a, b, path);
        if (tagChanged) {
            begin();
            out_ += "[\"a\",";
            writePath(path);
            out_ += ",\"";
            for (const char c : y.name)
                out_ += c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
            out_ += "\",[";
            for (std::size_t i = 0; i < y.attributes.size(); ++i) {
                if (i > 0)
                    out_ += ',';
                out_ += scriptLiteral(y.attributes[i].first);
                out_ += ',';
                out_ += scriptLiteral(y.attributes[i].second);
            }
            out_ += "]]";
        }
        path.pop_back();
    }

    void replace(const std::vector<std::size_t>& path, std::size_t index, std::size_t count,
                 const std::string& html) {
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

std::optional<std::string> bodyPatch(std::string_view from, std::string_view to) {
    const std::string oldBody = liveBody(from);
    const std::string newBody = liveBody(to);
    Tree oldTree(oldBody);
    Tree newTree(newBody);
    if (!oldTree.read() || !newTree.read())
        return std::nullopt;
    Differ differ(oldTree, newTree);
    std::vector<std::size_t> path;
    differ.children(0, 0, path);
    return differ.take();
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
