#pragma once

#include "printing/print_backend.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvaro {

// A printing system in memory: it answers listPrinters from `printers`,
// writes every call to `calls` ("set B", "line …", "end"), keeps the ended
// documents line by line, and fails the first call named in `failAt`.
class RecordingPrintBackend final : public PrintBackend {
  public:
    struct Document {
        std::string printer;
        std::vector<std::string> lines; // split at the carriage returns
        friend bool operator==(const Document&, const Document&) = default;
    };
    struct Failure {
        std::string call; // "set", "line" or "end"
        PrintError error = PrintError::NotCompleted;
    };

    std::vector<std::string> printers;
    std::vector<std::string> calls;
    std::vector<Document> documents;
    Failure failAt;
    std::size_t linesPerPage = 60;

    std::vector<std::string> listPrinters() override { return printers; }

    PrintStatus setCurrentPrinter(const std::string& printer) override {
        if (fails("set " + printer)) return {failAt.error, printer, ""};
        current_ = printer;
        return {};
    }

    PrintStatus printLine(const std::string& text) override {
        if (fails("line " + text)) return {failAt.error, current_, ""};
        if (!open_) open_ = Document{current_, {}};
        for (std::string::size_type start = 0;;) {
            const auto cr = text.find('\r', start);
            open_->lines.push_back(text.substr(start, cr - start));
            if (cr == std::string::npos) break;
            start = cr + 1;
        }
        return {};
    }

    PrintStatus endDocument() override {
        if (fails("end")) return {failAt.error, current_, ""};
        if (open_) documents.push_back(std::move(*open_));
        open_.reset();
        return {};
    }

    std::size_t pageCount(std::size_t lines) override {
        return (lines + linesPerPage - 1) / linesPerPage;
    }

  private:
    // Records the call; the one to fail drops the open document.
    bool fails(const std::string& call) {
        calls.push_back(call);
        if (failAt.call.empty() || (call != failAt.call && !call.starts_with(failAt.call + " ")))
            return false;
        failAt.call.clear();
        open_.reset();
        return true;
    }

    std::string current_;
    std::optional<Document> open_;
};

} // namespace kelvaro
