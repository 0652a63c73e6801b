// The hobbing job against sets and angles worked out by hand, its choice
// against a search over every pair of sets, and the machine data file.
#include "catalogue/machine_data.h"
#include "job/hobbing_job.h"
#include "job/job_report.h"
#include "job/train_pair.h"
#include "support/failing_file_system.h"
#include "support/job_catalogue.h"

#include <gtest/gtest.h>
#include <random>

namespace kelvaro {
namespace {

using Set = std::array<double, 4>;
Set positions(const std::optional<GearSet>& s) {
    return s ? Set{s->a, s->b, s->c, s->d} : Set{};
}

JobRequest spur(std::string teeth, std::string starts, std::string box,
                std::string constant = "24") {
    JobRequest r;
    r.teeth = teeth;
    r.starts = starts;
    r.module = "3";
    r.degrees = r.minutes = r.seconds = "0";
    r.box = box;
    r.indexConstant = constant;
    return r;
}

TEST(HobbingJob, IndexSetIsExactOrTheReasonNamesTheFactor) {
    const JobCatalogue dir;
    const struct {
        const char* name;
        JobRequest request;
        Set set;
        std::string reason; // a part of it
    } rows[] = {
        // clang-format off
        // 24/40 = 3/5: 20 · 21 · 5 = 25 · 28 · 3.
        {"Z 40", spur("40", "1", "20-30"), {20, 21, 25, 28}, ""},
        // 48/45 = 16/15: 20 · 28 · 15 = 21 · 25 · 16.
        {"Z 45, two starts", spur("45", "2", "20-30"), {20, 28, 21, 25}, ""},
        // 23 prime within the box, on both sides: 20 · 24 wants a second 20.
        {"Z 23 prime", spur("23", "1", "20-30"), {20, 30, 23, 25}, ""},
        {"Z 23, twenty twice", spur("23", "1", "20-30,20"), {20, 24, 20, 23}, ""},
        {"Z 101 prime above", spur("101", "1", "20-30"), {}, "含有质因数 101，大于挂轮箱中最大的 30 齿"},
        {"no constant", spur("40", "1", "20-30", ""), {},
         "没有 Z/K = 40 的分齿常数：请在机床资料 " + dir.file("M.dat.txt") + " 中加一行"},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const HobbingJob job = dir.run(row.request);
        EXPECT_EQ(positions(job.indexSet), row.set);
        EXPECT_NE(job.indexReason.find(row.reason), std::string::npos) << job.indexReason;
    }
}

TEST(JobTrains, OneBoxMountedWithTheClearance) {
    // Index 3/5 has one set in this box, 20 21 25 28. The nearest differential
    // sets of 903/2350 take 21, then 20 and 28, then 25; 30 43 50 67 is
    // 1290/3350 - 903/2350 = 6450/7872500 off. A second 21 lets 21 43 47 50 in.
    const TrainProblem problem{Fraction{3, 5}, 903.0 / 2350, 1e-3, 10};
    const GearBox box = readBoxList("20,21,25,28,30,31,43,47,50,67").box;
    const TrainSolver solver(problem, {20, 21, 25, 28, 30, 31, 43, 47, 50, 67});
    const Trains once = solver.solve(box), twice = solver.solve(readBoxList("21", box).box);
    EXPECT_EQ(positions(once.index), (Set{20, 21, 25, 28}));
    EXPECT_EQ(positions(once.differential), (Set{30, 43, 50, 67}));
    EXPECT_NEAR(once.differential->error, 6450.0 / 7872500, 1e-15);
    EXPECT_EQ(positions(twice.differential), (Set{21, 43, 47, 50}));
    EXPECT_EQ(gearsOf({&*twice.index, &*twice.differential})[21], 2);

    const struct {
        Set given;
        double clearance;
        Set mounted; // zeros: none
    } orders[] = {
        {{20, 21, 25, 28}, 22, {20, 21, 25, 28}}, // margins 22 and 22
        {{20, 21, 25, 28}, 23, {}},               // every order leaves one below 23
        {{20, 60, 25, 40}, 10, {60, 20, 25, 40}}, // (20 + 25) - 62 < 0: a and b change over
        {{40, 20, 70, 25}, 10, {40, 20, 25, 70}}, // c and d change over
    };
    for (const auto& [given, clearance, mounted] : orders)
        EXPECT_EQ(positions(mountingOrder({given[0], given[1], given[2], given[3]}, clearance)),
                  mounted);
}

TEST(HobbingJob, SettingAngleCorrectionAndTheGearToAdd) {
    const JobCatalogue dir;
    JobRequest helical = spur("40", "1", "20-60");
    helical.degrees = "15";
    helical.hobLead = "2.5";
    const struct {
        const char* name;
        Hands hands;
        const char* degrees;
        double angle;
        std::string words;
    } angles[] = {
        {"same hand", Hands::Same, "15", 12.5, "刀架按工件的旋向扳转 12.5°"},
        {"opposite", Hands::Opposite, "15", 17.5, "刀架按工件的旋向扳转 17.5°"},
        {"same, lead above helix", Hands::Same, "1", -1.5, "刀架按工件旋向的反方向扳转 1.5°"},
        {"spur", Hands::Unknown, "0", 2.5, "刀架按滚刀旋向的反方向扳转"},
    };
    for (const auto& row : angles) {
        SCOPED_TRACE(row.name);
        JobRequest r = helical;
        r.hands = row.hands;
        r.degrees = row.degrees;
        const HobbingJob job = dir.run(r);
        EXPECT_EQ(job.settingAngle, row.angle);
        EXPECT_NE(job.settingWords.find(row.words), std::string::npos) << job.settingWords;
    }
    // atan(12 / 32000) = 3.7499998e-4 rad = 77.3493″, off 15° either way.
    for (const auto measured : {JobRequest::Measured::Larger, JobRequest::Measured::Smaller}) {
        JobRequest r = helical;
        r.measured = measured;
        r.deviation = "12";
        r.length = "32";
        const HobbingJob job = dir.run(r);
        const double sign = measured == JobRequest::Measured::Larger ? -1 : 1;
        EXPECT_NEAR(job.correction->deltaArcsec, 77.3493, 1e-4);
        EXPECT_NEAR(job.correction->targetDegrees, 15 + sign * 77.3493 / 3600, 1e-7);
        EXPECT_LT(std::abs(*job.correction->set->helixDeviationArcsec), 1);
        // The index train stays; the new set comes from the gears it leaves.
        EXPECT_TRUE(fitsBox(job.box, {&*job.indexSet, &job.correction->set->set}));
    }
    // 24/31 wants a gear of 31 teeth: 20 · 30 · 31 = 25 · 31 · 24.
    const HobbingJob added = dir.run(spur("31", "1", "20-30"));
    EXPECT_EQ(added.addOne->teeth, 31);
    EXPECT_EQ(positions(added.addOne->index), (Set{20, 30, 25, 31}));
    // 101, the prime above the machine's range, is tried too; 1009 is above every box.
    EXPECT_EQ(dir.run(spur("101", "1", "20-30")).addOne->teeth, 101);
    EXPECT_EQ(dir.run(spur("1009", "1", "20-30")).addOneReason,
              "在挂轮箱里加一个 20 到 60 齿的挂轮也不行");
    JobRequest small = spur("40", "1", "20,21,25,28,30");
    small.hobLead = "3";
    EXPECT_EQ(jobJson(dir.run(small)),
              "{\"machine\":\"M\",\"kind\":\"default\",\"box\":[[20,1],[21,1],[25,1],[28,1],"
              "[30,1]],\"clearance\":10,\"index\":{\"fraction\":[3,5],\"constant\":24,\"note\":"
              "null,\"set\":{\"a\":20,\"b\":21,\"c\":25,\"d\":28},\"reason\":null,"
              "\"method\":\"exact\",\"compensated\":null},\"feed\":null,\"differential\":null,"
              "\"face_width\":null,\"gears_used\":[[20,1],[21,1],[25,1],[28,1]],"
              "\"setting_angle_deg\":3,\"correction\":null,\"add_one_gear\":null}");
}

// Over small random boxes: no pair of an exact index set and a
// differential set, each in any order that mounts and together within the
// box, has a smaller |error| than the job's pair.
TEST(JobTrains, NoPairOfSetsIsNearerThanTheChosenOne) {
    std::mt19937 random(22);
    int found = 0;
    for (int round = 0; round < 60; ++round) {
        GearBox box;
        for (int teeth = 20; teeth <= 44; ++teeth)
            if (random() % 10 < 6) box[teeth] = random() % 5 == 0 ? 2 : 1;
        const std::int64_t z = 20 + random() % 60;
        const TrainProblem problem{
            Fraction{24 / std::gcd<std::int64_t>(24, z), z / std::gcd<std::int64_t>(24, z)},
            0.3 + (random() % 1000) / 800.0, 2e-3, static_cast<double>(random() % 3 * 5)};
        std::vector<GearSet> index, differential;
        for (GearSet s : mountedOrders(box, problem.clearance)) {
            if (s.a * s.b * problem.index->denominator == s.c * s.d * problem.index->numerator)
                index.push_back(s);
            s.error = ((s.a * s.b) / s.c) / s.d - *problem.differentialRatio;
            if (std::abs(s.error) <= problem.tolerance) differential.push_back(s);
        }
        std::optional<double> best;
        for (const GearSet& d : differential)
            for (const GearSet& i : index)
                if (fitsBox(box, {&d, &i}) && (!best || std::abs(d.error) < *best))
                    best = std::abs(d.error);
        std::vector<int> counts;
        for (const auto& [teeth, count] : box)
            counts.push_back(teeth);
        const Trains trains = TrainSolver(problem, counts).solve(box);
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(trains.status == TrainsStatus::Found, best.has_value());
        if (!best) continue;
        ++found;
        EXPECT_NEAR(std::abs(trains.differential->error), *best, 1e-12);
        EXPECT_TRUE(fitsBox(box, {&*trains.index, &*trains.differential}));
    }
    EXPECT_GT(found, 20); // most boxes can do the job
}

TEST(MachineData, ReadsWritesAndNamesTheBrokenLine) {
    const struct {
        const char* list;
        std::string box; // read back as a list, or the problem
    } boxes[] = {
        {"20-25, 25*2 ,-21", "20,22-24,25*3"},
        {"", ""},
        {"0", "“0”不是 1 到 1000 的齿数"},
        {"-37", "箱中没有 37 齿的挂轮可以去掉"},
        {"30-20", "“30-20”不是从小到大的齿数范围"},
        {"25*0", "“25*0”的个数应是 1 到 100 的整数"},
        {"25*99, 25", "25*100"},
        {"25*99, 25*2", "箱中 25 齿的挂轮多于 100 个"},
        {"25*100, 20-30", "箱中 25 齿的挂轮多于 100 个"},
    };
    for (const auto& [list, box] : boxes) {
        const BoxReading reading = readBoxList(list);
        EXPECT_EQ(reading.problem.empty() ? boxListText(reading.box) : reading.problem, box);
    }
    const std::string text = "# 机床 M 的滚齿调整资料\n"
                             "index = 24 for Z/K from 1 to 161, e/f = 36/36\n"
                             "index = 2.5 for Z/K from 162 to 400\n"
                             "box = 20-30\n"
                             "box = 25*2\n"
                             "clearance = 8\n";
    TemporaryCatalogue dir(TemporaryCatalogue::Files{{"M.dat.txt", "\xEF\xBB\xBF"
                                                                   "# x\r\n\r\nbox = 20-30\r\n"
                                                                   "index = 24 for Z/K to 1\r\n"}});
    EXPECT_EQ(loadMachineData(dir.path(), "M").result.message,
              "机床资料 " + dir.file("M.dat.txt") +
                  " 有错，第 4 行：分齿常数应写成“24 for Z/K from 1 to 160, 说明”（或“from "
                  "161”，161 以上都用它），常数为正数，范围从小到大");
    const MachineData data = readMachineData(text).data;
    FailingFileSystem fs;
    EXPECT_FALSE(saveMachineData(dir.path(), "M", data, fs).failed());
    EXPECT_EQ(fs.steps, "LEwWFCRU");
    EXPECT_EQ(dir.read("M.dat.txt"), text);
    const MachineDataFile back = loadMachineData(dir.path(), "M");
    EXPECT_EQ(indexRowFor(back.data.indexRows, 161.5), nullptr);
    EXPECT_EQ(back.data.box->at(25), 3);
    // A failed rename leaves the file as it was.
    FailingFileSystem failing(FailingFileSystem::atCall(7));
    EXPECT_EQ(saveMachineData(dir.path(), "M", {}, failing).message,
              "无法写入文件 " + dir.file("M.dat.txt") + "：读写错误");
    EXPECT_EQ(dir.read("M.dat.txt"), text);
}

} // namespace
} // namespace kelvaro
