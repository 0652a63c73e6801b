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
    };
    struct Failure {
        std::string call; // "set", "line" or "end"
        PrintError error = PrintError::NotCompleted;
    };

    std::vector<std::string> printers;
    std::string current;
    std::vector<std::string> calls;
    std::vector<Document> documents;
    Failure failAt;
    std::size_t linesPerPage = 60;

    std::vector<std::string> listPrinters() override { return printers; }

    PrintStatus setCurrentPrinter(const std::string& printer) override {
        calls.push_back("set " + printer);
        if (fails("set")) return {failAt.error, printer, ""};
        current = printer;
        return {};
    }

    PrintStatus printLine(const std::string& text) override {
        calls.push_back("line " + text);
        if (fails("line")) return discard();
        if (!open_) open_ = Document{current, {}};
        for (std::string::size_type start = 0;;) {
            const auto cr = text.find('\r', start);
            open_->lines.push_back(text.substr(start, cr - start));
            if (cr == std::string::npos) break;
            start = cr + 1;
        }
        return {};
    }

    PrintStatus endDocument() override {
        calls.push_back("end");
        if (fails("end")) return discard();
        if (open_) documents.push_back(std::move(*open_));
        open_.reset();
        return {};
    }

    std::size_t pageCount(std::size_t lines) override {
        return (lines + linesPerPage - 1) / linesPerPage;
    }

  private:
    bool fails(const std::string& call) {
        if (call != failAt.call) return false;
        failAt.call.clear();
        return true;
    }

    PrintStatus discard() {
        open_.reset();
        return {failAt.error, current, ""};
    }

    std::optional<Document> open_;
};

} // namespace kelvaro
