// The files the table is read with: the field data, the synonym dictionary, the settings
// file, and the header items taken from the field data. The File and Settings menus hand
// these commands here; the window keeps their slots as one-line forwards.
#pragma once

#include <QObject>
#include <QString>

namespace tavik::ui {

class MainWindow;

class DataSources : public QObject {
    Q_OBJECT
public:
    explicit DataSources(MainWindow* window);

    // Asks for a field-data file and takes it.
    void chooseDataFile();
    // Takes `path` as the field data; a file that cannot be read leaves the one in use.
    void setDataFile(const QString& path);
    void readDictionary();
    void readSettingsFile();
    // The header items from the field data (after asking), or from the settings.
    void toggleEmbeddedItems();

private:
    MainWindow* w_;
};

}  // namespace tavik::ui
