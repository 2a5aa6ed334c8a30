// The few changes that bring a live page from one fragment to the next, worked out away
// from the page: on a long text with a gradient a key changes a few hundred letters'
// colours and adds one letter, and the page then parses and touches only those instead of
// the whole fragment. Plain C++: it may run on any thread.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zk::platform {

// The changes that turn the body the page holds for fragment `from` into the body of
// fragment `to` (both UTF-8), as a JavaScript array literal for the page's patch function:
//   ["a", PATH, "NAME", [NAME, VALUE, ...]]  the element at PATH (child indexes from the
//                                            body) takes these attribute values
//   ["r", PATH, INDEX, COUNT, "HTML"]        in the node at PATH, COUNT children from INDEX
//                                            give way to the nodes HTML parses into
// listed so that each path is still right when its change comes. nullopt when a fragment
// holds anything whose parse this reading might not match the engine's (a comment, a
// script, a table, a tag left open or closed out of turn...): the page is then brought up
// to date whole.
std::optional<std::string> bodyPatch(std::string_view from, std::string_view to);

// A fragment's body as read for bodyPatch, kept so that the next patch reads only the new
// fragment.
class LiveBody final {
public:
    explicit LiveBody(std::string_view fragment);
    ~LiveBody();
    LiveBody(const LiveBody&) = delete;
    LiveBody& operator=(const LiveBody&) = delete;

    // Whether this reading follows the fragment (bodyPatch gives nullopt otherwise).
    bool followed() const;

    struct Tree;

private:
    friend std::optional<std::string> bodyPatch(const LiveBody& from, const LiveBody& to);
    std::unique_ptr<Tree> tree_;
};

std::optional<std::string> bodyPatch(const LiveBody& from, const LiveBody& to);

// The body the page of `fragment` holds: the line ends around it in the page are in it.
std::string liveBody(std::string_view fragment);

// text as a JavaScript string literal (UTF-8).
std::string scriptLiteral(std::string_view text);

} // namespace zk::platform
