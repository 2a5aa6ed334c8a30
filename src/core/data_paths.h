// The Data tree beside the program: the one place that names its folders and files.
// Every path is relative to the application folder and uses "/".
#pragma once

#include <string>
#include <string_view>

namespace zk::data {

inline constexpr std::string_view kRoot = "Data";
inline constexpr std::string_view kBin = "Data/Bin";
inline constexpr std::string_view kLists = "Data/Listes";
inline constexpr std::string_view kDeletedLists = "Data/Listes/BakListes";
inline constexpr std::string_view kPresets = "Data/Presets";
inline constexpr std::string_view kTemp = "Data/Temp";
inline constexpr std::string_view kHelp = "Data/Aide";

// The folders of the tree in the order start-up creates them.
inline constexpr std::string_view kFolders[] = {kRoot,    kBin,  kLists, kDeletedLists,
                                                kPresets, kTemp, kHelp};

// A file of the tree: its folder and its name.
struct File final {
    std::string_view folder;
    std::string_view name;
    std::string path() const { return std::string(folder) + '/' + std::string(name); }
};

inline constexpr File kSettingsFile{kBin, "ZelkoHTML.ini"};
inline constexpr File kOptionsFile{kBin, "Options.ini"};
inline constexpr File kNameDayFile{kBin, "fetes.txt"};
inline constexpr File kPreviewPage{kTemp, "TempHTML.html"};
inline constexpr File kImagePage{kTemp, "Image.html"};
inline constexpr File kPicturePage{kTemp, "TempImage.html"}; // the preview drawn as a picture
inline constexpr File kHelpPage{kHelp, "ZelkoHTMLDOC.htm"};

} // namespace zk::data
