#include "ui/command_line.h"

#include <QFileInfo>

namespace tavik::ui {

namespace {
bool IsTableName(const QString& path) {
    const QString name = QFileInfo(path).fileName().toUpper();
    return name.endsWith(QLatin1String(".VTB")) || name.endsWith(QLatin1String(".VTB.GZ")) ||
           name.endsWith(QLatin1String(".VTB.ZST"));
}
}  // namespace

StartRequest ParseCommandLine(const QStringList& args, const QString& defaultIniPath) {
    StartRequest r{defaultIniPath, {}, {}, {}};
    bool iniGiven = false;
    for (const QString& arg : args) {
        const QString ext = QFileInfo(arg).suffix().toUpper();
        if (!iniGiven && ext == QLatin1String("INI")) {
            r.iniPath = arg;
            iniGiven = true;
        } else if (r.tablePath.isEmpty() && IsTableName(arg)) {
            r.tablePath = arg;
        } else if (r.dataPath.isEmpty() && ext == QLatin1String("TKI")) {
            r.dataPath = arg;
        } else {
            r.refused.append(arg);
        }
    }
    return r;
}

}  // namespace tavik::ui
