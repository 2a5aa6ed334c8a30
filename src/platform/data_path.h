// A path of the Data tree under the application folder, as the window's parts use it.
#pragma once

#include <QString>

#include <string_view>

#include "data_paths.h"

namespace zk::platform {

// appFolder ends with "/"; relative is a path of data_paths.h ("Data/Listes"...).
inline QString dataPath(const QString& appFolder, std::string_view relative) {
    return appFolder + QString::fromUtf8(relative.data(), static_cast<qsizetype>(relative.size()));
}

inline QString dataPath(const QString& appFolder, const zk::data::File& file) {
    return dataPath(appFolder, file.path());
}

} // namespace zk::platform
