// kelvaro: the change-gear calculator. It takes no arguments; the start
// window is all that happens at start.
#include "common/form_builder.h"
#include "printing/qt_print_backend.h"
#include "shell/form1_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Kelvaro"));
    // Only 结  束 and the start window's frame end the program.
    app.setQuitOnLastWindowClosed(false);
    kelvaro::installFontSubstitutes();

    // The program's one current printer lives here, shared by both windows.
    kelvaro::QtPrintBackend printBackend;
    // Leaving the event loop ends the program: the windows go with form1.
    kelvaro::Form1 form1(printBackend, [] { QApplication::quit(); });
    form1.show();
    return app.exec();
}
