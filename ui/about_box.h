// The about box: the program's name and version.
#pragma once

#include <QDialog>

namespace tavik::ui {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const QString& versionText, QWidget* parent);
};

// The program's icon, drawn (a leaf over a small table).
QIcon ProgramIcon();

}  // namespace tavik::ui
