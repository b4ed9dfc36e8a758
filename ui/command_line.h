// What the command line asks for at start: another settings file, a table to open, or the
// field data to work with.
#pragma once

#include <QString>
#include <QStringList>

namespace tavik::ui {

struct StartRequest {
    QString iniPath;    // the settings file to use
    QString tablePath;  // a saved table to load after the settings; empty for none
    QString dataPath;   // a field-data index (.tki) to make the current field data; empty for none
};

// Only the first argument counts: ".ini" (any letter case) replaces the settings file,
// ".vtb" or ".vtb.gz" (any letter case) is loaded as a table, ".tki" becomes the current
// field data, as "データファイルの指定" makes it; anything else is ignored, and so are
// further arguments. `args` excludes the program itself.
StartRequest ParseCommandLine(const QStringList& args, const QString& defaultIniPath);

}  // namespace tavik::ui
