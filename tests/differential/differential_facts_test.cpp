// What differential sets really cut, against python3's inverse of each
// kind's formula with the same constants (pi as 3.1415926).
#include "differential/differential_facts.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

TEST(DifferentialFacts, AgainstHandWorkedValues) {
    // Kind, model, module, helix, constant, part teeth, degrees, the ratio they give.
    const DifferentialContext worked{
        MachineKind::Default, "M", 3, helixAngleRadians(15, 0, 0), 10, 0, 15, 0.8627301359629121};
    const DifferentialContext partTeeth{
        MachineKind::PartTeeth, "Y7150", 2, helixAngleRadians(20, 30, 0), 10, 40, 20,
        0.1170840239232265};
    // The branch nearest the typed angle: an obtuse one, a negative one.
    DifferentialContext obtuse = worked, negative = partTeeth;
    obtuse.helix = helixAngleRadians(165, 0, 0);
    negative.helix = helixAngleRadians(-20, -30, 0);
    const struct {
        const DifferentialContext& context;
        GearSet set;
        double degrees, arcsec;
    } cases[] = {
        {worked, {31, 59, 40, 53}, 15.000101665023521, 0.36599408468331235},
        {obtuse, {31, 59, 40, 53}, 164.99990140544548, -0.3549403962149731},
        {partTeeth, {20, 20, 57, 60}, 20.662933007337532, 586.5588264151106},
        {negative, {20, 20, 57, 60}, -20.662933007337532, -586.5588264151106},
    };
    for (const auto& [c, s, degrees, arcsec] : cases) {
        const DifferentialFacts f = describeDifferentialSet(c, ((s.a * s.b) / s.c) / s.d);
        EXPECT_NEAR(*f.helixDegrees, degrees, 1e-12);
        EXPECT_NEAR(*f.helixDeviationArcsec, arcsec, 1e-9);
    }
    // At 20.5° the formula turned round misses by an ulp; the wanted ratio is the typed angle.
    const DifferentialFacts exact = describeDifferentialSet(partTeeth, partTeeth.ratio);
    EXPECT_DOUBLE_EQ(*exact.helixDegrees, 20.5);
    EXPECT_EQ(*exact.helixDeviationArcsec, 0);
    // sin β' = 9 / (10 / 3) > 1: no real angle, and nothing to export.
    EXPECT_FALSE(describeDifferentialSet(worked, 9).helixDegrees);
    // The lathe kind with the lathe's module 5: m' = r' × 5 / 0.78539815.
    const DifferentialFacts lathe = describeDifferentialSet(
        {MachineKind::Lathe, "C630", 2, 0, 10, 0, 5, 0.31415926}, ((22. * 35) / 43) / 57);
    EXPECT_NEAR(*lathe.module, 1.9999887110767072, 1e-14);
    EXPECT_NEAR(*lathe.moduleDeviation, -1.1288923292829267e-05, 1e-14);
}

} // namespace
} // namespace kelvaro
