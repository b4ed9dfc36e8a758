// Painting the composition grid: one full screen (1920 x 1080) of a 100,000-relevé by
// 6,000-species table, at the top-left and at the far bottom-right, and while paging.
// Prints one line per figure; no figure is asserted.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/bench_util.h"
#include "core/table.h"
#include "tools/synthetic_table.h"
#include "ui/grid_widget.h"

using tavik::bench::MedianMs;
using tavik::bench::Row;

namespace {

double Ms(std::chrono::steady_clock::time_point a) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - a).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int releves = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int species = argc > 2 ? std::atoi(argv[2]) : 6000;
    std::printf("== grid painting, %d releves x %d species, ~30 species per releve, 1920 x 1080\n", releves, species);

    auto t0 = std::chrono::steady_clock::now();
    tavik::Table table;
    tavik::tools::FillSyntheticTable(table, {releves, species, 30, 1});
    Row("build the table (not the grid's cost)", Ms(t0), "ms");

    t0 = std::chrono::steady_clock::now();
    tavik::ui::CompositionGrid grid;
    grid.setTable(&table);
    grid.resize(1920, 1080);
    grid.show();
    const QSize frame = grid.size() - grid.viewport()->size();
    grid.resize(QSize(1920, 1080) + frame);
    QApplication::processEvents();
    grid.onTableChanged();
    Row("build the grid on the table (offsets, scroll range, show)", Ms(t0), "ms");
    std::printf("   viewport %d x %d, scroll range %d x %d px\n", grid.viewport()->width(), grid.viewport()->height(),
                grid.horizontalScrollBar()->maximum(), grid.verticalScrollBar()->maximum());

    QImage img(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    auto paint = [&] {
        QPainter p(&img);
        grid.paintTo(p, img.rect());
    };

    t0 = std::chrono::steady_clock::now();
    paint();
    Row("first paint, top-left (text images made)", Ms(t0), "ms");
    const double topLeft = MedianMs(50, paint);
    Row("paint one screen, top-left (median of 50)", topLeft, "ms", 16);

    grid.scrollToEnd();
    std::printf("   scrolled to column %d, row %d\n", grid.leftColumn(), grid.topRow());
    t0 = std::chrono::steady_clock::now();
    paint();
    Row("first paint, bottom-right", Ms(t0), "ms");
    const double bottomRight = MedianMs(50, paint);
    Row("paint one screen, bottom-right (median of 50)", bottomRight, "ms", 16);

    // Paging right through the middle: every screen shows new header texts.
    grid.scrollTo(releves / 2, species / 2);
    QScrollBar* h = grid.horizontalScrollBar();
    const double paging = MedianMs(50, [&] {
        h->setValue(h->value() + h->pageStep());
        paint();
    });
    Row("page right and paint (median of 50)", paging, "ms", 16);

    // With tints, a search-hit list and a range selection over the screen.
    for (int i = 0; i < 200; ++i) grid.tintRow(table.FNRow() + 1 + i * 7, tavik::ui::kTintClick);
    std::vector<QPoint> hits;
    for (int p = 1; p <= species; p += 3) hits.emplace_back(2, table.FNRow() + p);
    grid.setSearchHits(std::move(hits));
    grid.setRangeSelect(true);
    grid.setSelectedRect(
        QRect(QPoint(grid.leftColumn(), grid.topRow()), QPoint(grid.leftColumn() + 40, grid.topRow() + 40)));
    const double tinted = MedianMs(50, paint);
    Row("paint with 200 row tints, 2,000 hits, a selection", tinted, "ms", 16);

    std::printf("   ratios: bottom-right / top-left %.2f, paging / top-left %.2f\n", bottomRight / topLeft,
                paging / topLeft);
    return 0;
}
