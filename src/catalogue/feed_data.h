#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The feed train's facts in a machine data file, and the sense of the
// helix's extra rotation:
//
//   feed = 0.4608π × 30/54, 进给箱 I 档
//   feed pairs = 26/52, 32/46, 46/32, 52/26
//   helix extra = with
//
// "feed" may stand on several lines, one for each position of the feed
// gearbox: C_f and its note, the feed per table revolution being
// s = C_f × a1 / b1. "feed pairs" lists the pairs a1 / b1 the machine
// mounts from gears of their own (several lines add up; none: any two
// gears of the change-gear box). "helix extra" says whether, with hob and
// part of the same hand, the helix's extra rotation turns the table with
// its generating rotation or against it. None of them has a default.

namespace kelvaro {

enum class HelixExtra { Unknown, With, Against };

struct FeedLine {
    double constant = 0; // C_f, mm per table revolution for a1 / b1 = 1
    std::string note;    // as written, without blanks around it; may be empty
    std::string text;    // the whole value, as written
};

struct FeedPair {
    int a = 0, b = 0;
    friend bool operator==(const FeedPair&, const FeedPair&) = default;
};

struct FeedData {
    std::vector<FeedLine> lines;
    std::vector<FeedPair> pairs;        // none: any two gears of the box
    std::vector<std::string> pairTexts; // each "feed pairs" line's value, as written
    HelixExtra helixExtra = HelixExtra::Unknown;
};

// A product of decimals, fractions and π: "0.4608π × 30/54"; "*" or "x"
// for ×, "pi" for π. A fraction's parts may carry π ("2π/3"; "3/4π" is
// 3 / (4π)). None where the text is not one, or not positive.
std::optional<double> readFeedConstant(std::string_view text);

// The value of one "feed" line ("0.4608π × 30/54, 进给箱 I 档"); a problem
// in words where it is not one.
std::optional<FeedLine> readFeedLine(std::string_view value, std::string* problem = nullptr);

// Adds the pairs of one list ("26/52, 32/46") to `pairs`; the problem in
// words where it is not one (and `pairs` is then as it was).
std::string readFeedPairs(std::string_view list, std::vector<FeedPair>& pairs);

// "with" or "against", blanks around allowed.
std::optional<HelixExtra> readHelixExtra(std::string_view text);
const char* helixExtraWord(HelixExtra extra); // "with", "against", "" for Unknown

// The three keys' values into `feed`: the problem in words, empty where
// the value was read.
std::string addFeedLine(std::string_view value, FeedData& feed);
std::string addFeedPairs(std::string_view value, FeedData& feed);
std::string setHelixExtra(std::string_view value, FeedData& feed);

// The lines of the three keys as the machine data file writes them.
std::string feedDataText(const FeedData& feed);

} // namespace kelvaro
