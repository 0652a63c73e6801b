// kelvaro: the change-gear calculator. It takes no arguments; the start
// window is all that happens at start.
#include "catalogue/application_directory.h"
#include "catalogue/file_system.h"
#include "printing/qt_print_backend.h"
#include "shell/start_window.h"
#include "widgets/form_builder.h"
#include "widgets/message_sink.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Kelvaro"));
    // Only 结  束 and the start window's frame end the program.
    app.setQuitOnLastWindowClosed(false);
    kelvaro::installFontSubstitutes();
    kelvaro::installQtTranslations();

    // The program's one current printer, its files and its message boxes,
    // shared by every window.
    kelvaro::QtPrintBackend printBackend;
    kelvaro::MessageBoxes messages;
    const kelvaro::WindowContext context{printBackend, kelvaro::realFileSystem(), messages,
                                         kelvaro::applicationDirectory()};
    // Leaving the event loop ends the program: the windows go with form1.
    kelvaro::Form1 form1(context, [] { QApplication::quit(); });
    form1.show();
    return app.exec();
}
