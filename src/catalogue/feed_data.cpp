#include "catalogue/feed_data.h"

#include "catalogue/list_items.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace kelvaro {

namespace {

constexpr std::string_view kTimes = "\xC3\x97";  // ×
constexpr std::string_view kPiSign = "\xCF\x80"; // π

std::optional<double> decimal(std::string_view text) {
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() ||
        text.front() == '-' || !std::isfinite(value))
        return {};
    return value;
}

std::optional<int> toothCount(std::string_view text) {
    text = trimmed(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || value < 1 ||
        value > 1000)
        return {};
    return value;
}

// A decimal, π, or a decimal followed by π.
std::optional<double> piDecimal(std::string_view text) {
    text = trimmed(text);
    for (const std::string_view pi : {kPiSign, std::string_view("pi")})
        if (text.ends_with(pi)) {
            text = trimmed(text.substr(0, text.size() - pi.size()));
            if (text.empty()) return std::numbers::pi;
            const auto value = decimal(text);
            return value ? std::optional(*value * std::numbers::pi) : std::nullopt;
        }
    return decimal(text);
}

// One factor: A or A / B, each a decimal, π or a decimal followed by π.
std::optional<double> factor(std::string_view text) {
    const auto slash = text.find('/');
    const auto top = piDecimal(text.substr(0, slash));
    if (!top || slash == std::string_view::npos) return top;
    const auto bottom = piDecimal(text.substr(slash + 1));
    if (!bottom || *bottom == 0) return std::nullopt;
    return *top / *bottom;
}

} // namespace

std::optional<double> readFeedConstant(std::string_view text) {
    text = trimmed(text);
    if (text.empty()) return {};
    double product = 1;
    while (true) {
        std::size_t cut = std::string_view::npos, width = 0;
        for (const std::string_view sign : {kTimes, std::string_view("*"), std::string_view("x")})
            if (const auto at = text.find(sign); at < cut) {
                cut = at;
                width = sign.size();
            }
        const auto value = factor(text.substr(0, cut));
        if (!value) return {};
        product *= *value;
        if (cut == std::string_view::npos) break;
        text.remove_prefix(cut + width);
    }
    if (!(product > 0) || !std::isfinite(product)) return {};
    return product;
}

std::optional<FeedLine> readFeedLine(std::string_view value, std::string* problem) {
    value = trimmed(value);
    const auto comma = value.find(',');
    FeedLine line;
    line.text = value;
    if (comma != std::string_view::npos) line.note = trimmed(value.substr(comma + 1));
    const auto constant = readFeedConstant(value.substr(0, comma));
    if (!constant) {
        if (problem) *problem = "进给常数应写成“0.4608π × 30/54, 说明”：正的小数、分数和 π 相乘";
        return std::nullopt;
    }
    line.constant = *constant;
    return line;
}

std::string readFeedPairs(std::string_view list, std::vector<FeedPair>& pairs) {
    std::vector<FeedPair> read;
    for (const std::string_view item : listItems(list)) {
        const auto slash = item.find('/');
        const auto a = toothCount(item.substr(0, slash));
        const auto b =
            slash == std::string_view::npos ? std::nullopt : toothCount(item.substr(slash + 1));
        if (!a || !b)
            return "进给挂轮“" + std::string(item) + "”应写成 a1/b1，两个 1 到 1000 的齿数";
        read.push_back({*a, *b});
    }
    if (read.empty()) return "进给挂轮应写成“26/52, 32/46”";
    pairs.insert(pairs.end(), read.begin(), read.end());
    return {};
}

std::optional<HelixExtra> readHelixExtra(std::string_view text) {
    text = trimmed(text);
    if (text == "with") return HelixExtra::With;
    if (text == "against") return HelixExtra::Against;
    return std::nullopt;
}

const char* helixExtraWord(HelixExtra extra) {
    return extra == HelixExtra::With ? "with" : extra == HelixExtra::Against ? "against" : "";
}

std::string addFeedLine(std::string_view value, FeedData& feed) {
    std::string problem;
    if (auto line = readFeedLine(value, &problem)) feed.lines.push_back(std::move(*line));
    return problem;
}

std::string addFeedPairs(std::string_view value, FeedData& feed) {
    std::string problem = readFeedPairs(value, feed.pairs);
    if (problem.empty()) feed.pairTexts.emplace_back(trimmed(value));
    return problem;
}

std::string setHelixExtra(std::string_view value, FeedData& feed) {
    const auto extra = readHelixExtra(value);
    if (feed.helixExtra != HelixExtra::Unknown) return "helix extra 只能写一行";
    if (!extra) return "helix extra 应是 with 或 against，而不是“" + std::string(value) + "”";
    feed.helixExtra = *extra;
    return {};
}

std::string feedDataText(const FeedData& feed) {
    std::string text;
    for (const FeedLine& line : feed.lines)
        text += "feed = " + line.text + "\n";
    for (const std::string& pairs : feed.pairTexts)
        text += "feed pairs = " + pairs + "\n";
    if (feed.helixExtra != HelixExtra::Unknown)
        text += std::string("helix extra = ") + helixExtraWord(feed.helixExtra) + "\n";
    return text;
}

} // namespace kelvaro
