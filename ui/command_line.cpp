#include "ui/command_line.h"

#include <QFileInfo>

namespace tavik::ui {

StartRequest ParseCommandLine(const QStringList& args, const QString& defaultIniPath) {
    StartRequest r{defaultIniPath, {}};
    if (args.isEmpty()) return r;
    const QString& first = args.front();
    const QString ext = QFileInfo(first).suffix().toUpper();
    if (ext == QLatin1String("INI")) r.iniPath = first;
    else if (ext == QLatin1String("VTB") || QFileInfo(first).fileName().toUpper().endsWith(QLatin1String(".VTB.GZ")))
        r.tablePath = first;
    else if (ext == QLatin1String("TKI")) r.dataPath = first;
    return r;
}

}  // namespace tavik::ui
