// What the command line asks for at start: another settings file, or a table to open.
#pragma once

#include <QString>
#include <QStringList>

namespace tavik::ui {

struct StartRequest {
    QString iniPath;    // the settings file to use
    QString tablePath;  // a saved table to load after the settings; empty for none
};

// Only the first argument counts: ".ini" (any letter case) replaces the settings file,
// ".vtb" (any letter case) is loaded as a table; anything else is ignored, and so are
// further arguments. `args` excludes the program itself.
StartRequest ParseCommandLine(const QStringList& args, const QString& defaultIniPath);

}  // namespace tavik::ui
