// What the command line asks for at start: another settings file, a table to open, or both.
#pragma once

#include <QString>
#include <QStringList>

namespace tavik::ui {

struct StartRequest {
    QString iniPath;    // the settings file to use
    QString tablePath;  // a saved table to load after the settings; empty for none
    QStringList refused;  // arguments that are neither, or a second of either kind
};

// One settings file (".ini", any letter case) and one saved table (".vtb", ".vtb.gz",
// ".vtb.zst", any letter case), in either order: the settings are taken first, then the
// table is opened. Anything else, and a second file of either kind, is refused, so that the
// window can say so. `args` excludes the program itself.
StartRequest ParseCommandLine(const QStringList& args, const QString& defaultIniPath);

}  // namespace tavik::ui
