// The spectrum store hands out a stored spectrum only for a setting equal in every input the
// spectrum depends on; two tubes that differ in one of them never share one.
#include "spectrum_store.h"

#include <gtest/gtest.h>

#include "physics_test_data.h"

namespace ordevo {
namespace {

using testing::PlainEquipment;

// Attenuation that falls with energy, so that each filter and the anode's angle shape the
// spectrum.
AttenuationTable ShapingTable() {
    AttenuationTable table = testing::TransparentTable();
    for (int j = 1; j <= kBinCount; ++j) {
        table.Tungsten[j] = 400.0 / j;
        table.Aluminium[j] = 40.0 / j;
        table.Copper[j] = 400.0 / j;
    }
    return table;
}

TEST(SpectrumStore, EveryInputThatShapesTheSpectrumKeysIt) {
    const AttenuationTable table = ShapingTable();
    EquipmentData base = PlainEquipment();
    base.InherentFiltration = 0.25;
    base.AddedCopper = 0.01;
    const TubeVoltageRange fixed{80.0, 80.0, TubeVoltageWeighting::Equal};
    struct Row {
        const char* what;
        void (*change)(EquipmentData&, TubeVoltageRange&);
        bool shapes;                               // a new spectrum (else the stored one serves)
        void (*before)(EquipmentData&) = nullptr;  // the first setting, from the base
    };
    const auto otherFilter = [](EquipmentData& e) {
        e.OtherFilterFlag = 1;
        e.OtherFilterThickness = 0.01;
        e.OtherFilterAttenuation = testing::Constant(30.0);
    };
    const Row rows[] = {
        {"target angle", [](EquipmentData& e, TubeVoltageRange&) { e.TargetAngle = 16.0; }, true},
        {"inherent filtration",
         [](EquipmentData& e, TubeVoltageRange&) { e.InherentFiltration = 0.5; }, true},
        {"added aluminium", [](EquipmentData& e, TubeVoltageRange&) { e.AddedAluminium = 0.1; },
         true},
        {"added copper", [](EquipmentData& e, TubeVoltageRange&) { e.AddedCopper = 0.02; }, true},
        {"other filter",
         [](EquipmentData& e, TubeVoltageRange&) {
             e.OtherFilterFlag = 1;
             e.OtherFilterThickness = 0.01;
             e.OtherFilterAttenuation = testing::Constant(30.0);
         },
         true},
        {"other filter's material",
         [](EquipmentData& e, TubeVoltageRange&) {
             e.OtherFilterAttenuation = testing::Constant(60.0);
         },
         true, otherFilter},
        {"voltage",
         [](EquipmentData&, TubeVoltageRange& v) {
             v = {81.0, 81.0, v.Weighting};
         },
         true},
        {"weighting",
         [](EquipmentData&, TubeVoltageRange& v) {
             v = {70.0, 80.0, TubeVoltageWeighting::Normal};
         },
         true},
        {"couch and calibration",
         [](EquipmentData& e, TubeVoltageRange&) {
             e.CouchTransmission = 0.5;
             e.CalibrationConstant = 1.3;
             e.FocusReceptorDistance = 120.0;
         },
         false},
        {"an other filter not in use",
         [](EquipmentData& e, TubeVoltageRange&) {
             e.OtherFilterThickness = 0.01;
             e.OtherFilterAttenuation = testing::Constant(30.0);
         },
         false},
    };
    for (const Row& row : rows) {
        SpectrumStore store;
        EquipmentData equipment = base;
        if (row.before) row.before(equipment);
        const SpectrumResult first = store.Get(table, equipment, fixed);
        TubeVoltageRange voltage = fixed;
        row.change(equipment, voltage);
        const SpectrumResult& second = store.Get(table, equipment, voltage);
        EXPECT_EQ(store.Size(), row.shapes ? 2u : 1u) << row.what;
        const SpectrumResult own = ComputeSpectrum(table, equipment, voltage);
        EXPECT_EQ(second.XraySpectrum, own.XraySpectrum) << row.what;
        EXPECT_EQ(second.XraySpectrum != first.XraySpectrum, row.shapes) << row.what;
    }
}

}  // namespace
}  // namespace ordevo
