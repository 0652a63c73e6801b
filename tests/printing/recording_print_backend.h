#pragma once

#include "printing/print_backend.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvaro {

// A printing system in memory: it answers listPrinters from `printers`,
// writes every call to `calls` ("set B", "line …", "end"), keeps the ended
// documents line by line, and fails the call named in `failAt`.
class RecordingPrintBackend final : public PrintBackend {
  public:
    struct Document {
        std::string printer;
        std::vector<std::string> lines; // split at the carriage returns
    };

    struct Failure {
        std::string call; // "set", "line" or "end"
        int occurrence = 1;
        PrintError error = PrintError::NotCompleted;
    };

    std::vector<std::string> printers;
    std::string current;
    std::vector<std::string> calls;
    std::vector<Document> documents;
    Failure failAt{"", 0};

    std::vector<std::string> listPrinters() override { return printers; }

    PrintStatus setCurrentPrinter(const std::string& printer) override {
        calls.push_back("set " + printer);
        if (fails("set")) return failure(printer);
        current = printer;
        return {};
    }

    PrintStatus printLine(const std::string& text) override {
        calls.push_back("line " + text);
        if (fails("line")) {
            open_.reset();
            return failure(current);
        }
        if (!open_) open_ = Document{current, {}};
        std::string::size_type start = 0;
        for (;;) {
            const auto cr = text.find('\r', start);
            open_->lines.push_back(text.substr(start, cr - start));
            if (cr == std::string::npos) break;
            start = cr + 1;
        }
        return {};
    }

    PrintStatus endDocument() override {
        calls.push_back("end");
        if (fails("end")) {
            open_.reset();
            return failure(current);
        }
        if (open_) documents.push_back(std::move(*open_));
        open_.reset();
        return {};
    }

  private:
    bool fails(const std::string& call) {
        if (call != failAt.call) return false;
        return --failAt.occurrence == 0;
    }

    PrintStatus failure(const std::string& printer) const {
        PrintStatus status;
        status.error = failAt.error;
        status.printer = printer;
        return status;
    }

    std::optional<Document> open_;
};

} // namespace kelvaro
