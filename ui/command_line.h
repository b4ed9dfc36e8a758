// What the command line asks for at start: another settings file, a table to open, field
// data to use.
#pragma once

#include <QString>
#include <QStringList>

namespace tavik::ui {

struct StartRequest {
    QString iniPath;      // the settings file to use
    QString tablePath;    // a saved table to load after the settings; empty for none
    QString dataPath;     // a field-data index (.tki) to make the current field data; empty for none
    QStringList refused;  // arguments of none of these kinds, or a second of one kind
};

// One settings file (".ini", any letter case), one saved table (".vtb", ".vtb.gz",
// ".vtb.zst") and one field-data index (".tki"), in any order: the settings are taken
// first, then the table is opened and the field data chosen, as "データファイルの指定"
// chooses it. Anything else, and a second file of one kind, is refused, so that the window
// can say so. `args` excludes the program itself.
StartRequest ParseCommandLine(const QStringList& args, const QString& defaultIniPath);

}  // namespace tavik::ui
