#include <gtest/gtest.h>

#include "particle/ParticleCurve.h"

using json = nlohmann::json;

TEST(ParticleCurve, EvaluationRules) {
    // Empty: the caller's stand-in.
    EXPECT_EQ(EvaluateCurve({}, 0.3f, 7.0f), 7.0f);
    // One key holds its value over the whole life.
    const ParticleCurve single{{0.5f, 0.2f}};
    EXPECT_EQ(EvaluateCurve(single, 0.0f, 7.0f), 0.2f);
    EXPECT_EQ(EvaluateCurve(single, 1.0f, 7.0f), 0.2f);

    const ParticleCurve curve{{0.2f, 1.0f}, {0.6f, 3.0f}, {0.8f, 0.0f}};
    EXPECT_FLOAT_EQ(EvaluateCurve(curve, 0.4f, 0.0f), 2.0f);
    EXPECT_FLOAT_EQ(EvaluateCurve(curve, 0.7f, 0.0f), 1.5f);
    // Before the second key the first segment extrapolates, also below the first key.
    EXPECT_NEAR(EvaluateCurve(curve, 0.0f, 0.0f), 0.0f, 1e-6f);
    // At a key time the next segment starts there.
    EXPECT_FLOAT_EQ(EvaluateCurve(curve, 0.6f, 0.0f), 3.0f);
    // From the last key on, its value.
    EXPECT_EQ(EvaluateCurve(curve, 0.8f, 0.0f), 0.0f);
    EXPECT_EQ(EvaluateCurve(curve, 5.0f, 0.0f), 0.0f);
}

TEST(ParticleCurve, KeysSharingATimeDoNotDivideByZero) {
    const ParticleCurve step{{0.5f, 1.0f}, {0.5f, 2.0f}};
    EXPECT_EQ(EvaluateCurve(step, 0.2f, 0.0f), 1.0f);
    EXPECT_EQ(EvaluateCurve(step, 0.7f, 0.0f), 2.0f);
}

TEST(ParticleCurve, ReadsPairsAndRejectsOtherShapes) {
    EXPECT_EQ(ReadCurve(json::parse("[[0, 1], [1, 0, 9]]")), (ParticleCurve{{0, 1}, {1, 0}}));
    EXPECT_THROW(ReadCurve(json::parse("3")), json::type_error);
    EXPECT_THROW(ReadCurve(json::parse("[1, 2]")), json::type_error);
    EXPECT_THROW(ReadCurve(json::parse("[[1]]")), json::out_of_range);
    EXPECT_THROW(ReadCurve(json::parse("[[1, \"a\"]]")), json::type_error);

    std::array<ParticleCurve, 2> curves{ParticleCurve{{0, 5}}, ParticleCurve{}};
    EXPECT_THROW(ReadCurves(json{{"C", {json::array()}}}, "C", curves), json::out_of_range);
    EXPECT_THROW(ReadCurves(json{{"C", 1}}, "C", curves), json::type_error);
    // A failed read leaves the curves as they were.
    EXPECT_EQ(curves[0], (ParticleCurve{{0, 5}}));
    ReadCurves(json{{"C", {json::array(), {{0, 1}}, {{9, 9}}}}}, "C", curves);
    EXPECT_TRUE(curves[0].empty());
    EXPECT_EQ(curves[1], (ParticleCurve{{0, 1}}));
}
