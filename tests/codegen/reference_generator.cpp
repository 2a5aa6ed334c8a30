#include "reference_generator.h"

#include <vector>

#include "code_generator.h"
#include "string_utils.h"
#include "text.h"

namespace zk::reference {
namespace {

std::vector<std::string> split(std::string_view text) {
    const auto b = graphemeBoundaries(text);
    std::vector<std::string> chars;
    for (std::size_t i = 0; i + 1 < b.size(); ++i)
        chars.emplace_back(text.substr(b[i], b[i + 1] - b[i]));
    return chars;
}

std::string replaceAll(std::string s, const std::string& from, const std::string& to) {
    std::string out;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s.compare(i, from.size(), from) == 0) {
            out += to;
            i += from.size();
        } else {
            out += s[i++];
        }
    }
    return out;
}

// The tag copier over a list of characters, 1-based scan position.
std::string copyTag(const std::vector<std::string>& t, std::size_t& pos, int offset) {
    const std::size_t len = t.size();
    const char c = pos + offset <= len ? t[pos + offset - 1][0] : '\0';
    int target;
    if (c == '<' || c == 'b' || c == 'i')
        target = 1;
    else if (c == 'a')
        target = 2;
    else if (c == '/' || c == '!' || c == '?' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        target = 1;
    else
        return t[pos - 1];
    std::string copied = t[pos - 1];
    int count = 0;
    while (pos < len) {
        ++pos;
        copied += t[pos - 1];
        if (t[pos - 1][0] == '>') {
            ++count;
            if (count == target) {
                if (c == 'a' && target == 2 && copied.find("<img src") != std::string::npos) {
                    target = 3;
                    continue;
                }
                break;
            }
        }
    }
    return copied;
}

std::string gradient(const std::string& work, const FormattingState& st) {
    const auto t = split(work);
    const GradientSteps steps(st, t.size());
    std::string out;
    for (std::size_t p = 1; p <= t.size(); ++p) {
        const std::string& c = t[p - 1];
        if (c[0] == '<')
            out += copyTag(t, p, 1);
        else if (c[0] == ' ' || c[0] == '\r' || c[0] == '\n')
            out += c;
        else
            out += "<font color=\"#" + ColorToHtml(steps.colorAt(p)) + "\">" + c + "</font>";
    }
    return out;
}

std::string waves(const std::string& work, const FormattingState& st) {
    const auto t = split(work);
    const long phase = 7 - static_cast<long>(st.FontSizeIndex);
    long n = 1;
    std::string out;
    for (std::size_t p = 1; p <= t.size(); ++p) {
        const std::string& c = t[p - 1];
        if (c[0] == '<') {
            out += copyTag(t, p, 0);
        } else if (c[0] == ' ' || c[0] == '\r' || c[0] == '\n') {
            out += c;
        } else {
            if (st.WavesKind == 1) {
                static const int sizes[12] = {1, 2, 3, 4, 5, 6, 7, 6, 5, 4, 3, 2};
                const long k = (((n + phase - 1) % 12) + 12) % 12;
                out += "<font size=\"" + std::to_string(sizes[k]) + "\">" + c + "</font>";
            } else {
                const long k = (((n + phase - 1) % 6) + 6) % 6;
                if (k == 1 || k == 2)
                    out += "<sup>" + c + "</sup>";
                else if (k == 4 || k == 5)
                    out += "<sub>" + c + "</sub>";
                else
                    out += c;
            }
            ++n;
        }
    }
    return out;
}

} // namespace

std::string GenerateCode(std::string_view text, const FormattingState& st, bool keepLineBreaks) {
    std::string work(text);
    if (work.empty() && st.SignatureOn == 0 && st.CodePrefix.empty())
        return {};
    const TagPair style = StyleTags(st);
    const TagPair align = work.empty() ? TagPair{} : AlignmentTags(st);
    const TagPair font = work.empty() ? TagPair{} : FontTags(st);
    const std::string signature = st.SignatureOn == 1 ? SignatureBlock(st) : "";
    if (st.GradientOn == 1)
        work = gradient(work, st);
    const TagPair marquee = st.ScrollingOn == 1 ? MarqueeTags(st) : TagPair{};
    if (st.WavesOn == 1)
        work = waves(work, st);
    if (!keepLineBreaks)
        work = replaceAll(work, "\r\n", "<br>");
    work = replaceAll(work, "  ", "&nbsp&nbsp");
    return st.CodePrefix + marquee.opening + font.opening + align.opening + style.opening + work +
           style.closing + align.closing + font.closing + marquee.closing + signature;
}

} // namespace zk::reference
