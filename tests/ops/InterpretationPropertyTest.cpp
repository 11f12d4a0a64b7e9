// The interpretation over generated soundings: a quantity has no value
// exactly where an input it needs is missing or not positive, the zones
// follow Ic, Qtn and Ic agree with the n they were computed with, and Ic
// falls where qt rises at the same fs.
#include <gtest/gtest.h>

#include <random>

#include "model/Units.h"
#include "ops/Interpretation.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

// A sounding of tip, sleeve and (mostly) u2 channels in random units, with
// some readings without data and some not positive.
std::unique_ptr<Sounding> generated(std::mt19937& rng, bool withPore) {
    const ChannelTypeTable& tables = test::shippedTables();
    auto s = std::make_unique<Sounding>();
    s->channelCount = withPore ? 3 : 2;
    for (int c = 1; c <= s->channelCount; ++c) {
        s->channelType[c] = static_cast<int16_t>(c);
        s->channelUnitIndex[c] = static_cast<int16_t>(std::uniform_int_distribution(1, 6)(rng));
        s->channelUnitFactor[c] = tables.factor(c, s->channelUnitIndex[c]);
    }
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    s->readingCount = std::uniform_int_distribution(20, 200)(rng);
    s->depthIncrement = 0.05f;
    for (int r = 1; r <= s->readingCount; ++r) {
        s->depth[r] = static_cast<float>(0.05 * r);
        const double qc = std::pow(10.0, -1.3 + 2.9 * unit(rng));  // MPa
        const double fs = qc * std::pow(10.0, -0.7 + 1.7 * unit(rng)) / 100.0;
        const double u2 = -0.05 + 1.0 * unit(rng);
        const double values[] = {qc, unit(rng) < 0.05 ? -fs * unit(rng) : fs, u2};
        for (int c = 1; c <= s->channelCount; ++c) {
            // MPa -> kPa, the base unit, -> the channel's unit.
            float v = static_cast<float>(values[c - 1] * 1000.0 * s->channelUnitFactor[c]);
            if (unit(rng) < 0.05) v = kNoDataValue;
            s->value(c, r) = v;
        }
    }
    if (unit(rng) < 0.7) s->waterTableDepth = std::to_string(3.0 * unit(rng));
    return s;
}

double mpa(const Sounding& s, int c, int r) {
    const float v = s.value(c, r);
    return v == kNoDataValue ? std::nan("") : v / s.channelUnitFactor[c] / 1000.0;
}

int expectedZone(double ic) {
    const double bounds[] = {1.31, 2.05, 2.60, 2.95, 3.60};
    int zone = 7;
    for (double b : bounds)
        if (ic >= b) --zone;
    return zone;
}

InterpretationSettings randomSettings(std::mt19937& rng) {
    InterpretationSettings settings;
    settings.areaRatio = std::uniform_real_distribution(0.5, 1.0)(rng);
    if (rng() % 3 == 0) settings.unitWeight = std::uniform_real_distribution(14.0, 22.0)(rng);
    return settings;
}

TEST(InterpretationProperty, NoValueExactlyWhereAnInputIsMissingOrNotPositive) {
    std::mt19937 rng(25);
    for (int round = 0; round < 40; ++round) {
        const bool withPore = round % 4 != 0;
        const auto s = generated(rng, withPore);
        const InterpretationSettings settings = randomSettings(rng);
        const Interpretation in = interpret(*s, test::shippedTables(), settings);
        for (int r = 1; r <= s->readingCount; ++r) {
            const auto i = static_cast<std::size_t>(r);
            const double qc = mpa(*s, 1, r), fs = mpa(*s, 2, r), u2 = withPore ? mpa(*s, 3, r) : 0.0;
            const std::string where = "round " + std::to_string(round) + " reading " + std::to_string(r);
            ASSERT_EQ(hasValue(in.qt[i]), hasValue(qc) && hasValue(u2)) << where;
            if (hasValue(in.qt[i])) {
                EXPECT_NEAR(in.qt[i], qc + u2 * (1 - settings.areaRatio), 1e-6 * qc) << where;
            }
            EXPECT_EQ(hasValue(in.rf[i]), in.qt[i] > 0 && fs > 0) << where;
            EXPECT_TRUE(hasValue(in.unitWeight[i]) && hasValue(in.sigmaV0[i]) && hasValue(in.u0[i])) << where;
            const bool qnUp = in.qn[i] > 0, effUp = in.sigmaV0Eff[i] > 0, fsUp = fs > 0;
            EXPECT_EQ(hasValue(in.bq[i]), withPore && qnUp) << where;
            EXPECT_EQ(hasValue(in.fr[i]), qnUp && fsUp) << where;
            EXPECT_EQ(hasValue(in.qt1[i]), qnUp && effUp) << where;
            const bool normalised = qnUp && effUp && fsUp;
            EXPECT_EQ(hasValue(in.qtn[i]), normalised) << where;
            EXPECT_EQ(hasValue(in.ic[i]), normalised) << where;
            EXPECT_EQ(hasValue(in.n[i]), normalised) << where;
            if (!normalised) {
                EXPECT_EQ(in.zone[i], 0) << where;
                continue;
            }
            // Zones follow Ic; Qtn and Ic follow the n that was settled on,
            // and n is settled to within the iteration's step.
            EXPECT_EQ(in.zone[i], expectedZone(in.ic[i])) << where << " Ic " << in.ic[i];
            const double eff = in.sigmaV0Eff[i], qn = in.qn[i] * 1000.0;
            EXPECT_NEAR(in.qtn[i], qn / 100.0 * std::pow(100.0 / eff, in.n[i]), 1e-9 * in.qtn[i]) << where;
            EXPECT_NEAR(in.ic[i], behaviourIndex(in.qtn[i], in.fr[i]), 1e-9) << where;
            EXPECT_NEAR(in.fr[i], fs / in.qn[i] * 100.0, 1e-6 * in.fr[i]) << where;
            const double next = std::min(1.0, 0.381 * in.ic[i] + 0.05 * eff / 100.0 - 0.15);
            EXPECT_LT(std::fabs(next - in.n[i]), 0.01 * 1.0001 + 0.381 * 0.02) << where;
            EXPECT_LE(in.n[i], 1.0) << where;
        }
    }
}

TEST(InterpretationProperty, IcFallsAsQtRisesAtTheSameFs) {
    std::mt19937 rng(2009);
    InterpretationSettings settings;
    settings.waterTable = 1.0;
    int compared = 0;
    for (int round = 0; round < 20; ++round) {
        const auto s = generated(rng, true);
        const Interpretation before = interpret(*s, test::shippedTables(), settings);
        const int r = std::uniform_int_distribution(1, static_cast<int>(s->readingCount))(rng);
        const auto i = static_cast<std::size_t>(r);
        if (!hasValue(before.ic[i])) continue;
        Sounding stronger = *s;
        stronger.value(1, r) = static_cast<float>(s->value(1, r) * 1.6);
        const Interpretation after = interpret(stronger, test::shippedTables(), settings);
        ASSERT_TRUE(hasValue(after.ic[i]));
        // Beyond the corner of the chart (Qtn above 10^3.47, Fr below
        // 10^-1.22 %) a larger qt moves away from it again.
        if (after.qtn[i] > 2500 || after.fr[i] < 0.07) continue;
        EXPECT_GT(after.qt[i], before.qt[i]);
        EXPECT_LT(after.ic[i], before.ic[i]) << "round " << round << " reading " << r;
        EXPECT_GE(after.zone[i], before.zone[i]);
        ++compared;
    }
    EXPECT_GE(compared, 10);
}

}  // namespace
}  // namespace qm
