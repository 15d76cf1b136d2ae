#pragma once

#include <QFile>
#include <QString>

#include <filesystem>

namespace app {

/// A file-system path as the user sees it, decoded as the file system encodes names.
inline QString toQString(const std::filesystem::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

inline std::filesystem::path toPath(const QString& text)
{
    return std::filesystem::path(QFile::encodeName(text).toStdString());
}

} // namespace app
