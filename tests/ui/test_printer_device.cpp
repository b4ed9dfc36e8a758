// The printer text device on a PDF writer: page width, font height, new pages on form
// feeds and on full pages, and lines wider than the page continued on the next line.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "core/constancy.h"
#include "core/table_fidelity.h"
#include "formats/freq_table_files.h"
#include "formats/workspace.h"
#include "output/options.h"
#include "print/printer_device.h"

using tavik::ui::PrinterTextDevice;

class PrinterDeviceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QPdfWriter> writer_;

    QPdfWriter* Writer() {
        buffer_ = std::make_unique<QBuffer>();
        buffer_->open(QIODevice::WriteOnly);
        writer_ = std::make_unique<QPdfWriter>(buffer_.get());
        writer_->setPageSize(QPageSize(QPageSize::A4));
        writer_->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer_->setResolution(600);
        return writer_.get();
    }

private slots:
    // A PDF cut anywhere (a disk that took only part of it) is refused; the whole one passes.
    void onlyACompletePdfPasses() {
        {
            PrinterTextDevice device(Writer(), QStringLiteral("IPAMincho"), 10);
            for (int i = 0; i < 60; ++i) device.Line("ブナ　ミズナラ　ハウチワカエデ");
            QVERIFY(device.Finish());
        }
        const QByteArray pdf = buffer_->data();
        QTemporaryDir dir;
        const std::string path = QDir(dir.path()).filePath(QStringLiteral("p.pdf")).toStdString();
        const auto check = [&](const QByteArray& bytes) {
            QFile f(QString::fromStdString(path));
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return QStringLiteral("(not written)");
            f.write(bytes);
            f.close();
            try {
                tavik::ui::CheckPdfComplete(path, "p.pdf");
            } catch (const std::exception& e) {
                return QString::fromUtf8(e.what());
            }
            return QString();
        };
        QCOMPARE(check(pdf), QString());
        QCOMPARE(check(QByteArray()), QStringLiteral("p.pdf に書き込めません（PDF が空です）"));
        QCOMPARE(check(pdf.left(pdf.size() / 2)),
                 QStringLiteral("p.pdf に書き込めません（PDF が途中で終わっています）"));
        const qsizetype lineEnd = pdf.size() - pdf.trimmed().size();  // after "%%EOF"
        for (qsizetype cut = lineEnd + 1; cut < 200; ++cut)
            QVERIFY2(!check(pdf.left(pdf.size() - cut)).isEmpty(), qPrintable(QString::number(cut)));
        // An end whose index points nowhere (the middle lost, the end written).
        QByteArray holed = pdf;
        const qsizetype xref = holed.lastIndexOf("\nxref");
        QVERIFY(xref > 0);
        holed.replace(xref + 1, 4, "    ");
        QCOMPARE(check(holed), QStringLiteral("p.pdf に書き込めません（PDF の索引が壊れています）"));
        QCOMPARE(check("GIF89a" + pdf.mid(6)), QStringLiteral("p.pdf に書き込めません（PDF の始まりがありません）"));
    }

    void columnsFollowTheFontAndThePage() {
        PrinterTextDevice device(Writer(), QStringLiteral("ＭＳ 明朝"), 10);
        // 180 mm at 600 dpi (Qt keeps margins in whole points).
        QVERIFY2(std::abs(device.PageWidth() - 4252) < 40, qPrintable(QString::number(device.PageWidth())));
        // A 10-point font: half-width characters of 5 points, so about 102 across the page.
        const int n = device.PageWidth() / device.TextWidth("0");
        QVERIFY2(n >= 95 && n <= 110, qPrintable(QString::number(n)));
        QCOMPARE(tavik::FullPrintColumns(device), device.PageWidth() / device.TextWidth("01234"));
        QVERIFY(device.Finish());
    }

    void formFeedStartsAPageOnlyAfterText() {
        PrinterTextDevice device(Writer(), QStringLiteral("IPAMincho"), 10);
        device.Line(tavik::kFormFeed);  // nothing printed yet: no empty page
        device.Line("表の通し番号");
        device.Line(tavik::kFormFeed);
        device.Line("続き");
        QCOMPARE(device.Pages(), 2);
        QVERIFY(device.Finish());
        QVERIFY(buffer_->data().startsWith("%PDF"));
    }

    void fullPagesContinueOnNewOnes() {
        PrinterTextDevice narrow(Writer(), QStringLiteral("IPAMincho"), 10);
        for (int i = 0; i < 100; ++i) narrow.Line("ブナ");
        const int pages = narrow.Pages();
        QVERIFY(pages >= 2);
        QVERIFY(narrow.Finish());
        // The same number of lines, each two and a half pages wide, take about three times
        // the room.
        PrinterTextDevice wide(Writer(), QStringLiteral("IPAMincho"), 10);
        const std::string line(250, '5');
        for (int i = 0; i < 100; ++i) wide.Line(line);
        QVERIFY2(wide.Pages() >= 3 * pages - 1, qPrintable(QString::number(wide.Pages())));
        QVERIFY(wide.Finish());
    }

    // The layouts choose their blocks from the device, so that at any font size no line of
    // the table goes on in a second line: the full print with the frequency column, the
    // simple print, and the constancy table of eight groups.
    void printedLinesFitThePage() {
        tavik::Workspace ws;
        ws.Start("");
        ws.LoadTable(TAVIK_SOURCE_DIR "/tests/data/example_groups.vtb");
        tavik::Table& t = ws.table;
        // Eight groups: separators after every 7th relevé (the table has three already).
        for (int q = 8; q < t.ReleveCount(); q += 8)
            if (t.RelNumSp()[static_cast<std::size_t>(q)] > 0) QVERIFY(t.InsertColumn(q + 3));
        t.Recount();
        tavik::OutputOptions o = tavik::OutputOptionsFor(tavik::OutputMode::Print, t, ws.settings);
        o.frequency = true;
        for (int size : {6, 7, 9, 12, 16}) {
            for (bool simple : {false, true}) {
                PrinterTextDevice device(Writer(), QStringLiteral("IPAMincho"), size);
                if (simple) tavik::PrintSimple(t, o, device);
                else tavik::PrintFull(t, o, device);
                QVERIFY2(device.ContinuedLines() == 0, qPrintable(QStringLiteral("%1 pt %2: %3 lines wrapped")
                                                                      .arg(size)
                                                                      .arg(simple ? "simple" : "full")
                                                                      .arg(device.ContinuedLines())));
                QVERIFY(device.Finish());
            }
        }
        tavik::ConstancyOptions c;
        c.kind = tavik::ConstancyKind::ClassesFiveWithCover;
        const tavik::FreqTable synoptic = tavik::MakeSynopticTable(t, c, tavik::FidelityOptions{});
        QVERIFY(synoptic.ColCount() >= 9);
        for (int size : {7, 9, 12}) {
            PrinterTextDevice device(Writer(), QStringLiteral("IPAMincho"), size);
            for (const std::string& line :
                 tavik::FreqTablePrintLines(synoptic, true, tavik::FullPrintColumns(device) * 5))
                device.Line(line);
            QVERIFY2(device.ContinuedLines() == 0, qPrintable(QStringLiteral("constancy %1 pt").arg(size)));
            QVERIFY(device.Finish());
            // For looking at: the printed synoptic table (TAVIK_SHOTS_DIR, as the screenshots).
            const QString shots = qEnvironmentVariable("TAVIK_SHOTS_DIR");
            if (size == 9 && !shots.isEmpty()) {
                QFile pdf(QDir(shots).filePath(QStringLiteral("constancy_print.pdf")));
                QVERIFY(QDir().mkpath(shots) && pdf.open(QIODevice::WriteOnly));
                pdf.write(buffer_->data());
            }
        }
    }
};

QTEST_MAIN(PrinterDeviceTest)
#include "test_printer_device.moc"
