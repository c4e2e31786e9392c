// Paths between Qt's strings and the file system's bytes (UTF-8 on this
// platform), the two ways the window hands them over.
#pragma once

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <filesystem>
#include <string>

namespace qasp::app {

inline QString PathText(const std::filesystem::path &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

// A file named in the window, made absolute, as the file system's bytes.
inline std::string AbsoluteFileBytes(const QString &file)
{
    return QFile::encodeName(QFileInfo(file).absoluteFilePath()).toStdString();
}

}  // namespace qasp::app
