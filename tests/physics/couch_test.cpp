// Couch transmission, calibration constant and soft-tissue thickness from one measurement.
#include "couch.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "physics_test_data.h"

namespace ordevo {
namespace {

using testing::Constant;
using testing::PlainEquipment;
using testing::TransparentTable;

// Soft tissue of 0.5/cm at every energy: T(n) = exp(−0.05·n) whatever the spectrum.
AttenuationTable FlatTissue() {
    AttenuationTable table = TransparentTable();
    table.TissueAttenuation = Constant(0.5);
    return table;
}

CouchMeasurement Measurement(double without, double with, double displayed, double fad = 65,
                             double kv = 80) {
    return {kv, without, with, displayed, fad};
}

// 10 mGy without, 8 with, 12 displayed at 65 cm: T = 0.8, C = (10/12)·(65/50)² = 1.4083.
// The thickness lies between 0.4 cm (e^−0.2) and 0.5 cm (e^−0.25), interpolated linearly.
TEST(Couch, MeasurementGivesTransmissionCalibrationAndThickness) {
    const CouchCalibration c =
        ComputeCouchCalibration(FlatTissue(), PlainEquipment(), Measurement(10, 8, 12));
    EXPECT_DOUBLE_EQ(c.CouchTransmission, 0.8);
    EXPECT_NEAR(c.CalibrationConstant, 1.4083, 5e-5);
    const double expected = 0.4 + 0.1 * (0.8 - std::exp(-0.2)) / (std::exp(-0.25) - std::exp(-0.2));
    EXPECT_NEAR(c.CouchSoftTissueThickness, expected, 1e-13);
    EXPECT_EQ(ComputeCouchCalibration(FlatTissue(), PlainEquipment(), Measurement(10, 10, 12))
                  .CouchSoftTissueThickness,
              0.0);
}

// With air absorption in one bin only, T(n) = exp(−μ·0.1·n) exactly; a transmission equal to T(3)
// keeps the search going and lands on 0.3 cm with fraction 0.
TEST(Couch, TransmissionOnAGridStepGivesThatThickness) {
    AttenuationTable table = FlatTissue();
    table.AirEnergyAbsorption = Constant(0.0);
    table.AirEnergyAbsorption[40] = 1.0;
    table.TissueAttenuation[40] = 0.7;
    const double t3 = std::exp(-0.7 * (3 * 0.1));
    EXPECT_NEAR(ComputeCouchSoftTissueThickness(table, PlainEquipment(), 80, t3), 0.3, 1e-15);
}

TEST(Couch, ImpossibleInputsNameTheBoxToCorrect) {
    const auto problem = [](const CouchMeasurement& m, EquipmentData eq = PlainEquipment()) {
        try {
            ComputeCouchCalibration(FlatTissue(), eq, m);
        } catch (const CouchInputError& error) {
            return static_cast<int>(error.problem());
        }
        return -1;
    };
    using P = CouchInputProblem;
    EXPECT_EQ(problem(Measurement(0, 8, 12)), static_cast<int>(P::AirKermaWithoutCouch));
    EXPECT_EQ(problem(Measurement(10, 8, -1)), static_cast<int>(P::DisplayedReferenceAirKerma));
    EXPECT_EQ(problem(Measurement(10, 8, 12, 15)), static_cast<int>(P::FocusIsocentreDistance));
    for (double kv : {0.0, -80.0, 0.5, 150.5})
        EXPECT_EQ(problem(Measurement(10, 8, 12, 65, kv)), static_cast<int>(P::TypicalTubeVoltage))
            << kv;
    EXPECT_EQ(problem(Measurement(10, 10.5, 12)), static_cast<int>(P::TransmissionAboveOne));
    // 10 cm of this tissue transmits e^−5 = 0.0067.
    EXPECT_EQ(problem(Measurement(10, 0.05, 12)), static_cast<int>(P::TransmissionBeyondTable));
    // A with-couch value of 0 or below is a wrong box, not a couch that absorbs everything.
    for (double with : {0.0, -1.0, std::nan("")})
        EXPECT_EQ(problem(Measurement(10, with, 12)), static_cast<int>(P::AirKermaWithCouch))
            << with;
    EXPECT_EQ(problem(Measurement(10, 8, 1e-320)), static_cast<int>(P::CalibrationConstant));
    EXPECT_EQ(problem(Measurement(1e308, 1e308, 1e-10)), static_cast<int>(P::CalibrationConstant));
    // A constant outside 0.2–5 is a reading off by a unit or a decimal, not a calibration.
    for (double displayed : {1e-300, 0.01, 1000.0})
        EXPECT_EQ(problem(Measurement(10, 8, displayed)), static_cast<int>(P::CalibrationConstant))
            << displayed;
    const struct {
        double EquipmentData::*field;
        double value;
        P expected;
    } limits[] = {{&EquipmentData::FocusReceptorDistance, 65.0, P::FocusReceptorDistance},
                  {&EquipmentData::InherentFiltration, -0.1, P::InherentFiltration},
                  {&EquipmentData::AddedAluminium, -0.1, P::AddedAluminium},
                  {&EquipmentData::AddedCopper, -0.1, P::AddedCopper},
                  {&EquipmentData::OtherFilterThickness, -0.1, P::OtherFilterThickness},
                  {&EquipmentData::TargetAngle, 95.0, P::TargetAngle}};
    for (const auto& limit : limits) {
        EquipmentData eq = PlainEquipment();
        eq.*limit.field = limit.value;
        EXPECT_EQ(problem(Measurement(10, 8, 12), eq), static_cast<int>(limit.expected))
            << limit.value;
    }
    EquipmentData flatAnode = PlainEquipment();
    flatAnode.TargetAngle = 0;
    EXPECT_EQ(problem(Measurement(10, 8, 12), flatAnode), static_cast<int>(P::TargetAngle));
    EquipmentData leadFilter = PlainEquipment();
    leadFilter.OtherFilterFlag = 1;
    leadFilter.OtherFilterThickness = 10;
    leadFilter.OtherFilterAttenuation = Constant(1e4);
    EXPECT_EQ(problem(Measurement(10, 8, 12), leadFilter), static_cast<int>(P::BeamFullyAbsorbed));
}

}  // namespace
}  // namespace ordevo
