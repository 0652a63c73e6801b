// Differential indexing and the feed train against values worked out by
// hand, the words that ask for what is missing, the faults that today's job
// tests let through, and the search against a brute force over small boxes.
//
// Machine M: default kind, C_d = 9. The hand values share these steps:
// 30° converted with π = 3.1415926 is π/6 − 8.93e-9 rad, so sin β =
// 0.5 − 7.73e-9 and the helix term (9 / 3) · sin β = 1.5 − 2.32e-8 (K = 1).
// The feed 5π × 30/60 = 2.5π mm/r makes the compensation term
// (9 / K) · π · Δ / (2.5π) = 3.6 Δ / K.
#include "catalogue/machine_data.h"
#include "job/differential_indexing.h"
#include "job/hobbing_job.h"
#include "job/job_report.h"
#include "job/train_pair.h"
#include "support/job_catalogue.h"

#include <gtest/gtest.h>
#include <map>
#include <numbers>
#include <numeric>
#include <random>

namespace kelvaro {
namespace {

using M = JobCatalogue;

JobRequest part(const char* teeth, const char* starts, const char* degrees, const char* box) {
    JobRequest r;
    r.teeth = teeth;
    r.starts = starts;
    r.module = "3";
    r.degrees = degrees;
    r.minutes = r.seconds = "0";
    r.tolerance = "0.000001";
    r.box = box;
    r.indexConstant = "24";
    r.feed = "7.85";
    r.feedConstants = "5π";
    r.feedPairs = "30/60";
    r.hands = Hands::Same;
    r.helixExtra = HelixExtra::With;
    return r;
}

JobRequest with(JobRequest r, void (*change)(JobRequest&)) {
    change(r);
    return r;
}

double ratioOf(const GearSet& s) {
    return (s.a * s.b) / (s.c * s.d);
}

constexpr const char* kSmall = "20*2,21,25*2,30,36,50,51,60";

TEST(DifferentialIndexing, Z0IndexSetAndUWorkedOutByHand) {
    const M dir;
    const struct {
        const char* name;
        JobRequest request;
        Fraction delta, z0, fraction;
        double u, set;
        std::optional<bool> sameSense;
    } rows[] = {
        // clang-format off
        // Z = 61 is a prime above the box. Δ = −1: Z0 = 60, 24/60 = 2/5 = 20·30 / (25·60);
        // u = 1.5 − 3.6 = −2.1 = −(50·21) / (20·25).
        {"helical, same hands, with", part("61", "1", "30", kSmall),
         {-1, 1}, {60, 1}, {2, 5}, -2.1000000232, 2.1, false},
        // σ = −1: u = −1.5 − 3.6 = −5.1 = −(50·51) / (20·25), the sense of a plain set-up.
        {"helical, opposite hands, with",
         with(part("61", "1", "30", kSmall), [](JobRequest& r) { r.hands = Hands::Opposite; }),
         {-1, 1}, {60, 1}, {2, 5}, -5.0999999768, 5.1, true},
        {"helical, same hands, against",
         with(part("61", "1", "30", kSmall), [](JobRequest& r) { r.helixExtra = HelixExtra::Against; }),
         {-1, 1}, {60, 1}, {2, 5}, -5.0999999768, 5.1, true},
        // Spur: u = −3.6 = −(50·36) / (20·25).
        {"spur", part("61", "1", "0", kSmall), {-1, 1}, {60, 1}, {2, 5}, -3.6, 3.6, std::nullopt},
        // Z = 202, K = 2: C·K/Z = 48/202 = 24/101. Δ = −1: Z0 = 201, 48/201 = 16/67;
        // u = (9/2) · (0.5/3) − 1.8 = 0.75 − 1.8 = −1.05 = −(21·30) / (24·25).
        {"Z 202, two starts", part("202", "2", "30", "20,21,24,25,30,40,50,67"),
         {-1, 1}, {201, 1}, {16, 67}, -1.0500000116, 1.05, false},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const HobbingJob job = dir.run(row.request);
        ASSERT_EQ(job.indexMethod, IndexMethod::Differential) << job.indexReason;
        const Compensation& c = *job.compensated;
        EXPECT_EQ(std::pair(c.delta.numerator, c.delta.denominator),
                  std::pair(row.delta.numerator, row.delta.denominator));
        EXPECT_EQ(std::pair(c.z0.numerator, c.z0.denominator),
                  std::pair(row.z0.numerator, row.z0.denominator));
        EXPECT_EQ(std::pair(c.fraction.numerator, c.fraction.denominator),
                  std::pair(row.fraction.numerator, row.fraction.denominator));
        const GearSet& i = *job.indexSet;
        EXPECT_EQ(i.a * i.b * double(row.fraction.denominator),
                  i.c * i.d * double(row.fraction.numerator));
        EXPECT_NEAR(job.signedRatio, row.u, 1e-9);
        EXPECT_NEAR(job.differentialRatio, std::abs(row.u), 1e-9);
        EXPECT_NEAR(ratioOf(job.differential->set), row.set, 1e-12);
        EXPECT_EQ(job.turns, row.u > 0 ? Turns::With : Turns::Against);
        EXPECT_EQ(job.sameSenseAsHelical, row.sameSense);
        // σ sin β′ = m K u′ / C_d − π m Δ / s = 3 · (−2.1) / 9 + 3 / 2.5 = 0.5, and
        // likewise for the others: β′ is the exact angle, 8.93e-9 rad = 0.00184″ above
        // the typed one (spur: 0).
        EXPECT_NEAR(*job.differential->helixDeviationArcsec,
                    row.request.degrees == std::string("0") ? 0 : 0.00184, 2e-5);
        EXPECT_TRUE(fitsBox(job.box, {&*job.indexSet, &job.differential->set}));
        EXPECT_EQ(job.feed->a, 30);
        EXPECT_FALSE(job.feed->fromBox);
        EXPECT_NEAR(job.feed->feed, 2.5 * std::numbers::pi, 1e-12);
    }
    const HobbingJob helical = dir.run(rows[0].request);
    EXPECT_EQ(helical.compensationWords[0], "差动分齿：分齿挂轮按 Z0 = Z + Δ = 61 − 1 = 60 调整，"
                                            "i = C × K / Z0 = 2/5");
    EXPECT_EQ(helical.addOneWords, "或者在挂轮箱里加一个 61 齿的挂轮，用精确分齿");
    const std::string json = jobJson(helical);
    for (const char* part :
         {"\"method\":\"differential\",\"compensated\":{\"z0\":[60,1],\"delta\":[-1,1],"
          "\"fraction\":[2,5]}},\"feed\":{\"wanted\":7.85,",
          ",\"note\":null,\"set\":{\"a\":30,\"b\":60},\"feed\":7.85398163397448",
          "\"turns\":\"against\",\"set\":{\"a\":50,\"b\":21,\"c\":20,\"d\":25,"})
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
}

TEST(DifferentialIndexing, FeedPairFromTheBoxNeverOverdrawsIt) {
    const M dir;
    JobRequest r = part("61", "1", "0", "20*2,21,25*2,30,36,50,51,60,40,80");
    r.feedPairs.clear();
    const HobbingJob job = dir.run(r);
    // Δ = 1/5: Z0 = 306/5, 24 · 5 / 306 = 20/51 = 20·25 / (25·51). Feed 36/80:
    // s = 5π · 0.45 = 2.25π, 10 % below 2.5π at most; u = 9π · (1/5) / (2.25π) = 0.8
    // = 60·20 / (30·50), exactly.
    ASSERT_EQ(job.indexMethod, IndexMethod::Differential) << job.indexReason;
    EXPECT_EQ(job.compensated->z0.numerator, 306);
    EXPECT_EQ(job.compensated->fraction.denominator, 51);
    EXPECT_EQ(std::pair(job.feed->a, job.feed->b), std::pair(36, 80));
    EXPECT_TRUE(job.feed->fromBox);
    EXPECT_NEAR(job.signedRatio, 0.8, 1e-12);
    EXPECT_EQ(job.differential->set.error, 0);
    int gears = 0;
    for (const auto& [teeth, count] : job.gearsUsed) {
        gears += count;
        EXPECT_LE(count, job.box.at(teeth)) << teeth;
    }
    EXPECT_EQ(gears, 10);
    // Exactly indexed, the nearest feed beside the two trains: a1/b1 = 1/2 gives 2.5π.
    r.teeth = "40";
    r.degrees = "30";
    r.box = "20-60";
    const HobbingJob exact = dir.run(r);
    ASSERT_TRUE(exact.indexMethod == IndexMethod::Exact && exact.differential && exact.feed);
    EXPECT_EQ(exact.feed->b, 2 * exact.feed->a);
    EXPECT_TRUE(fitsBox(exact.box, {&*exact.indexSet, &exact.differential->set}));
    EXPECT_EQ(exact.gearsUsed.size(), 10u); // twenty to sixty: ten different counts
}

TEST(DifferentialIndexing, AsksForWhatItLacks) {
    const M dir;
    const std::string data = "请在机床资料 " + dir.file("M.dat.txt") + " 中加一行";
    const struct {
        const char* name;
        void (*change)(JobRequest&);
        std::string words;
    } rows[] = {
        // clang-format off
        {"no feed lines", [](JobRequest& r) { r.feedConstants.clear(); },
         "差动分齿要用进给挂轮：" + data + "“feed = 0.4608π × 30/54, 进给箱 I 档”"},
        {"no helix extra", [](JobRequest& r) { r.helixExtra = HelixExtra::Unknown; },
         "斜齿轮差动分齿要知道螺旋附加运动的方向：" + data +
             "“helix extra = with”或“helix extra = against”"},
        {"no wanted feed", [](JobRequest& r) { r.feed.clear(); }, "差动分齿要按进给量计算：请输入进给量 s（mm/r）"},
        {"no hands", [](JobRequest& r) { r.hands = Hands::Unknown; }, "斜齿轮差动分齿要知道滚刀与工件的旋向相同还是相反"},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        JobRequest r = part("61", "1", "30", kSmall);
        row.change(r);
        const HobbingJob job = dir.run(r);
        EXPECT_EQ(job.indexMethod, IndexMethod::None);
        EXPECT_NE(job.indexReason.find("配不出精确的分齿挂轮；" + row.words), std::string::npos)
            << job.indexReason;
    }
    JobRequest exact = part("40", "1", "30", "20-60");
    exact.feedConstants.clear();
    EXPECT_NE(dir.run(exact).feedReason.find("没有进给常数：" + data), std::string::npos);
}

TEST(DifferentialIndexing, CorrectionKeepsTheIndexTrainAndTheFeed) {
    const M dir;
    JobRequest r = part("61", "1", "30", "20-60,20-60");
    r.tolerance = "0.0001";
    const HobbingJob plain = dir.run(r);
    r.measured = JobRequest::Measured::Larger;
    r.deviation = "12";
    r.length = "32";
    const HobbingJob job = dir.run(r);
    ASSERT_EQ(job.indexMethod, IndexMethod::Differential);
    EXPECT_EQ(job.indexSet, plain.indexSet);
    EXPECT_EQ(job.compensated->delta.numerator, plain.compensated->delta.numerator);
    // atan(12 / 32000) = 77.3493″ below 30°.
    EXPECT_NEAR(job.correction->targetDegrees, 30 - 77.3493 / 3600, 1e-7);
    ASSERT_TRUE(job.correction->set);
    EXPECT_TRUE(fitsBox(job.box, {&*job.indexSet, &job.correction->set->set}));
    // From the target, not from 30°, 77″ away (an error of 1e-4 moves β′ by 7″ at most).
    EXPECT_LT(std::abs(*job.correction->set->helixDeviationArcsec), 7);
    // A target outside 0° to 90°: f or L in the wrong unit.
    r.deviation = "12000000";
    EXPECT_NE(dir.run(r).correction->reason.find("可能写错了单位"), std::string::npos);
}

// Three faults that today's job tests let through, each put in by hand.
TEST(HobbingJob, FaultsTheOlderTestsMissed) {
    const M dir;
    // Z 40: 24/40 = 3/5 = 20·21 / (25·28). 8°37′: 3 · sin β = 0.4494689; the
    // gears left make 30·45 / (50·60) = 0.45 = 3 · sin β′, β′ = asin 0.15 =
    // 8.626927°, 36.936″ above; over 20 mm f = 20000 · tan 36.936″ = 3.581 µm.
    JobRequest r = part("40", "1", "8", "20,21,25,28,30,45,50,60");
    r.minutes = "37";
    r.tolerance = "0.001";
    r.faceWidth = "20";
    const HobbingJob job = dir.run(r);
    EXPECT_EQ(job.indexMethod, IndexMethod::Exact);
    EXPECT_NEAR(job.differentialRatio, 0.4494689, 1e-7);
    EXPECT_EQ(ratioOf(job.differential->set), 0.45);
    EXPECT_NEAR(*job.differential->helixDeviationArcsec, 36.936, 1e-3);
    EXPECT_NEAR(*job.differential->helixDeviationMicrons, 3.581, 1e-3);
    // Z 80, K 2: the same index fraction, half the ratio, 0.2247344: no set near it.
    const HobbingJob twoStarts =
        dir.run(with(r, [](JobRequest& k) { k.teeth = "80", k.starts = "2"; }));
    EXPECT_NEAR(twoStarts.differentialRatio, 0.2247344, 1e-7);
    EXPECT_FALSE(twoStarts.differential);
    // 99.3 µm over 10 mm: Δβ = 0.56893°, 3 · sin(8.04774°) = 0.42 = 21·30 / (25·60),
    // but 21 and 25 turn the index train: no corrected set.
    r.measured = JobRequest::Measured::Larger;
    r.deviation = "99.3";
    r.length = "10";
    const HobbingJob corrected = dir.run(r);
    EXPECT_FALSE(corrected.correction->set);
    EXPECT_EQ(corrected.correction->reason, "允差 0.001 内没有修正后的差动挂轮");
}

// Words that name what the user can change, and no number that is not so.
TEST(HobbingJob, MessagesNameWhatToChange) {
    M dir;
    dir.write("M.dat.txt",
              "index = 24 for Z/K from 1 to 100\nindex = 48 for Z/K from 162 to 999\n");
    const std::string data = "机床资料 " + dir.file("M.dat.txt");
    const struct {
        const char* name;
        JobRequest request;
        std::string words; // the message, or a part of the index reason
    } rows[] = {
        {"Z/K in a gap",
         with(part("140", "1", "15", "20-60"), [](JobRequest& r) { r.indexConstant.clear(); }),
         "没有 Z/K = 140 的分齿常数：它落在" + data +
             " 的第 1 条 index（“24 for Z/K from 1 to 100”）和第 2 条 index（“48 for Z/K from "
             "162 to 999”）之间的空档（100 到 162）"},
        // 2^30 + 3 is prime: named, not capped at 2^30.
        {"a prime above 2^30",
         with(part("1", "1", "15", "20-60"),
              [](JobRequest& r) { r.indexConstant = "1073741.827"; }),
         "含有质因数 1073741827，大于挂轮箱中最大的 60 齿"},
        {"1009 · 1013, not named",
         with(part("1", "1", "15", "20-60"), [](JobRequest& r) { r.indexConstant = "1022117"; }),
         "C × K / Z = 1022117/1 含有大于 1000 的质因数，配不出精确的分齿挂轮"},
        {"clearance above any margin",
         with(part("40", "1", "15", "20-60"), [](JobRequest& r) { r.clearance = "59"; }),
         "装配间隙 59 齿太大：挂轮箱中最大的是 60 齿，任何挂轮都留不出多于 58 齿的间隙"},
        {"shown as 90°", part("40", "1", "89", "20-60"), "螺旋角应在 0° 到 90° 之间（直齿轮为 0）"},
        {"index constant",
         with(part("40", "1", "15", "20-60"), [](JobRequest& r) { r.indexConstant = "-24"; }),
         "分齿常数应是正的小数，整数部分至多 9 位、小数至多 6 位，而不是“-24”"},
    };
    for (auto row : rows) {
        SCOPED_TRACE(row.name);
        if (row.words.starts_with("螺旋角"))
            row.request.minutes = "59", row.request.seconds = "59.9999";
        const HobbingJob job = dir.run(row.request);
        const std::string& said = job.message.empty() ? job.indexReason : job.message;
        EXPECT_NE(said.find(row.words), std::string::npos) << said;
    }
    // 10 s · (500 / 1000)³ = 1.25 s, said as 2; with a feed four times that.
    JobRequest large = part("40", "1", "15", "1-500");
    EXPECT_EQ(largeBoxNotice(large, dir.path()),
              "挂轮箱有 500 种齿数，很大：滚齿调整可能要 5 秒左右");
    large.feed.clear();
    EXPECT_EQ(largeBoxNotice(large, dir.path()),
              "挂轮箱有 500 种齿数，很大：滚齿调整可能要 2 秒左右");
    EXPECT_EQ(largeBoxNotice(part("40", "1", "15", "1-400"), dir.path()), "");
}

// Over small random boxes: no combination of a feed, a Δ, an exact index set
// and a differential set, each mounted and all within the box, is nearer
// than the one chosen.
TEST(DifferentialIndexing, NoCombinationIsNearerThanTheChosenOne) {
    std::mt19937 random(28);
    int found = 0;
    for (int round = 0; round < 300; ++round) {
        GearBox box;
        while (box.size() < 7)
            box[20 + static_cast<int>(random() % 25)] = random() % 4 == 0 ? 2 : 1;
        IndexingProblem p;
        p.teeth = 47 + static_cast<int>(random() % 40);
        p.starts = 1 + static_cast<int>(random() % 2);
        p.constant = {24, 1};
        p.helixTerm = random() % 3 == 0 ? 0 : (static_cast<int>(random() % 200) - 100) / 80.0;
        p.feedTerm = 9 * std::numbers::pi / p.starts;
        p.tolerance = 0.02;
        p.clearance = static_cast<double>(random() % 3 * 4);
        const bool fromBox = random() % 2 == 0;
        for (int f = 0; f < 2; ++f) {
            FeedCandidate c{(1.5 + f) * std::numbers::pi * (1 + (random() % 100) / 500.0), 0, {}};
            c.fromBox = fromBox;
            c.pairs = fromBox ? std::vector<FeedPair>{{box.begin()->first, box.rbegin()->first}}
                              : std::vector<FeedPair>{{1, 1}};
            p.feeds.push_back(c);
        }
        const std::vector<GearSet> sets = mountedOrders(box, p.clearance);
        std::map<std::pair<std::int64_t, std::int64_t>, std::vector<GearSet>> exact;
        for (const GearSet& s : sets) {
            const auto top = std::int64_t(s.a * s.b), bottom = std::int64_t(s.c * s.d);
            const std::int64_t g = std::gcd(top, bottom);
            exact[{top / g, bottom / g}].push_back(s);
        }
        std::optional<double> best;
        for (int q = 1; q <= 50; ++q)
            for (int n = -q; n <= q; ++n) {
                if (n == 0 || std::gcd(n, q) != 1) continue;
                const std::int64_t top = 24 * p.starts * q, bottom = p.teeth * q + n,
                                   g = std::gcd(top, bottom);
                const auto index = exact.find({top / g, bottom / g});
                if (index == exact.end()) continue;
                for (std::size_t f = 0; f < p.feeds.size(); ++f) {
                    const double u = p.helixTerm + p.feedTerm * n / q / p.feeds[f].feed;
                    for (const GearSet& i : index->second)
                        for (const GearSet& d : sets) {
                            const double e = std::abs(((d.a * d.b) / d.c) / d.d - std::abs(u));
                            if (!(e <= p.tolerance) || (best && e >= *best)) continue;
                            GearBox used = gearsOf({&i, &d});
                            if (fromBox)
                                ++used[p.feeds[f].pairs[0].a], ++used[p.feeds[f].pairs[0].b];
                            bool fits = true;
                            for (const auto& [teeth, count] : used)
                                fits = fits && box.count(teeth) && count <= box.at(teeth);
                            if (fits) best = e;
                        }
                }
            }
        const IndexingResult result = searchDifferentialIndexing(p, box);
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(result.choice.has_value(), best.has_value());
        if (!best) continue;
        ++found;
        EXPECT_NEAR(std::abs(result.choice->differential.error), *best, 1e-12);
        if (found > 1) continue; // the first box with a choice: cancelled, and bounded
        SearchControl stop, small;
        stop.cancelled = true;
        small.setLimit = 0;
        EXPECT_EQ(searchDifferentialIndexing(p, box, &stop).status, IndexingStatus::Cancelled);
        EXPECT_EQ(searchDifferentialIndexing(p, box, &small).status, IndexingStatus::TooManySets);
    }
    EXPECT_GT(found, 40);
}

TEST(FeedData, ReadsConstantsPairsAndTheHelixExtra) {
    const std::pair<const char*, double> constants[] = {
        // 0: refused
        // clang-format off
        {"0.4608π × 30/54", 0.4608 * std::numbers::pi * 30 / 54}, // 0.80424772
        {"0.4608pi*30/54", 0.4608 * std::numbers::pi * 30 / 54}, {" 2 x 1.5 ", 3},
        {"π", std::numbers::pi}, {"3/4π", 3 / (4 * std::numbers::pi)}, {"2π/3", 2 * std::numbers::pi / 3},
        {"0", 0}, {"-2", 0}, {"1/0", 0}, {"2 ×", 0}, {"two", 0},
        // clang-format on
    };
    for (const auto& [text, value] : constants)
        EXPECT_DOUBLE_EQ(readFeedConstant(text).value_or(0), value) << text;
    const std::string text = "# 机床 M 的滚齿调整资料\n"
                             "feed = 0.4608π × 30/54, 进给箱 I 档\n"
                             "feed = 0.9216\n"
                             "feed pairs = 26/52, 32/46\n"
                             "feed pairs = 46/32\n"
                             "helix extra = against\n";
    const MachineDataReading read = readMachineData(text);
    ASSERT_EQ(read.problem, "");
    EXPECT_EQ(read.data.feed.lines[0].note, "进给箱 I 档");
    EXPECT_EQ(read.data.feed.pairs, (std::vector<FeedPair>{{26, 52}, {32, 46}, {46, 32}}));
    EXPECT_EQ(read.data.feed.helixExtra, HelixExtra::Against);
    EXPECT_EQ(machineDataText("M", read.data), text);
    const std::pair<const char*, const char*> broken[] = {
        // clang-format off
        {"feed = 0.5 mm", "第 1 行：进给常数应写成“0.4608π × 30/54, 说明”：正的小数、分数和 π 相乘"},
        {"feed pairs = 26/52, 32", "第 1 行：进给挂轮“32”应写成 a1/b1，两个 1 到 1000 的齿数"},
        {"helix extra = up", "第 1 行：helix extra 应是 with 或 against，而不是“up”"},
        {"helix extra = with\nhelix extra = with", "第 2 行：helix extra 只能写一行"},
        // clang-format on
    };
    for (const auto& [text, problem] : broken)
        EXPECT_EQ(readMachineData(text).problem, problem);
}

} // namespace
} // namespace kelvaro
