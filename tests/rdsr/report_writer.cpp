#include "report_writer.h"

#include <cstdio>

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcsequen.h>
#include <dcmtk/dcmsr/dsrdoc.h>

namespace ordevo::rdsr::testing {
namespace {

constexpr const char* kNoUnitMarker = "ORDEVO-NO-UNIT";

// Adds items as children of the open container, one after the other.
class TreeWriter {
public:
    explicit TreeWriter(DSRDocumentTree& tree) : tree_(tree) {}

    bool Root(const std::string& code, const std::string& meaning) {
        if (tree_.addContentItem(DSRTypes::RT_isRoot, DSRTypes::VT_Container) == 0) return false;
        tree_.getCurrentContentItem().setConceptName(
            DSRCodedEntryValue(code.c_str(), "DCM", meaning.c_str()));
        open_ = {false};
        return true;
    }
    DSRContentItem* Add(DSRTypes::E_RelationshipType relation, DSRTypes::E_ValueType type,
                        const std::string& code, const std::string& meaning,
                        const std::string& scheme = "DCM") {
        const auto mode = open_.back() ? DSRTypes::AM_afterCurrent : DSRTypes::AM_belowCurrent;
        if (tree_.addContentItem(relation, type, mode) == 0) {
            ok_ = false;
            return nullptr;
        }
        open_.back() = true;
        DSRContentItem& item = tree_.getCurrentContentItem();
        item.setConceptName(DSRCodedEntryValue(code.c_str(), scheme.c_str(), meaning.c_str()),
                            false);
        return &item;
    }
    void Open(DSRTypes::E_RelationshipType relation, const std::string& code,
              const std::string& meaning) {
        if (Add(relation, DSRTypes::VT_Container, code, meaning)) open_.push_back(false);
    }
    void Close() {
        if (open_.back()) tree_.goUp();
        open_.pop_back();
    }
    void Code(DSRTypes::E_RelationshipType relation, const std::string& conceptCode,
              const std::string& meaning, const std::string& value, const std::string& scheme,
              const std::string& valueMeaning) {
        if (auto* item = Add(relation, DSRTypes::VT_Code, conceptCode, meaning))
            item->setCodeValue(
                DSRCodedEntryValue(value.c_str(), scheme.c_str(), valueMeaning.c_str()), false);
    }
    void Text(DSRTypes::E_ValueType type, DSRTypes::E_RelationshipType relation,
              const std::string& conceptCode, const std::string& meaning,
              const std::string& value) {
        if (auto* item = Add(relation, type, conceptCode, meaning))
            item->setStringValue(value.c_str(), false);
    }
    void Num(const std::string& conceptCode, const std::string& meaning,
             const std::optional<Measured>& m) {
        if (!m) return;
        const std::string unit = m->Unit.empty() ? kNoUnitMarker : m->Unit;
        if (auto* item = Add(DSRTypes::RT_contains, DSRTypes::VT_Num, conceptCode, meaning))
            item->setNumericValue(
                DSRNumericMeasurementValue(m->Value.c_str(),
                                           DSRCodedEntryValue(unit.c_str(), "UCUM", unit.c_str()),
                                           false),
                false);
    }
    // A NUM as some units write a value they do not know: no measured value, a qualifier.
    void QualifiedNum(const std::string& conceptCode, const std::string& meaning,
                      const std::string& qualifierCode, const std::string& qualifierMeaning) {
        if (auto* item = Add(DSRTypes::RT_contains, DSRTypes::VT_Num, conceptCode, meaning))
            item->setNumericValue(
                DSRNumericMeasurementValue(
                    DSRCodedEntryValue(qualifierCode.c_str(), "DCM", qualifierMeaning.c_str()),
                    false),
                false);
    }
    bool ok() const { return ok_; }

private:
    DSRDocumentTree& tree_;
    std::vector<bool> open_;  // per open level: has it a child yet
    bool ok_ = true;
};

void WriteEvent(TreeWriter& w, const FixtureEvent& e) {
    w.Open(DSRTypes::RT_contains, "113706", "Irradiation Event X-Ray Data");
    w.Code(DSRTypes::RT_contains, "113764", "Acquisition Plane", e.PlaneCode, "DCM",
           e.PlaneMeaning);
    w.Text(DSRTypes::VT_UIDRef, DSRTypes::RT_contains, "113769", "Irradiation Event UID", e.Uid);
    w.Text(DSRTypes::VT_DateTime, DSRTypes::RT_contains, "111526", "DateTime Started", e.DateTime);
    w.Code(DSRTypes::RT_contains, "113721", "Irradiation Event Type", e.TypeCode, e.TypeScheme,
           e.TypeMeaning);
    w.Num("122130", "Dose Area Product", e.DoseAreaProduct);
    w.Num("113738", "Dose (RP)", e.DoseRp);
    if (!e.ReferencePointCode.empty())
        w.Code(DSRTypes::RT_contains, "113780", "Reference Point Definition", e.ReferencePointCode,
               "DCM", e.ReferencePointText);
    else if (!e.ReferencePointText.empty())
        w.Text(DSRTypes::VT_Text, DSRTypes::RT_contains, "113780", "Reference Point Definition",
               e.ReferencePointText);
    for (const FixtureFilter& f : e.Filters) {
        w.Open(DSRTypes::RT_contains, "113771", "X-Ray Filters");
        w.Code(DSRTypes::RT_contains, "113772", "X-Ray Filter Type", "113650", "DCM",
               "Strip filter");
        w.Code(DSRTypes::RT_contains, "113757", "X-Ray Filter Material", f.MaterialCode, "SRT",
               f.MaterialMeaning);
        w.Num("113758", "X-Ray Filter Thickness Minimum", f.Minimum);
        w.Num("113773", "X-Ray Filter Thickness Maximum", f.Maximum);
        w.Close();
    }
    for (const Measured& kv : e.Kvp) w.Num("113733", "KVP", kv);
    w.Num("113748", "Distance Source to Isocenter", e.SourceToIsocenter);
    w.Num("113750", "Distance Source to Detector", e.SourceToDetector);
    w.Num("113737", "Distance Source to Reference Point", e.SourceToReferencePoint);
    w.Num("113790", "Collimated Field Area", e.CollimatedFieldArea);
    for (const FixtureNum& n : e.GeometryNums) {
        if (n.Value.Value.empty())
            w.QualifiedNum(n.Code, n.Meaning, n.QualifierCode, n.QualifierMeaning);
        else
            w.Num(n.Code, n.Meaning, n.Value);
    }
    for (const FixtureCode& c : e.GeometryCodes)
        w.Code(DSRTypes::RT_contains, c.Concept, c.Meaning, c.Value, c.Scheme, c.ValueMeaning);
    for (const FixtureEvent& nested : e.Nested) WriteEvent(w, nested);
    w.Close();
}

// Removes the units of every NUM written with the marker: a NUM without units, as some devices
// write.
void DropMarkedUnits(DcmItem& item) {
    DcmSequenceOfItems* content = nullptr;
    if (item.findAndGetSequence(DCM_ContentSequence, content).good() && content) {
        for (unsigned long i = 0; i < content->card(); ++i) {
            DcmItem* child = content->getItem(i);
            DcmItem* measured = nullptr;
            if (child->findAndGetSequenceItem(DCM_MeasuredValueSequence, measured).good() &&
                measured) {
                DcmItem* unit = nullptr;
                OFString code;
                if (measured->findAndGetSequenceItem(DCM_MeasurementUnitsCodeSequence, unit)
                        .good() &&
                    unit->findAndGetOFString(DCM_CodeValue, code).good() && code == kNoUnitMarker)
                    measured->findAndDeleteElement(DCM_MeasurementUnitsCodeSequence);
            }
            DropMarkedUnits(*child);
        }
    }
}

}  // namespace

bool WriteFixtureReport(const FixtureReport& r, const std::string& path, std::string* error,
                        const DataSetEdit& edit) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    DSRDocument doc(r.DoseReportClass ? DSRTypes::DT_XRayRadiationDoseSR
                                      : DSRTypes::DT_ComprehensiveSR);
    doc.setSpecificCharacterSetType(DSRTypes::CS_UTF8);
    doc.setSoftwareVersions("ordevo tests");
    doc.setManufacturer(r.Manufacturer.c_str());
    doc.setManufacturerModelName(r.Model.c_str());
    doc.setDeviceSerialNumber(r.Serial.c_str());
    doc.setStudyDate(r.StudyDate.c_str());
    doc.setPatientName(r.PatientName.c_str());
    doc.setPatientID(r.PatientId.c_str());
    doc.setPatientBirthDate(r.PatientBirthDate.c_str());

