// tavik: the desktop program.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

#include "ui/application.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    tavik::ui::SetUpApplication(app);

    tavik::ui::MainWindow w;
    w.start(QApplication::arguments().mid(1), QApplication::applicationFilePath());
    w.show();

    // Start-up measurement: leave as soon as the window (and a table named on the command
    // line) has been painted once.
    if (qEnvironmentVariableIntValue("TAVIK_EXIT_AFTER_SHOW") == 1) {
        QTimer::singleShot(0, &app, [&] {
            w.repaint();
            std::fprintf(stderr, "tavik: window shown after %lld ms\n", static_cast<long long>(sinceStart.elapsed()));
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
