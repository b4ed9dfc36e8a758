// Pre-rendered cell texts for the grid: drawing cached images is what keeps a full screen
// of cells cheap. Cell codes and numbers repeat from cell to cell; names and header values
// do not, so the cache starts afresh once it holds 16 MB.
#pragma once

#include <QFont>
#include <QImage>

#include <cstddef>
#include <string>
#include <unordered_map>

namespace tavik::ui {

// One text as an image: transparent, the text in black, at the device pixel ratio it was
// made for; width and height in logical pixels.
struct TextImage {
    QImage image;
    int width = 0;
    int height = 0;
};

class TextImageCache {
public:
    // The table font (in points); texts are drawn with it sized in pixels at 96 dots per
    // inch. Empties the cache.
    void setFont(const QFont& tableFont);
    // The font's size in pixels: the height a text takes in a row.
    int em() const { return em_; }

    // The image of a UTF-8 text for a device of the pixel ratio `dpr`. The reference lives
    // until the next call.
    const TextImage& imageFor(const std::string& text, qreal dpr);

    std::size_t size() const { return images_.size(); }

private:
    QFont font_;
    std::unordered_map<std::string, TextImage> images_;
    std::size_t bytes_ = 0;
    qreal dpr_ = 0;
    int em_ = 12;
    qreal unit_ = 6;  // a half-width slot: half the size, as the layouts count
    bool monospaced_ = true;
    qreal baseline_ = 11;  // in an image
    int textHeight_ = 15;  // of an image
};

}  // namespace tavik::ui
