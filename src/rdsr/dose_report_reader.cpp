#include "dose_report_reader.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcistrmb.h>
#include <dcmtk/dcmdata/dcmetinf.h>
#include <dcmtk/dcmdata/dcobject.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmsr/dsrcitem.h>
#include <dcmtk/dcmsr/dsrdoc.h>
#include <dcmtk/oflog/appender.h>
#include <dcmtk/oflog/logger.h>
#include <dcmtk/oflog/spi/logevent.h>

#include <QFileInfo>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "cp932_text.h"
#include "dicom_codes.h"
#include "structure_scan.h"
#include "number_format.h"
#include "ucum_units.h"

namespace ordevo::rdsr {
namespace {

// A content item, copied out of the toolkit's tree so that extraction is plain code.
struct Item {
    std::string Concept;  // code value of the conceptCode name
    std::string ConceptMeaning;
    DSRTypes::E_ValueType Type = DSRTypes::VT_invalid;
    std::string Text;         // TEXT, UIDREF, DATETIME, DATE, PNAME value
    std::string CodeValue;    // CODE value (or NUM's unit code)
    std::string CodeMeaning;  // CODE meaning
    std::string Number;       // NUM's numeric value as written
    bool HasUnits = false;
    std::string QualifierValue, QualifierMeaning;  // NUM's numeric value qualifier
    std::vector<Item> Children;
};

// Copies the item at the tree's cursor and, recursively, its children; the cursor ends where
// it started.
Item CopyItem(DSRDocumentTree& tree) {
    DSRContentItem& content = tree.getCurrentContentItem();
    Item item;
    item.Concept = content.getConceptName().getCodeValue().c_str();
    item.ConceptMeaning = content.getConceptName().getCodeMeaning().c_str();
    item.Type = content.getValueType();
    switch (item.Type) {
    case DSRTypes::VT_Text:
    case DSRTypes::VT_UIDRef:
    case DSRTypes::VT_DateTime:
    case DSRTypes::VT_Date:
    case DSRTypes::VT_PName: item.Text = content.getStringValue().c_str(); break;
    case DSRTypes::VT_Code:
        item.CodeValue = content.getCodeValue().getCodeValue().c_str();
        item.CodeMeaning = content.getCodeValue().getCodeMeaning().c_str();
        break;
    case DSRTypes::VT_Num: {
        const DSRNumericMeasurementValue& num = content.getNumericValue();
        item.Number = num.getNumericValue().c_str();
        const DSRCodedEntryValue& unit = num.getMeasurementUnit();
        item.HasUnits = !unit.getCodeValue().empty();
        item.CodeValue = unit.getCodeValue().c_str();
        item.CodeMeaning = unit.getCodeMeaning().c_str();
        const DSRCodedEntryValue& qualifier = num.getNumericValueQualifier();
        item.QualifierValue = qualifier.getCodeValue().c_str();
        item.QualifierMeaning = qualifier.getCodeMeaning().c_str();
        break;
    }
    default: break;
    }
    if (tree.gotoChild() > 0) {
        do {
            item.Children.push_back(CopyItem(tree));
        } while (tree.gotoNext() > 0);
        tree.goUp();
    }
    return item;
}

// Collects what the toolkit warns about while it reads leniently (skipped items, invalid values).
class NoteAppender : public dcmtk::log4cplus::Appender {
public:
    std::vector<std::string> Messages;
    ~NoteAppender() override { destructorImpl(); }
    void close() override {}

protected:
    void append(const dcmtk::log4cplus::spi::InternalLoggingEvent& event) override {
        Messages.emplace_back(event.getMessage().c_str());
    }
};

// Routes the toolkit's warnings into notes for the duration of one read, and keeps them off
// the console meanwhile.
class NoteCapture {
public:
    NoteCapture() : appender_(new NoteAppender) {
        for (const char* name : kLoggers) {
            auto logger = dcmtk::log4cplus::Logger::getInstance(name);
            logger.addAppender(appender_);
            logger.setAdditivity(false);
        }
    }
    ~NoteCapture() {
        for (const char* name : kLoggers) {
            auto logger = dcmtk::log4cplus::Logger::getInstance(name);
            logger.removeAppender(appender_);
            logger.setAdditivity(true);
        }
    }
    const std::vector<std::string>& Messages() const {
        return static_cast<NoteAppender&>(*appender_).Messages;
    }

private:
    static constexpr const char* kLoggers[] = {"dcmtk.dcmsr", "dcmtk.dcmdata"};
    dcmtk::log4cplus::SharedAppenderPtr appender_;
};

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool Contains(const std::string& text, const char* part) {
    return Lower(text).find(part) != std::string::npos;
}

std::optional<double> ParseNumber(std::string text) {
    while (!text.empty() && text.front() == ' ') text.erase(text.begin());
    while (!text.empty() && text.back() == ' ') text.pop_back();
    if (!text.empty() && text.front() == '+') text.erase(text.begin());
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// Concept code of a content item in the data set ("" when it has none).
std::string ConceptCodeOf(DcmItem& item) {
    DcmItem* name = nullptr;
    OFString code;
    if (item.findAndGetSequenceItem(DCM_ConceptNameCodeSequence, name).good() && name)
        name->findAndGetOFString(DCM_CodeValue, code);
    return code.c_str();
}

// Checks the numeric value of a NUM content item before the toolkit reads it, as the toolkit
// would read an OB holding "5.2" as the number its bytes print ("35"), and only the first of
// several values. A value that is not one DS text is removed with a note (the item then has no
// value and is refused); several tube voltages (one per pulse, some 0) become their positive
// mean.
void CheckNumericValue(DcmItem& content, std::vector<std::string>& notes) {
    DcmItem* measured = nullptr;
    if (content.findAndGetSequenceItem(DCM_MeasuredValueSequence, measured).bad() || !measured)
        return;
    DcmElement* value = nullptr;
    if (measured->findAndGetElement(DCM_NumericValue, value).bad() || !value) return;
    const std::string conceptCode = ConceptCodeOf(content);
    if (value->ident() != EVR_DS) {
        notes.push_back(conceptCode + " の数値が 10 進数の文字列 (DS) でなく " +
                        DcmVR(value->ident()).getVRName() + " で記録されているため使いません");
        delete measured->remove(value);
        return;
    }
    const unsigned long count = value->getVM();
    if (count <= 1) return;
    if (conceptCode != code::kKvp) {
        notes.push_back(conceptCode + " の数値に " + std::to_string(count) +
                        " 個の値があるため使いません");
        delete measured->remove(value);
        return;
    }
    double sum = 0;
    int positive = 0;
    for (unsigned long i = 0; i < count; ++i) {
        OFString text;
        value->getOFString(text, i);
        const std::optional<double> kv = ParseNumber(text.c_str());
        if (kv && std::isfinite(*kv) && *kv > 0) sum += *kv, ++positive;
    }
    if (positive == 0) {
        notes.push_back("管電圧 (KVP) の " + std::to_string(count) +
                        " 個の値に正の値がないため使いません");
        delete measured->remove(value);
        return;
    }
    char mean[32];
    std::snprintf(mean, sizeof mean, "%.10g", sum / positive);
    notes.push_back("管電圧 (KVP) にパルスごとの " + std::to_string(count) + " 個の値: 正の " +
                    std::to_string(positive) + " 個の平均 " + mean + " kV を使用");
    value->putString(mean);
}

// Every content item of the data set, iteratively (the depth is already known to be small).
void CheckNumericValues(DcmItem& dataset, std::vector<std::string>& notes) {
    std::vector<DcmItem*> pending{&dataset};
    while (!pending.empty()) {
        DcmItem* item = pending.back();
        pending.pop_back();
        CheckNumericValue(*item, notes);
        DcmSequenceOfItems* content = nullptr;
        if (item->findAndGetSequence(DCM_ContentSequence, content).good() && content)
            for (unsigned long i = content->card(); i-- > 0;)
                pending.push_back(content->getItem(i));
    }
}

// A NUM item in the program's unit, or nullopt with a note saying why it was refused.
std::optional<double> ReadNumber(const Item& item, Quantity quantity,
                                 std::vector<std::string>& notes) {
    const std::string what = item.ConceptMeaning.empty() ? item.Concept : item.ConceptMeaning;
    const std::optional<double> value = ParseNumber(item.Number);
    if (!value) {
        notes.push_back(what + ": 数値がありません (\"" + item.Number + "\")、無視します");
        return std::nullopt;
    }
    // "NaN", "inf" and values beyond the double range would poison every sum they enter.
    if (!std::isfinite(*value)) {
        notes.push_back(what + " " + item.Number + ": 有限の数値でないため使いません");
        return std::nullopt;
    }
    if (!item.HasUnits) {
        notes.push_back(what + " " + item.Number + ": 単位の記載がないため使いません");
        return std::nullopt;
    }
    const std::optional<double> converted = ConvertToProgramUnit(quantity, item.CodeValue, *value);
    if (!converted) {
        notes.push_back(what + " " + item.Number + ": 単位 \"" + item.CodeValue + "\" を " +
                        ProgramUnitName(quantity) + " に換算できないため使いません");
        return std::nullopt;
    }
    if (!std::isfinite(*converted)) {
        notes.push_back(what + " " + item.Number + " " + item.CodeValue + ": " +
                        ProgramUnitName(quantity) +
                        " に換算すると数値の範囲を超えるため使いません");
        return std::nullopt;
    }
    return converted;
}

std::optional<AcquisitionPlane> PlaneOf(const Item& item) {
    if (item.CodeValue == code::kPlaneA || Contains(item.CodeMeaning, "plane a"))
        return AcquisitionPlane::A;
    if (item.CodeValue == code::kPlaneB || Contains(item.CodeMeaning, "plane b"))
        return AcquisitionPlane::B;
    if (item.CodeValue == code::kSinglePlane || Contains(item.CodeMeaning, "single"))
        return AcquisitionPlane::Single;
    return std::nullopt;
}

EventType EventTypeOf(const Item& item) {
    const std::string& type = item.CodeValue;
    if (type == code::kFluoroscopySrt || type == code::kFluoroscopySct ||
        Contains(item.CodeMeaning, "fluoro"))
        return EventType::Fluoroscopy;
    if (type == code::kStationaryAcquisition || type == code::kStationaryAcquisitionAlt ||
        Contains(item.CodeMeaning, "stationary"))
        return EventType::StationaryAcquisition;
    if (type == code::kRotationalAcquisition || Contains(item.CodeMeaning, "rotational"))
        return EventType::RotationalAcquisition;
    if (type == code::kSteppingAcquisition || Contains(item.CodeMeaning, "stepping"))
        return EventType::SteppingAcquisition;
    return EventType::Other;
}

FilterMaterial FilterMaterialOf(const Item& item) {
    const std::string meaning = Lower(item.CodeMeaning);
    if (item.CodeValue == code::kCopper || meaning.rfind("copper", 0) == 0 || meaning == "cu")
        return FilterMaterial::Copper;
    if (item.CodeValue == code::kAluminium || meaning.rfind("alumin", 0) == 0 || meaning == "al")
        return FilterMaterial::Aluminium;
    return FilterMaterial::Other;
}

ReferencePointDefinition ReferencePointOf(const Item& item) {
    ReferencePointDefinition definition;
    if (item.Type == DSRTypes::VT_Code) {
        definition.Code = item.CodeValue;
        definition.Text = item.CodeMeaning;
    } else {
        definition.Text = item.Text;
    }
    return definition;
}

XrayFilter ReadFilter(const Item& container, std::vector<std::string>& notes) {
    XrayFilter filter;
    for (const Item& item : container.Children) {
        if (item.Concept == code::kXrayFilterMaterial) {
            filter.Material = FilterMaterialOf(item);
            filter.MaterialText = item.CodeMeaning.empty() ? item.CodeValue : item.CodeMeaning;
        } else if (item.Concept == code::kXrayFilterThicknessMinimum &&
                   item.Type == DSRTypes::VT_Num) {
            filter.MinimumThicknessMm = ReadNumber(item, Quantity::Length, notes);
        } else if (item.Concept == code::kXrayFilterThicknessMaximum &&
                   item.Type == DSRTypes::VT_Num) {
            filter.MaximumThicknessMm = ReadNumber(item, Quantity::Length, notes);
        }
    }
    return filter;
}

struct EventReading {
    IrradiationEvent Event;
    double KvSum = 0;
    int KvCount = 0;
    std::optional<double> FinalSourceToDetectorMm;
    std::set<std::string> Ambiguous;  // concepts given twice with different values
};

bool IsEvent(const Item& item) {
    return item.Concept == code::kIrradiationEventXrayData && !item.Children.empty();
}

std::string Shortest(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

// A value an event holds once. A second, different value makes it ambiguous: it is refused
// rather than the last one taken.
void SetOnce(std::optional<double>& slot, const std::optional<double>& value, const Item& item,
             EventReading& r) {
    if (!value || r.Ambiguous.count(item.Concept)) return;
    if (slot && *slot != *value) {
        const std::string what = item.ConceptMeaning.empty() ? item.Concept : item.ConceptMeaning;
        r.Event.Notes.push_back(what + " が 2 通り (" + Shortest(*slot) + ", " + Shortest(*value) +
                                ") 記載されているため使いません");
        r.Ambiguous.insert(item.Concept);
        slot.reset();
        return;
    }
    slot = value;
}

GeometryItem ViewOf(const Item& item) {
    return {item.Concept,     item.ConceptMeaning, item.Type == DSRTypes::VT_Num,
            item.Number,      item.HasUnits,       item.CodeValue,
            item.CodeMeaning, item.QualifierValue, item.QualifierMeaning};
}

void ReadEventItem(const Item& item, EventReading& r) {
    if (IsEvent(item)) return;  // an event inside this one is an event of its own
    IrradiationEvent& e = r.Event;
    const std::string& c = item.Concept;
    const bool num = item.Type == DSRTypes::VT_Num;
    auto number = [&](Quantity quantity) { return ReadNumber(item, quantity, e.Notes); };
    if (c == code::kXrayFilters) {
        e.Filters.push_back(ReadFilter(item, e.Notes));
        return;
    }
    if (c == code::kAcquisitionPlane && item.Type == DSRTypes::VT_Code) {
        if (auto plane = PlaneOf(item)) e.Plane = *plane;
    } else if (c == code::kIrradiationEventUid || c == code::kIrradiationEventUidScope) {
        e.Uid = item.Text;
    } else if (c == code::kDateTimeStarted) {
        e.DateTime = item.Text;
    } else if (c == code::kIrradiationEventType && item.Type == DSRTypes::VT_Code) {
        e.Type = EventTypeOf(item);
        e.TypeText = item.CodeMeaning;
    } else if (c == code::kDoseRp && num) {
        SetOnce(e.ReferenceAirKermaMGy, number(Quantity::AirKerma), item, r);
    } else if (c == code::kDoseAreaProduct && num) {
        SetOnce(e.KermaAreaProductGyCm2, number(Quantity::KermaAreaProduct), item, r);
    } else if (c == code::kKvp && num) {
        if (auto kv = number(Quantity::TubeVoltage)) {
            r.KvSum += *kv;
            ++r.KvCount;
        }
    } else if (c == code::kDistanceSourceToIsocenter && num) {
        SetOnce(e.SourceToIsocentreMm, number(Quantity::Length), item, r);
    } else if (c == code::kDistanceSourceToDetector && num) {
        SetOnce(e.SourceToDetectorMm, number(Quantity::Length), item, r);
    } else if (num && Contains(item.ConceptMeaning, "final distance source to detector")) {
        SetOnce(r.FinalSourceToDetectorMm, number(Quantity::Length), item, r);
    } else if (c == code::kDistanceSourceToReferencePoint && num) {
        SetOnce(e.SourceToReferencePointMm, number(Quantity::Length), item, r);
    } else if (c == code::kDistanceSourceToTablePlane && num) {
        SetOnce(e.SourceToTablePlaneMm, number(Quantity::Length), item, r);
    } else if (c == code::kReferencePointDefinition) {
        e.ReferencePoint = ReferencePointOf(item);
    } else if (c == code::kCollimatedFieldArea && num) {
        SetOnce(e.CollimatedFieldAreaCm2, number(Quantity::Area), item, r);
    } else if (ReadGeometryItem(ViewOf(item), e.Geometry, e.Notes)) {
    }
    for (const Item& child : item.Children) ReadEventItem(child, r);
}

IrradiationEvent ReadEvent(const Item& container) {
    EventReading r;
    for (const Item& item : container.Children) ReadEventItem(item, r);
    if (r.KvCount > 0) r.Event.TubeVoltageKv = r.KvSum / r.KvCount;
    if (!r.Event.SourceToDetectorMm) r.Event.SourceToDetectorMm = r.FinalSourceToDetectorMm;
    return std::move(r.Event);
}

void ReadTotalsItem(const Item& item, AccumulatedTotals& totals, std::vector<std::string>& notes) {
    if (IsEvent(item)) return;
    const bool num = item.Type == DSRTypes::VT_Num;
    if (item.Concept == code::kAcquisitionPlane && item.Type == DSRTypes::VT_Code) {
        if (auto plane = PlaneOf(item)) totals.Plane = *plane;
    } else if (item.Concept == code::kDoseRpTotal && num) {
        totals.ReferenceAirKermaMGy = ReadNumber(item, Quantity::AirKerma, notes);
    } else if (item.Concept == code::kDoseAreaProductTotal && num) {
        totals.KermaAreaProductGyCm2 = ReadNumber(item, Quantity::KermaAreaProduct, notes);
    } else if (item.Concept == code::kReferencePointDefinition) {
        totals.ReferencePoint = ReferencePointOf(item);
    }
    for (const Item& child : item.Children) ReadTotalsItem(child, totals, notes);
}

bool HasConcept(const Item& item, std::string_view wanted) {
    if (item.Concept == wanted) return true;
    for (const Item& child : item.Children)
        if (HasConcept(child, wanted)) return true;
    return false;
}

// Events and accumulated data are children of the root in the template; some devices nest them
// in further containers, so every item is searched. An event found inside another event, inside
// the accumulated data or stored as another value type is still one event of its own, noted.
void CollectContainers(const Item& parent, DoseReport& report, std::vector<std::string>& notes,
                       const char* misplacedIn = nullptr) {
    for (const Item& item : parent.Children) {
        if (IsEvent(item)) {
            if (item.Type != DSRTypes::VT_Container)
                notes.push_back(std::string("値の型 ") +
                                DSRTypes::valueTypeToDefinedTerm(item.Type) +
                                " で記録された照射を照射として読みました");
            if (misplacedIn)
                notes.push_back(std::string(misplacedIn) +
                                "の中にある照射を、独立した照射として数えました");
            report.Events.push_back(ReadEvent(item));
            CollectContainers(item, report, notes, "別の照射");
        } else if (item.Concept == code::kAccumulatedXrayDoseData &&
                   item.Type == DSRTypes::VT_Container) {
            AccumulatedTotals totals;
            ReadTotalsItem(item, totals, notes);
            report.Totals.push_back(totals);
            CollectContainers(item, report, notes, "累積線量データ");
        } else {
            CollectContainers(item, report, notes, misplacedIn);
        }
    }
}

// An event given twice (the same Irradiation Event UID) is counted once: the first stands.
void DropRepeatedEvents(DoseReport& report, std::vector<std::string>& notes) {
    std::set<std::string> seen;
    std::vector<IrradiationEvent> kept;
    for (IrradiationEvent& event : report.Events) {
        if (!event.Uid.empty() && !seen.insert(event.Uid).second) {
            notes.push_back("照射 " + event.Uid + " が複数回記載されています: 1 回だけ数えます");
            continue;
        }
        kept.push_back(std::move(event));
    }
    report.Events = std::move(kept);
}

// Device observer context items, used where the equipment module leaves a field empty.
void ReadObserverContext(const Item& root, DoseReport& report) {
    for (const Item& item : root.Children) {
        if (item.Concept == code::kDeviceObserverManufacturer && report.Manufacturer.empty())
            report.Manufacturer = item.Text;
        if (item.Concept == code::kDeviceObserverModelName && report.Model.empty())
            report.Model = item.Text;
        if (item.Concept == code::kDeviceObserverSerialNumber && report.SerialNumber.empty())
            report.SerialNumber = item.Text;
    }
}

// Height and weight anywhere outside the events (the patient characteristics' container).
void ReadPatientItems(const Item& parent, DoseReport& report, std::vector<std::string>& notes) {
    for (const Item& item : parent.Children) {
        if (item.Concept == code::kIrradiationEventXrayData) continue;
        if (!ReadPatientSizeItem(ViewOf(item), report.Patient, notes))
            ReadPatientItems(item, report, notes);
    }
}

std::string HeaderText(OFCondition (DSRDocument::*get)(OFString&, const signed long) const,
                       const DSRDocument& document) {
    OFString value;
    return (document.*get)(value, 0).good() ? std::string(value.c_str()) : std::string();
}

std::string EventLabel(std::size_t index, const IrradiationEvent& event) {
    return "照射 " + std::to_string(index + 1) + (event.Uid.empty() ? "" : " (" + event.Uid + ")");
}

// Two values with as many significant digits as it takes to tell them apart (at least three):
// a 34 % gap at 0.1 mGy must not print as "0.1 vs 0.1".
std::pair<std::string, std::string> DifferingTexts(double a, double b) {
    char first[40], second[40];
    for (int digits = 3; digits <= 17; ++digits) {
        std::snprintf(first, sizeof first, "%.*g", digits, a);
        std::snprintf(second, sizeof second, "%.*g", digits, b);
        if (std::string_view(first) != std::string_view(second)) break;
    }
    return {first, second};
}

std::mutex& ReadMutex() {
    static std::mutex mutex;
    return mutex;
}

// The toolkit strips the padding of UIDs and other values only while its process-wide input
// correction is on, and its network module switches that off when it opens a port: a report
// whose SOP class UID carries its padding byte would then be no structured report. Every read
// here holds ReadMutex(), so the setting is switched on for the read and given back after it,
// and no caller has to keep it on.
class InputCorrectionForRead {
public:
    InputCorrectionForRead() : before_(dcmEnableAutomaticInputDataCorrection.get()) {
        dcmEnableAutomaticInputDataCorrection.set(OFTrue);
    }
    ~InputCorrectionForRead() { dcmEnableAutomaticInputDataCorrection.set(before_); }
    InputCorrectionForRead(const InputCorrectionForRead&) = delete;
    InputCorrectionForRead& operator=(const InputCorrectionForRead&) = delete;

private:
    OFBool before_;
};

}  // namespace

const char* PlaneName(AcquisitionPlane plane) {
    switch (plane) {
    case AcquisitionPlane::Single: return "single";
    case AcquisitionPlane::A: return "A";
    case AcquisitionPlane::B: return "B";
    }
    return "";
}

const char* PlaneLabel(AcquisitionPlane plane) {
    switch (plane) {
    case AcquisitionPlane::Single: return "単一平面";
    case AcquisitionPlane::A: return "平面 A";
    case AcquisitionPlane::B: return "平面 B";
    }
    return "";
}

const char* EventTypeName(EventType type) {
    switch (type) {
    case EventType::Fluoroscopy: return "fluoroscopy";
    case EventType::StationaryAcquisition: return "stationary";
    case EventType::RotationalAcquisition: return "rotational";
    case EventType::SteppingAcquisition: return "stepping";
    case EventType::Other: return "other";
    }
    return "";
}

std::optional<double> XrayFilter::ThicknessMm() const {
    if (MinimumThicknessMm && MaximumThicknessMm)
        return std::max(*MinimumThicknessMm, *MaximumThicknessMm);
    return MinimumThicknessMm ? MinimumThicknessMm : MaximumThicknessMm;
}

ReportReading ReadDoseReport(const std::string& path) {
    // Checked before opening: a named pipe would block, a device or a huge file would be read
    // into memory without end.
    const auto bytes = ReadFileBytes(QString::fromStdString(path), kDoseReportMaxBytes);
    if (!bytes) {
        ReportReading reading;
        reading.Error =
            "DICOM ファイルとして読めません (" + bytes.error().message().toStdString() + ")";
        return reading;
    }
    return ReadDoseReportBytes(reinterpret_cast<const unsigned char*>(bytes->constData()),
                               static_cast<std::size_t>(bytes->size()));
}

ReportReading ReadDoseReportBytes(const unsigned char* data, std::size_t size) {
    ReportReading reading;
    // The toolkit's reader recurses once per level of nesting and believes every length.
    if (const std::string problem = ScanStructure(data, size); !problem.empty()) {
        reading.Error = "DICOM ファイルとして読めません (" + problem + ")";
        return reading;
    }
    const std::lock_guard<std::mutex> lock(ReadMutex());
    const InputCorrectionForRead correction;
    NoteCapture capture;

    DcmFileFormat file;
    DcmInputBufferStream stream;
    stream.setBuffer(data, static_cast<offile_off_t>(size));
    stream.setEos();
    file.transferInit();
    OFCondition status = file.read(stream, EXS_Unknown, EGL_noChange, DCM_MaxReadLength);
    file.transferEnd();
    if (status.bad()) {
        reading.Error = std::string("DICOM ファイルとして読めません (") + status.text() + ")";
        return reading;
    }
    DcmDataset& dataset = *file.getDataset();
    OFString sopClass;
    dataset.findAndGetOFString(DCM_SOPClassUID, sopClass);
    if (sopClass == UID_EnhancedXRayRadiationDoseSRStorage) {
        reading.Error =
            "Enhanced X-Ray Radiation Dose SR (拡張 X 線線量レポート) は、"
            "このプログラムが読めない保存クラスです";
        return reading;
    }
    std::vector<std::string> notes;
    OFString characterSet;
    dataset.findAndGetOFStringArray(DCM_SpecificCharacterSet, characterSet);
    if (!characterSet.empty() && characterSet != "ISO_IR 192" && dataset.convertToUTF8().bad())
        notes.push_back("文字を UTF-8 に変換できなかったため、記録のまま表示します");

    CheckNumericValues(dataset, notes);

    DSRDocument document;
    const size_t flags =
        DSRTypes::RF_acceptInvalidContentItemValue | DSRTypes::RF_ignoreRelationshipConstraints |
        DSRTypes::RF_skipInvalidContentItems | DSRTypes::RF_acceptUnknownRelationshipType |
        DSRTypes::RF_ignoreContentItemErrors;
    status = document.read(dataset, flags);
    if (status.bad()) {
        reading.Error = std::string("DICOM 構造化レポートではありません (") + status.text() + ")";
        return reading;
    }
    DSRDocumentTree& tree = document.getTree();
    if (tree.gotoRoot() == 0) {
        reading.Error = "構造化レポートに内容がありません";
        return reading;
    }
    const Item root = CopyItem(tree);
    if (root.Concept != code::kXrayRadiationDoseReport) {
        reading.Error = "X 線線量レポートではありません: 表題は \"" + root.ConceptMeaning + "\" (" +
                        root.Concept + ")";
        return reading;
    }
    if (!HasConcept(root, code::kIrradiationEventXrayData) &&
        (HasConcept(root, code::kCtAccumulatedDoseData) ||
         HasConcept(root, code::kCtAcquisition))) {
        reading.Error =
            "CT の線量レポートです: 読めるのは透視・撮影装置 (投影 X 線) のレポートだけです";
        return reading;
    }

    DoseReport report;
    report.Manufacturer = HeaderText(&DSRDocument::getManufacturer, document);
    report.Model = HeaderText(&DSRDocument::getManufacturerModelName, document);
    report.SerialNumber = HeaderText(&DSRDocument::getDeviceSerialNumber, document);
    report.StudyDate = HeaderText(&DSRDocument::getStudyDate, document);
    report.PatientName = HeaderText(&DSRDocument::getPatientName, document);
    report.PatientId = HeaderText(&DSRDocument::getPatientID, document);
    report.PatientBirthDate = HeaderText(&DSRDocument::getPatientBirthDate, document);
    ReadObserverContext(root, report);
    ReadPatientSizeHeader(dataset, report.Patient, notes);
    ReadPatientItems(root, report, notes);

    CollectContainers(root, report, notes);
    DropRepeatedEvents(report, notes);
    for (std::size_t i = 0; i < report.Events.size(); ++i) {
        for (const std::string& note : report.Events[i].Notes)
            notes.push_back(EventLabel(i, report.Events[i]) + ": " + note);
    }
    // The device's own totals against the sum of its events: a difference means events are
    // missing from the report (or were refused), so the event sums understate the procedure.
    for (const AccumulatedTotals& totals : report.Totals) {
        if (!totals.ReferenceAirKermaMGy) continue;
        double sum = 0;
        for (const IrradiationEvent& event : report.Events)
            if (event.Plane == totals.Plane) sum += event.ReferenceAirKermaMGy.value_or(0.0);
        if (std::abs(sum - *totals.ReferenceAirKermaMGy) > 0.01 * *totals.ReferenceAirKermaMGy) {
            const auto [total, events] = DifferingTexts(*totals.ReferenceAirKermaMGy, sum);
            notes.push_back(std::string(PlaneLabel(totals.Plane)) +
                            ": 装置の Ka,r 合計 (Dose (RP) Total) " + total +
                            " mGy に対し、照射の和は " + events + " mGy");
        }
    }
    for (const std::string& message : capture.Messages()) {
        // The toolkit cannot check value representations in UTF-8; that says nothing about the
        // report.
        if (message.find("VR checker does not support") != std::string::npos) continue;
        notes.push_back("読込時の警告: " + message);  // the toolkit's own words
    }
    if (report.Events.empty()) notes.push_back("レポートに照射の記録がありません");
    report.Notes = std::move(notes);
    reading.Report = std::move(report);
    return reading;
}

bool IsDoseReportFile(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    if (!info.isFile() || info.size() > kDoseReportMaxBytes) return false;
    const std::lock_guard<std::mutex> lock(ReadMutex());
    const InputCorrectionForRead correction;
    NoteCapture capture;
    DcmFileFormat file;
    if (file.loadFileUntilTag(path.c_str(), EXS_Unknown, EGL_noChange, DCM_MaxReadLength,
                              ERM_autoDetect, DCM_SOPClassUID)
            .bad())
        return false;
    OFString sopClass;
    if (file.getMetaInfo()->findAndGetOFString(DCM_MediaStorageSOPClassUID, sopClass).bad() &&
        file.getDataset()->findAndGetOFString(DCM_SOPClassUID, sopClass).bad())
        return false;
    return sopClass == UID_XRayRadiationDoseSRStorage ||
           sopClass == UID_EnhancedXRayRadiationDoseSRStorage;
}

}  // namespace ordevo::rdsr
