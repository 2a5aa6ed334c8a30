// List files and list names come from the user's folder and from drops: any bytes. The
// entries of any file write back as a file with the same entries; a name accepted for a list
// is the name its file is read back as. The pages and tags made of entries hold no markup of
// the entries' own.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "image_list.h"
#include "list_store.h"
#include "text.h"

using zkfuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zkfuzz::Input in(data, size);
    const std::string_view name = in.piece();
    const std::string_view file = in.rest();

    const std::vector<std::string> entries = zk::parseListFile(file);
    for (const std::string& e : entries) {
        check(!e.empty(), "an empty entry");
        check(e.find_first_of("\r\n") == std::string::npos, "an entry holds a line break");
        check(zk::isValidUtf8(e), "an entry is not UTF-8");
    }
    const std::string written = zk::formatListFile(entries);
    check(zk::parseListFile(written) == entries, "entries changed on their way back");

    if (zk::isValidListName(name)) {
        const std::string fileName = std::string(name) + ".lst";
        check(zk::listNameOfFile(fileName) == name, "a valid name reads back differently");
    }
    (void)zk::listNameOfFile(name);

    const std::string escaped = zk::escapeHtml(name);
    check(escaped.find_first_of("<>\"") == std::string::npos, "markup left in an address");
    const std::string tag = zk::imageTagFor(name);
    check(std::count(tag.begin(), tag.end(), '"') == 2, "an address ends its attribute");
    const auto opens = [](const std::string& t) {
        return static_cast<std::size_t>(std::count(t.begin(), t.end(), '<'));
    };
    check(opens(zk::wholeListPage(entries)) == opens(zk::wholeListPage({})) + 3 * entries.size(),
          "an entry added markup to the page");
    return 0;
}
