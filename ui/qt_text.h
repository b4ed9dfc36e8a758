// Texts cross between the table and files (UTF-8 in std::string) and Qt here.
#pragma once

#include <QCoreApplication>
#include <QString>

#include <string>

namespace tavik::ui {

inline QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string S(const QString& text) { return text.toStdString(); }

// The file-name part of a path written with either kind of separator.
inline QString FileNamePart(const QString& path) {
    const int cut = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return cut < 0 ? path : path.mid(cut + 1);
}

// A file name of the workspace as the window shows it: the mark of no file ("未指定", as the
// settings file stores it) in the interface's language.
inline QString ShownFileName(const std::string& name, const char* noFileName) {
    return name == noFileName ? QCoreApplication::translate("MainWindow", "未指定") : Q(name);
}

}  // namespace tavik::ui
