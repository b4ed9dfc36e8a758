// Texts cross between the table and files (UTF-8 in std::string) and Qt here.
#pragma once

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

}  // namespace tavik::ui
