#pragma once

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace kelvaro {

// Where the windows' messages go. The program shows message boxes; a test
// hands in a sink that records the texts and answers the questions.
class MessageSink {
  public:
    virtual ~MessageSink() = default;

    // A message with an OK button; returns once it has been closed.
    virtual void show(QWidget* parent, const QString& text) = 0;
    // A question answered Yes or No; true for Yes.
    virtual bool ask(QWidget* parent, const QString& question) = 0;

    // The question as the printouts take it: UTF-8 in, Yes or No out.
    std::function<bool(const std::string&)> asker(QWidget* parent) {
        return [this, parent](const std::string& question) {
            return ask(parent, QString::fromStdString(question));
        };
    }

    // The name of a file to write, asked for with `title`; empty when the
    // user cancels. A sink that asks nothing answers empty.
    virtual QString askSaveFileName(QWidget* parent, const QString& title, const QString& filter) {
        static_cast<void>(parent);
        static_cast<void>(title);
        static_cast<void>(filter);
        return {};
    }

    void show(QWidget* parent, const std::string& utf8) {
        show(parent, QString::fromStdString(utf8));
    }
};

// The program's message boxes: the text alone, the title "Kelvaro", no icon.
class MessageBoxes final : public MessageSink {
  public:
    using MessageSink::show;
    void show(QWidget* parent, const QString& text) override;
    bool ask(QWidget* parent, const QString& question) override;
    QString askSaveFileName(QWidget* parent, const QString& title, const QString& filter) override;
};

} // namespace kelvaro
