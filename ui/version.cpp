#include "ui/version.h"

#include <QStringList>

#ifndef TAVIK_VERSION
#define TAVIK_VERSION ""
#endif

namespace tavik::ui {

QString VersionText(const QString& fileVersion) {
    const QStringList parts = fileVersion.split(QLatin1Char('.'));
    if (parts.size() != 4) return {};
    QList<unsigned> n;
    for (const QString& p : parts) {
        bool ok = false;
        const unsigned v = p.toUInt(&ok);
        if (!ok || p.isEmpty() || p.startsWith(QLatin1Char('+'))) return {};
        n.append(v);
    }
    return QString::number(n[0]) + QLatin1Char('.') + QString::number(n[1]) + QString::number(n[2]);
}

QString ProgramVersionText() { return VersionText(QStringLiteral(TAVIK_VERSION)); }

}  // namespace tavik::ui