    TreeWriter w(doc.getTree());
    if (!w.Root(r.RootCode, r.RootMeaning)) return fail("root refused");
    w.Code(DSRTypes::RT_hasConceptMod, "121058", "Procedure reported", "113704", "DCM",
           "Projection X-Ray");
    w.Text(DSRTypes::VT_UIDRef, DSRTypes::RT_hasObsContext, "121012", "Device Observer UID",
           "1.2.826.0.1.3680043.10.9");
    for (const FixtureTotals& t : r.Totals) {
        w.Open(DSRTypes::RT_contains, "113702", "Accumulated X-Ray Dose Data");
        w.Code(DSRTypes::RT_hasConceptMod, "113764", "Acquisition Plane", t.PlaneCode, "DCM",
               t.PlaneMeaning);
        w.Num("113722", "Dose Area Product Total", t.DoseAreaProductTotal);
        w.Num("113725", "Dose (RP) Total", t.DoseRpTotal);
        for (const FixtureEvent& e : t.Events) WriteEvent(w, e);
        w.Close();
    }
    if (r.NestEvents) w.Open(DSRTypes::RT_contains, "113852", "Irradiation Event");
    for (const FixtureEvent& e : r.Events) WriteEvent(w, e);
    if (r.NestEvents) w.Close();
    if (!w.ok()) return fail("a content item was refused");

