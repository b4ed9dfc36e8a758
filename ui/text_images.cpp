#include "ui/text_images.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "core/cp932_width.h"
#include "print/table_font.h"

namespace tavik::ui {

void TextImageCache::setFont(const QFont& tableFont) {
    font_ = GridDrawingFont(tableFont);
    QFontMetricsF fm(font_);
    em_ = font_.pixelSize() > 0 ? font_.pixelSize() : static_cast<int>(std::lround(fm.height()));
    unit_ = em_ / 2.0;
    // Placed by the em box rather than by the font's ascent and descent, which some CJK
    // fonts make far taller than a row.
    baseline_ = std::round(0.86 * em_) + 1;
    textHeight_ = em_ + 3;
    monospaced_ = true;
    for (QChar ch : QStringLiteral(" +rei.W(1")) {
        if (std::abs(fm.horizontalAdvance(ch) - unit_) > 0.01) monospaced_ = false;
    }
    if (std::abs(fm.horizontalAdvance(QChar(0x7A2E)) - 2 * unit_) > 0.01) monospaced_ = false;
    images_.clear();
    bytes_ = 0;
}

const TextImage& TextImageCache::imageFor(const std::string& text, qreal dpr) {
    if (dpr != dpr_) {
        images_.clear();
        bytes_ = 0;
        dpr_ = dpr;
    }
    auto it = images_.find(text);
    if (it != images_.end()) return it->second;
    if (bytes_ > (16u << 20)) {
        images_.clear();
        bytes_ = 0;
    }

    const QString s = QString::fromStdString(text);
    const std::u32string u = s.toStdU32String();
    QFontMetricsF fm(font_);
    const int w = static_cast<int>(std::ceil(std::max(Cp932Width(text) * unit_, fm.horizontalAdvance(s)))) + 1;
    TextImage ti;
    ti.width = std::max(1, w);
    ti.height = std::max(1, textHeight_);
    ti.image = QImage(static_cast<int>(std::ceil(ti.width * dpr)), static_cast<int>(std::ceil(ti.height * dpr)),
                      QImage::Format_ARGB32_Premultiplied);
    ti.image.setDevicePixelRatio(dpr);
    ti.image.fill(Qt::transparent);
    {
        QPainter p(&ti.image);
        p.setFont(font_);
        p.setPen(Qt::black);
        // Numbers right-aligned in 4 and cell codes (one letter per layer group) must line
        // up from row to row: in a font that is not monospaced, such texts get one slot per
        // character. Longer texts (names, comments) read better as set.
        const bool columnar = u.size() <= 4 || (!u.empty() && u[0] == U' ');
        if (monospaced_ || !columnar) {
            p.drawText(QPointF(0, baseline_), s);
        } else {
            qreal x = 0;
            for (char32_t c : u) {
                const QString one = QString::fromUcs4(&c, 1);
                const qreal slotW = Cp932CharWidth(c) * unit_;
                p.drawText(QPointF(x + (slotW - fm.horizontalAdvance(one)) / 2, baseline_), one);
                x += slotW;
            }
        }
    }
    bytes_ += static_cast<std::size_t>(ti.image.sizeInBytes()) + text.size() + 64;
    return images_.emplace(text, std::move(ti)).first->second;
}

}  // namespace tavik::ui
