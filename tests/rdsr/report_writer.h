// Writes projection X-ray radiation dose reports for the tests and the benchmark, through the
// toolkit's own structured-report API, so that every fixture is made here and none is copied.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

class DcmItem;

namespace ordevo::rdsr::testing {

// A numeric value as written: its text and its UCUM unit code ("" writes a NUM without units).
struct Measured {
    std::string Value;
    std::string Unit;
};

struct FixtureFilter {
    std::string MaterialCode = "C-127A2";
    std::string MaterialMeaning = "Copper or Copper compound";
    std::optional<Measured> Minimum;
    std::optional<Measured> Maximum;
};

// Further items of an event: the geometry of the beam and the patient's position.
struct FixtureNum {
    std::string Code, Meaning;
    Measured Value;  // an empty Value writes no measured value (with the qualifier, if any)
    std::string QualifierCode = {}, QualifierMeaning = {};  // Numeric Value Qualifier (CID 42)
};
struct FixtureCode {
    std::string Concept, Meaning, Value, Scheme, ValueMeaning;
};

struct FixtureEvent {
    std::string Uid = "1.2.826.0.1.3680043.10.1.1";
    std::string DateTime = "20240115103000";
    std::string TypeCode = "P5-06000", TypeScheme = "SRT", TypeMeaning = "Fluoroscopy";
    std::string PlaneCode = "113622", PlaneMeaning = "Single Plane";
    std::optional<Measured> DoseRp = Measured{"0.0125", "Gy"};
    std::optional<Measured> DoseAreaProduct = Measured{"0.000125", "Gy.m2"};
    std::vector<Measured> Kvp = {{"80", "kV"}};
    std::vector<FixtureFilter> Filters = {FixtureFilter{
        "C-127A2", "Copper or Copper compound", Measured{"0.2", "mm"}, Measured{"0.2", "mm"}}};
    std::optional<Measured> SourceToIsocenter = Measured{"750", "mm"};
    std::optional<Measured> SourceToDetector = Measured{"1000", "mm"};
    std::optional<Measured> SourceToReferencePoint;
    std::optional<Measured> CollimatedFieldArea = Measured{"0.01", "m2"};
    std::string ReferencePointCode = "113860";  // "" writes ReferencePointText as TEXT (if any)
    std::string ReferencePointText = "15cm from Isocenter toward Source";
    std::vector<FixtureNum> GeometryNums;
    std::vector<FixtureCode> GeometryCodes;
    std::vector<FixtureEvent> Nested;  // events written inside this one
};

struct FixtureTotals {
    std::string PlaneCode = "113622", PlaneMeaning = "Single Plane";
    Measured DoseRpTotal{"0.0125", "Gy"};
    Measured DoseAreaProductTotal{"0.000125", "Gy.m2"};
    std::vector<FixtureEvent> Events;  // events written inside the accumulated data
};

struct FixtureReport {
    std::string RootCode = "113701", RootMeaning = "X-Ray Radiation Dose Report";
    bool DoseReportClass = true;  // false: a Comprehensive SR
    bool NestEvents = false;      // events inside a further container, as some devices write them
    std::string Manufacturer = "Ordevo Test Devices", Model = "Angio 1", Serial = "SN-0001";
    std::string StudyDate = "20240115";
    std::string PatientName = "Test^Patient", PatientId = "P-123", PatientBirthDate = "19500101";
    std::string PatientSizeM, PatientWeightKg;  // header values; "" writes none
    std::vector<FixtureTotals> Totals = {FixtureTotals{}};
    std::vector<FixtureEvent> Events = {FixtureEvent{}};
};

// Changes the written data set before it is saved, for what the structured-report API will not
// write (a numeric value of another VR).
using DataSetEdit = std::function<void(DcmItem& dataset)>;

// Writes the report as a DICOM file; false (with the reason in *error) when the toolkit refuses.
bool WriteFixtureReport(const FixtureReport& report, const std::string& path,
                        std::string* error = nullptr, const DataSetEdit& edit = {});

// The first content item of the concept `conceptCode`, or nullptr.
DcmItem* ContentItemOf(DcmItem& dataset, const std::string& conceptCode);

// `count` events alternating fluoroscopy and acquisitions over a few voltages and Cu filters,
// each with a unique UID; for the benchmark and the cache test.
FixtureReport ManyEventReport(int count);

}  // namespace ordevo::rdsr::testing
