#include "data_tree.h"

#include "atomic_file.h"
#include "data_paths.h"

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

// The folders that hold files the program replaces.
constexpr std::string_view kOwnFolders[] = {data::kBin, data::kPresets, data::kLists, data::kTemp,
                                            data::kHelp};

} // namespace

bool isOwnDataFile(std::string_view folder, std::string_view name) {
    if (folder == data::kBin)
        return withoutBak(name) == data::kSettingsFile.name ||
               withoutBak(name) == data::kOptionsFile.name || name == data::kNameDayFile.name;
    if (folder == data::kPresets)
        return isPresetName(withoutBak(name));
    if (folder == data::kLists)
        return name.size() > 4 && isLowerLst(name.substr(name.size() - 4));
    if (folder == data::kTemp)
        return name == data::kPreviewPage.name || name == data::kImagePage.name ||
               name == data::kPicturePage.name;
    if (folder == data::kHelp)
        return name == data::kHelpPage.name;
    return false;
}

std::size_t removeStaleSaves(const std::string& appFolder) {
    std::size_t removed = 0;
    for (std::string_view folder : kOwnFolders) {
        removed += removeStaleTemporaryFiles(
            appFolder + std::string(folder),
            [folder](std::string_view name) { return isOwnDataFile(folder, name); });
    }
    return removed;
}

} // namespace zk
