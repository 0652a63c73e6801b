// kelvaro: the change-gear calculator. It takes no arguments; the start
// window is all that happens at start.
#include "gears/calculation_outcome.h"
#include "platform/application_directory.h"
#include "platform/file_system.h"
#include "printing/qt_print_backend.h"
#include "shell/start_window.h"
#include "widgets/form_builder.h"
#include "widgets/message_sink.h"

#include <QApplication>
#include <new>

namespace {

// A window's handler whose memory runs out (filling a list of a million
// sets, printing or exporting it) ends with a message instead of ending the
// program. The search itself says so through its outcome; every catalogue
// and export file is written in one step, so nothing half-written stays.
class KelvaroApplication final : public QApplication {
  public:
    KelvaroApplication(int& argc, char** argv, kelvaro::MessageSink& messages)
        : QApplication(argc, argv), messages_(messages) {}

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::bad_alloc&) {
            messages_.show(activeWindow(), QString::fromUtf8(kelvaro::kOutOfMemoryMessage));
            return true;
        }
    }

  private:
    kelvaro::MessageSink& messages_;
};

} // namespace

int main(int argc, char* argv[]) {
    kelvaro::MessageBoxes messages;
    KelvaroApplication app(argc, argv, messages);
    app.setApplicationName(QStringLiteral("Kelvaro"));
    // Only 结  束 and the start window's frame end the program.
    app.setQuitOnLastWindowClosed(false);
    kelvaro::installFontSubstitutes();
    kelvaro::installQtTranslations();

    // The program's one current printer, its files and its message boxes,
    // shared by every window.
    kelvaro::QtPrintBackend printBackend;
    const kelvaro::WindowContext context{printBackend, kelvaro::realFileSystem(), messages,
                                         kelvaro::applicationDirectory()};
    // Leaving the event loop ends the program: the windows go with form1.
    kelvaro::Form1 form1(context, [] { QApplication::quit(); });
    form1.show();
    return app.exec();
}
