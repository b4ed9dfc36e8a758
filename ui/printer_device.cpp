#include "ui/printer_device.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>

#include <stdexcept>

#include "ui/table_font.h"

namespace tavik::ui {

PrinterTextDevice::PrinterTextDevice(QPagedPaintDevice* device, const QString& family, int pointSize)
    : device_(device) {
    if (!painter_.begin(device_)) throw std::runtime_error("印刷を始められません");
    if (pointSize <= 0) pointSize = 9;
    font_ = QFont(ResolveFontFamily(family));
    font_.setStyleHint(QFont::Serif);
    font_.setKerning(false);
    // The character height for the size in points at the device's resolution.
    font_.setPixelSize(std::max(1, pointSize * device_->logicalDpiY() / 72));
    painter_.setFont(font_);
    const QFontMetrics fm(font_, device_);
    lineHeight_ = std::max(1, fm.lineSpacing());
    ascent_ = fm.ascent();
    pageWidth_ = device_->width();
    pageHeight_ = device_->height();
}

PrinterTextDevice::~PrinterTextDevice() {
    if (painter_.isActive()) painter_.end();
}

bool PrinterTextDevice::Finish() { return !painter_.isActive() || painter_.end(); }

int PrinterTextDevice::PageWidth() const { return pageWidth_; }

int PrinterTextDevice::TextWidth(std::string_view utf8) const {
    const QFontMetrics fm(font_, device_);
    return fm.horizontalAdvance(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void PrinterTextDevice::NewLine() {
    y_ += lineHeight_;
    pageUsed_ = true;
}

void PrinterTextDevice::Draw(const QString& text) {
    if (pageUsed_ && y_ + lineHeight_ > pageHeight_) {
        device_->newPage();
        ++pages_;
        y_ = 0;
        pageUsed_ = false;
    }
    if (!text.isEmpty()) painter_.drawText(0, y_ + ascent_, text);
    NewLine();
}

void PrinterTextDevice::Line(std::string_view utf8) {
    if (utf8 == kFormFeed) {
        if (pageUsed_) {
            device_->newPage();
            ++pages_;
        }
        y_ = 0;
        pageUsed_ = false;
        return;
    }
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const QFontMetrics fm(font_, device_);
    // A line wider than the page continues on the next one, cut between characters.
    qsizetype start = 0;
    int width = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const int w = fm.horizontalAdvance(text.mid(i, len));
        if (width + w > pageWidth_ && i > start) {
            if (start == 0) ++continued_;
            Draw(text.mid(start, i - start));
            start = i;
            width = 0;
        }
        width += w;
        i += len;
    }
    Draw(text.mid(start));
}

}  // namespace tavik::ui
