// Sorting and hiding by ranges: the range panel that chooses what to sort (植物を頻度順で
// 並び替え, 測定を種数順で並び替え) or which block to hide (行・列を部分的に隠す), the site
// rows hidden and shown (立地情報を隠す), and how presses on the grid behave meanwhile.
#pragma once

#include <QObject>

#include "formats/workspace.h"

class QWidget;

namespace tavik::ui {

class CompositionGrid;
class RangePanel;
class WindowServices;

// What the range panel is open for, and how presses on the grid behave.
enum class RangeMode { None, SortSpecies, SortReleves, SiteRowsHidden, Hide };

class RangeController : public QObject {
    Q_OBJECT
public:
    RangeController(WindowServices& window, CompositionGrid* grid, QWidget* panelParent, QObject* parent);
    RangePanel* panel() const { return panel_; }
    RangeMode mode() const { return mode_; }
    // The ticks of the two hiding commands.
    bool rangesHidden() const { return hideRangesTicked_; }
    bool siteRowsHidden() const { return hideSiteTicked_; }
    // After the grid was laid out anew: nothing hidden, no range mode.
    void reset();
    // The grid selects ranges in a range mode, and moves rows and columns otherwise.
    void setGridForMode();
    // A drag over the grid ended while a block to hide was being chosen: the panel asks
    // about the block selected.
    void openForSelection();
    // The left button released on the grid: while a block to hide is being chosen (its
    // message in view), the panel opens for it.
    void onGridLeftReleased();

public slots:
    void sortSpecies();
    void sortReleves();
    // The panel's 実行 and 中止.
    void applyRange();
    void cancelRange();
    void toggleHiddenRanges();
    void toggleSiteRows();

private:
    // Opens the range panel for the sort of the current range mode.
    void showRangePanel();
    RangeMode restingMode() const;

    WindowServices& window_;
    Workspace& ws_;
    CompositionGrid* grid_;
    RangePanel* panel_;
    RangeMode mode_ = RangeMode::None;
    bool hideRangesTicked_ = false;
    bool hideSiteTicked_ = false;
};

}  // namespace tavik::ui
