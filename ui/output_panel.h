// The output panel: what goes out of the composition table before anything is written
// (header items, species and relevé ranges, title, frequency column, once-species list,
// the direction and conversion of the numeric matrices, the font of printing), and the
// same panel in its configuration mode, where the user chooses which header items a new
// table lays out and renames them. Controls only; the main window runs the commands.
#pragma once

#include <QFrame>
#include <array>

#include "output/options.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tavik::ui {

// One header item as the panel shows it.
struct PanelItem {
    QString caption;
    bool enabled = false;  // the box can be changed
    bool checked = false;
};
using PanelItems = std::array<PanelItem, kItemCount + 1>;  // entries 1..30

class OutputPanel : public QFrame {
    Q_OBJECT
public:
    explicit OutputPanel(QWidget* parent);
    void place();

    // Opens the panel for one of the outputs (modes 0..5). `items` are the table's header
    // items: those with a header row enabled and ticked. The ranges cover 1..count, the
    // title field shows `o.title`, the check boxes, direction, method and font come from `o`.
    void openForOutput(OutputMode mode, const PanelItems& items, int speciesCount, int releveCount,
                       const OutputOptions& o);
    // Opens the configuration mode: every box can be changed and shows its tick, the title
    // field is empty and serves for renaming an item.
    void openForConfiguration(const PanelItems& items);

    OutputMode mode() const { return mode_; }
    // The choices as the outputs take them: the ticked items among the enabled ones, the
    // ranges, the title and the extras. Font and layer labels are the caller's.
    OutputOptions choices() const;
    // The ticks of the thirty boxes (entry 0 unused).
    std::array<bool, kItemCount + 1> ticks() const;

    // The check boxes and radio groups that the settings keep.
    bool frequency() const;
    bool onceSpecies() const;
    // 文字コード of the text and CSV files: true for UTF-8 (with a BOM), false for CP932.
    bool utf8Files() const;
    // How many species occur once (shown beside their box, which lists them).
    void showOnceSpeciesCount(int count);
    int direction() const;
    int method() const;
    // The printed output's font as the font panel shows it.
    void showFont(const QString& family, int pointSize);

    // The item a right-click took into the title field, 0 for none.
    int editedItem() const { return editedItem_; }
    QString itemCaption(int item) const;
    QCheckBox* itemBox(int item) const;
    QLineEdit* titleField() const { return title_; }

signals:
    void outputRequested();  // 出力する / 設定する
    void cancelRequested();  // 取止める
    void fontRequested();    // 変更 of the font panel
    // A check box or radio group that the settings keep was changed.
    void choicesChanged();
    // 修正: the item's caption is now `caption`.
    void captionEdited(int item, const QString& caption);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void setRanges(int speciesCount, int releveCount);
    void setPanelColour(bool configuration);
    void editCaption();

    OutputMode mode_ = OutputMode::Text;
    int editedItem_ = 0;
    // The parts of the panel, top to bottom: the header items beside the matrices'
    // choices, the title with the text layouts' extras, the ranges, the font and buttons.
    QLayout* createItemGroup();
    QLayout* createTitleRow();
    QWidget* createRangeGroup();
    QLayout* createButtonRow();

    QLabel* heading_;
    std::array<QCheckBox*, kItemCount + 1> items_{};
    QCheckBox* frequency_;
    QCheckBox* once_;
    QLabel* onceCount_;
    QComboBox* encoding_;
    QWidget* encodingRow_;
    QLineEdit* title_;
    QLabel* titleCaption_;
    QWidget* ranges_;
    QLabel* speciesCaption_;
    QLabel* releveCaption_;
    QSpinBox* firstSpecies_;
    QSpinBox* lastSpecies_;
    QSpinBox* firstReleve_;
    QSpinBox* lastReleve_;
    QGroupBox* directionBox_;
    QButtonGroup* direction_;
    QGroupBox* methodBox_;
    QButtonGroup* method_;
    QLabel* matrixNote_;
    QFrame* fontPanel_;
    QLabel* fontName_;
    QLabel* fontSize_;
    QPushButton* output_;
    QPushButton* cancel_;
    QPushButton* editItem_;
};

}  // namespace tavik::ui