    doc.completeDocument();
    DcmFileFormat file;
    OFCondition status = doc.write(*file.getDataset());
    if (status.bad()) return fail(std::string("write: ") + status.text());
    DropMarkedUnits(*file.getDataset());
    if (edit) edit(*file.getDataset());
    if (!r.PatientSizeM.empty())
        file.getDataset()->putAndInsertString(DCM_PatientSize, r.PatientSizeM.c_str());
    if (!r.PatientWeightKg.empty())
        file.getDataset()->putAndInsertString(DCM_PatientWeight, r.PatientWeightKg.c_str());
    status = file.saveFile(path.c_str(), EXS_LittleEndianExplicit);
    if (status.bad()) return fail(std::string("save: ") + status.text());
    return true;
}

DcmItem* ContentItemOf(DcmItem& dataset, const std::string& conceptCode) {
    std::vector<DcmItem*> pending{&dataset};
    while (!pending.empty()) {
        DcmItem* item = pending.back();
        pending.pop_back();
        DcmItem* name = nullptr;
        OFString code;
        if (item->findAndGetSequenceItem(DCM_ConceptNameCodeSequence, name).good() &&
            name->findAndGetOFString(DCM_CodeValue, code).good() && code == conceptCode.c_str())
            return item;
        DcmSequenceOfItems* content = nullptr;
        if (item->findAndGetSequence(DCM_ContentSequence, content).good() && content)
            for (unsigned long i = content->card(); i-- > 0;)
                pending.push_back(content->getItem(i));
    }
    return nullptr;
}

// A decimal string of a DICOM DS value (at most 16 characters).

namespace {
std::string Decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}
}  // namespace

FixtureReport ManyEventReport(int count) {
    FixtureReport report;
    report.Events.clear();
    double totalGy = 0, totalGym2 = 0;
    for (int i = 0; i < count; ++i) {
        FixtureEvent e;
        e.Uid = "1.2.826.0.1.3680043.10.2." + std::to_string(i + 1);
        const bool fluoro = i % 3 != 0;
        if (!fluoro) {
            e.TypeCode = "113611";
            e.TypeScheme = "DCM";
            e.TypeMeaning = "Stationary Acquisition";
        }
        const double kar = 0.0005 + 0.0001 * (i % 7);  // Gy
        const double side = 0.08 + 0.01 * (i % 5);     // m at the reference point
        e.DoseRp = Measured{Decimal(kar), "Gy"};
        e.DoseAreaProduct = Measured{Decimal(kar * side * side), "Gy.m2"};
        e.Kvp = {Measured{std::to_string(70 + 5 * (i % 4)), "kV"}};
        e.Filters[0].Minimum = e.Filters[0].Maximum = Measured{fluoro ? "0.3" : "0.1", "mm"};
        totalGy += kar;
        totalGym2 += kar * side * side;
        report.Events.push_back(e);
    }
    report.Totals[0].DoseRpTotal = Measured{Decimal(totalGy), "Gy"};
    report.Totals[0].DoseAreaProductTotal = Measured{Decimal(totalGym2), "Gy.m2"};
    return report;
}

}  // namespace ordevo::rdsr::testing
