// The files the program itself replaces in its Data tree.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zk {

// Whether name (a file name, no folder) is one the program replaces in the Data folder
// `folder` ("Data/Bin", "Data/Presets"...) through a temporary file: the settings and options
// files and their kept copies, the presets and theirs, the list files, the pages of Data/Temp and
// the delivered files that a user's copy of the tree is started from.
bool isOwnDataFile(std::string_view folder, std::string_view name);

// Removes the temporary files that interrupted saves left in the Data folders of appFolder
// (with its trailing "/"), and only those. Returns how many were removed.
std::size_t removeStaleSaves(const std::string& appFolder);

} // namespace zk
