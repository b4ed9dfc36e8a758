#include "print/table_font.h"

#include <QFontDatabase>
#include <QStringList>

#include <cmath>

namespace tavik::ui {

namespace {

bool Installed(const QStringList& families, const QString& name, QString* found) {
    for (const QString& f : families) {
        if (f.compare(name, Qt::CaseInsensitive) == 0) {
            *found = f;
            return true;
        }
    }
    return false;
}

bool LooksGothic(const QString& name) {
    // Font families are named alike in every language.
    return name.contains(QStringLiteral("ゴシック")) ||  // data, not interface
           name.contains(QStringLiteral("Gothic"), Qt::CaseInsensitive) ||
           name.contains(QStringLiteral("Sans"), Qt::CaseInsensitive);
}

}  // namespace

QString ResolveFontFamily(const QString& name) {
    const QStringList families = QFontDatabase::families();
    QString found;
    if (!name.isEmpty() && Installed(families, name, &found)) return found;
    // The table is a Mincho table unless the name asks for a Gothic face.
    static const char* const kMincho[] = {"IPAMincho",         "IPA明朝",    // data, not interface
                                          "IPAexMincho",       "IPAex明朝",  // data, not interface
                                          "Noto Serif CJK JP", "Noto Serif JP"};
    static const char* const kGothic[] = {"IPAGothic", "IPAゴシック",  // data, not interface
                                          "IPAexGothic", "Noto Sans CJK JP", "Noto Sans JP"};
    if (LooksGothic(name)) {
        for (const char* f : kGothic)
            if (Installed(families, QString::fromUtf8(f), &found)) return found;
    }
    for (const char* f : kMincho)
        if (Installed(families, QString::fromUtf8(f), &found)) return found;
    return name;
}

QFont ResolveTableFont(const std::string& name, int pointSize) {
    if (pointSize <= 0) pointSize = 9;
    QFont f(ResolveFontFamily(QString::fromStdString(name)));
    f.setPointSize(pointSize);
    f.setStyleHint(QFont::Serif);
    f.setKerning(false);
    return f;
}

QFont GridDrawingFont(const QFont& tableFont) {
    QFont f(tableFont);
    if (tableFont.pointSizeF() > 0) f.setPixelSize(static_cast<int>(std::lround(tableFont.pointSizeF() * 96.0 / 72.0)));
    return f;
}

}  // namespace tavik::ui
