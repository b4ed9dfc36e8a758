#include "cli/print_pdf.h"

#include <stdexcept>

#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "cli/messages.h"
#include "core/language.h"
#include "formats/atomic_file.h"
#include "print/printer_device.h"

namespace tavik::cli {

namespace {

// Fonts and PDF painting need a GUI application; without a display it runs offscreen.
void EnsureGuiApplication() {
    if (QGuiApplication::instance()) return;
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt's notes on the environment (no runtime folder, say) are not the command's output.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "%s\n", qPrintable(msg));
    });
    static int argc = 1;
    static char name[] = "tavik-cli";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
    // The printer device's own messages in the language tavik-cli speaks.
    static QTranslator english;
    if (InterfaceLanguage() == Language::English && english.load(QStringLiteral(":/i18n/tavik_en.qm")))
        QCoreApplication::installTranslator(&english);
}

}  // namespace

void HandOverToPdfPrinter() {}

void PrintToPdf(const Table& t, const OutputOptions& o, bool simple, const std::string& path) {
    EnsureGuiApplication();
    // The writer fills the temporary by its name; nothing else is written to it meanwhile.
    AtomicFile file(path, Target(o));
    {
        QPdfWriter writer(QString::fromStdString(file.TemporaryPath()));
        writer.setTitle(QString::fromStdString(o.title));
        writer.setCreator(QStringLiteral("TAVIK"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(kPrintMarginMillimetres, kPrintMarginMillimetres, kPrintMarginMillimetres,
                                        kPrintMarginMillimetres),
                              QPageLayout::Millimeter);
        writer.setResolution(600);
        ui::PrinterTextDevice device(&writer, QString::fromStdString(o.fontName), o.fontSize);
        if (simple) PrintSimple(t, o, device);
        else PrintFull(t, o, device);
        if (!device.Finish()) throw std::runtime_error(Arg(Tr("%1 に書き込めません"), {path}));
    }
    ui::CheckPdfComplete(file.TemporaryPath(), path);
    file.Commit();
}

}  // namespace tavik::cli
