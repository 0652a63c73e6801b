#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Long outputs (a list of a million sets as CSV, JSON or a printout) go to
// a sink in pieces, so that the whole text never has to be held at once: a
// large list then needs no more memory in one format than in another.

namespace kelvaro {

using TextSink = std::function<void(std::string_view piece)>;

// Text is appended to `text` and handed on in pieces of about 64 KB; the
// last piece goes with finish.
class ChunkedText {
  public:
    explicit ChunkedText(const TextSink& sink) : sink_(sink) { text.reserve(kChunk + 4096); }

    std::string text;

    // Hands the text on once it has reached the size of a piece.
    void next() {
        if (text.size() >= kChunk) finish();
    }
    void finish() {
        if (!text.empty()) sink_(text);
        text.clear();
    }

  private:
    static constexpr std::size_t kChunk = std::size_t{1} << 16;
    const TextSink& sink_;
};

} // namespace kelvaro
