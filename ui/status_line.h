// The window's status line: four panels that stay in view (relevés, species, the synonym
// dictionary and the file) and, beside them, a passing note.
#pragma once

#include <QStatusBar>

class QLabel;
class QTimer;

namespace tavik {
class Table;
}

namespace tavik::ui {

class StatusLine : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent);

    // The panels follow `table`, the dictionary file and the table's file (full paths; the
    // panels show their names).
    void showTable(const Table& table, const QString& dictionaryPath, const QString& filePath);
    // The text of panel 1 to 4 (empty for any other number).
    QString panelText(int panel) const;
    // A passing note beside the panels, for `ms` ms.
    void showNote(const QString& text, int ms);
    QString noteText() const;

private:
    QLabel* panels_[4] = {nullptr, nullptr, nullptr, nullptr};
    QLabel* note_;
    QTimer* noteTimer_;
};

}  // namespace tavik::ui
