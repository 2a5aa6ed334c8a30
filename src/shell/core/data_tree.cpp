#include "data_tree.h"

#include "atomic_file.h"
#include "options_file.h"

namespace zk {

namespace {

bool endsWith(std::string_view s, std::string_view end) {
    return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

bool isLowerLst(std::string_view tail) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return tail.size() == 4 && tail[0] == '.' && lower(tail[1]) == 'l' && lower(tail[2]) == 's' &&
           lower(tail[3]) == 't';
}

// "ZelkoHTML" followed by a slot number and ".cfg".
bool isPresetName(std::string_view name) {
    constexpr std::string_view head = "ZelkoHTML", tail = ".cfg";
    if (name.size() <= head.size() + tail.size() || name.substr(0, head.size()) != head ||
        !endsWith(name, tail))
        return false;
    for (char c : name.substr(head.size(), name.size() - head.size() - tail.size()))
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::string_view withoutBak(std::string_view name) {
    return endsWith(name, ".bak") ? name.substr(0, name.size() - 4) : name;
}

const char* const kFolders[] = {"Data/Bin", "Data/Presets", "Data/Listes", "Data/Temp",
                                "Data/Aide"};

} // namespace

bool isOwnDataFile(std::string_view folder, std::string_view name) {
    if (folder == "Data/Bin")
        return withoutBak(name) == "ZelkoHTML.ini" || withoutBak(name) == kOptionsFileName ||
               name == "fetes.txt";
    if (folder == "Data/Presets")
        return isPresetName(withoutBak(name));
    if (folder == "Data/Listes")
        return name.size() > 4 && isLowerLst(name.substr(name.size() - 4));
    if (folder == "Data/Temp")
        return name == "TempHTML.html" || name == "Image.html";
    if (folder == "Data/Aide")
        return name == "ZelkoHTMLDOC.htm";
    return false;
}

std::size_t removeStaleSaves(const std::string& appFolder) {
    std::size_t removed = 0;
    for (const char* folder : kFolders) {
        removed += removeStaleTemporaryFiles(appFolder + folder, [folder](std::string_view name) {
            return isOwnDataFile(folder, name);
        });
    }
    return removed;
}

} // namespace zk
