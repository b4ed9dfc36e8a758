#include "print/printer_device.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPagedPaintDevice>

#include <charconv>
#include <stdexcept>

#include "formats/input_file.h"

#include "print/table_font.h"

namespace tavik::ui {

PrinterTextDevice::PrinterTextDevice(QPagedPaintDevice* device, const QString& family, int pointSize)
    : device_(device) {
    if (!painter_.begin(device_))
        throw std::runtime_error(
            QCoreApplication::translate("PrinterTextDevice", "印刷を始められません").toStdString());
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

void CheckPdfComplete(const std::string& path, const std::string& shownPath) {
    // `why` is a source text of the context "PrinterTextDevice", shown translated.
    const auto incomplete = [&](const char* why) {
        return std::runtime_error(
            QCoreApplication::translate("PrinterTextDevice", "%1 に書き込めません（%2）")
                .arg(QString::fromStdString(shownPath), QCoreApplication::translate("PrinterTextDevice", why))
                .toStdString());
    };
    InputFile in(path);
    const std::uint64_t size = in.Size();
    std::string head(8, '\0');
    head.resize(in.ReadAt(0, head.data(), head.size()));
    if (size == 0) throw incomplete(QT_TRANSLATE_NOOP("PrinterTextDevice", "PDF が空です"));
    if (head.rfind("%PDF-", 0) != 0)
        throw incomplete(QT_TRANSLATE_NOOP("PrinterTextDevice", "PDF の始まりがありません"));
    const std::uint64_t tailAt = size > 1024 ? size - 1024 : 0;
    std::string tail(static_cast<std::size_t>(size - tailAt), '\0');
    tail.resize(in.ReadAt(tailAt, tail.data(), tail.size()));
    while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r' || tail.back() == ' ')) tail.pop_back();
    const std::size_t startxref = tail.rfind("startxref");
    if (tail.size() < 5 || tail.compare(tail.size() - 5, 5, "%%EOF") != 0 || startxref == std::string::npos)
        throw incomplete(QT_TRANSLATE_NOOP("PrinterTextDevice", "PDF が途中で終わっています"));
    std::size_t at = startxref + 9;
    while (at < tail.size() && (tail[at] == '\n' || tail[at] == '\r' || tail[at] == ' ')) ++at;
    std::uint64_t offset = 0;
    const auto [end, ec] = std::from_chars(tail.data() + at, tail.data() + tail.size(), offset);
    if (ec != std::errc() || end == tail.data() + at || offset >= size)
        throw incomplete(QT_TRANSLATE_NOOP("PrinterTextDevice", "PDF の索引が壊れています"));
    char xref[4] = {};
    if (in.ReadAt(offset, xref, 4) != 4 || std::string_view(xref, 4) != "xref")
        throw incomplete(QT_TRANSLATE_NOOP("PrinterTextDevice", "PDF の索引が壊れています"));
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
