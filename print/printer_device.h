// The printer text device: lines of text drawn one under another on a paged device (a
// QPrinter chosen in the print dialog, or a QPdfWriter) in one font. A line wider than the
// page continues on the next line, a full page continues on a new one, and "\f" starts a
// new page. The desktop program prints through it; tavik-cli uses it for PDF files.
#pragma once

#include <QFont>
#include <QPainter>
#include <QString>

#include <string>
#include <string_view>

#include "output/print_layout.h"

class QPagedPaintDevice;

namespace tavik::ui {

class PrinterTextDevice : public TextDevice {
public:
    // Starts the job on `device` with the font `family` (resolved to an installed face) at
    // `pointSize` points: its height in device pixels is size × resolution / 72, truncated.
    // Throws std::runtime_error when the device cannot be painted on.
    PrinterTextDevice(QPagedPaintDevice* device, const QString& family, int pointSize);
    ~PrinterTextDevice() override;
    PrinterTextDevice(const PrinterTextDevice&) = delete;
    PrinterTextDevice& operator=(const PrinterTextDevice&) = delete;

    void Line(std::string_view utf8) override;
    int PageWidth() const override;
    int TextWidth(std::string_view utf8) const override;

    // Ends the job; false when the device reports a failure.
    bool Finish();
    int Pages() const { return pages_; }
    // Lines that were wider than the page and went on in a further line.
    int ContinuedLines() const { return continued_; }

private:
    void NewLine();
    void Draw(const QString& text);

    QPagedPaintDevice* device_;
    QPainter painter_;
    QFont font_;
    int lineHeight_ = 1, ascent_ = 0, pageHeight_ = 0, pageWidth_ = 0;
    int y_ = 0;
    bool pageUsed_ = false;
    int pages_ = 1;
    int continued_ = 0;
};

// Qt's PDF writer says nothing when the disk refuses its bytes. Before a PDF file is put in
// place, its bytes are checked: "%PDF-" at the start, "startxref" with an offset inside the
// file that leads to the cross-reference table, and "%%EOF" at the end. Throws
// std::runtime_error "<shownPath> に書き込めません（…）" for a file that is not complete.
void CheckPdfComplete(const std::string& path, const std::string& shownPath);

}  // namespace tavik::ui
