#include "cli_commands.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <iostream>

#include "calculation_messages.h"
#include "case_entry.h"
#include "input_checks.h"
#include "couch.h"
#include "cp932_text.h"
#include "dose_evaluation.h"
#include "equipment_file.h"
#include "evaluation_messages.h"
#include "field_size.h"
#include "case_messages.h"
#include "json_writer.h"
#include "measurement_record_file.h"
#include "number_box.h"
#include "number_format.h"
#include "reference_files.h"
#include "result_labels.h"
#include "report_evaluation.h"
#include "scatter_kernel_file.h"
#include "spectrum.h"
#include "spectrum_file.h"
#include "tube_voltage_text.h"
#include "uncertainty_json.h"
#include "working_folder.h"

namespace ordevo::cli {

const std::vector<std::string> kEvaluateOptions = {
    "data", "equipment", "kv",    "kv-low", "kv-high",   "weighting",
    "kar",  "pka",       "shape", "fsd",    "body-part", "fsd-uncertainty"};
const std::vector<std::string> kSpectrumOptions = {"data",   "equipment", "kv",
                                                   "kv-low", "kv-high",   "weighting"};
const std::vector<std::string> kCouchOptions = {"data",    "equipment", "typical-kv",
                                                "without", "with",      "displayed"};

namespace {

// A failure the window would report in a message box: printed as {"error": text}, exit 1.
struct ReportedFailure {
    std::string message;
};

// A box's text as the windows take it: full-width digits and signs become ASCII.
std::string HalfWidth(const std::string& text) { return ReadNumberBox(text).Text.toStdString(); }

// What the windows' number boxes accept: one number, or nothing typed.
bool OneNumberOrEmpty(const std::string& text) { return ReadNumberBox(text).NumberOrBlank(); }

int PrintFailure(std::ostream& out, const std::string& message) {
    out << JsonObject().String("error", message).Text() << "\n";
    return 1;
}

// The tube-voltage window's OK: a fixed voltage from its box, or a range from its two boxes.
TubeVoltageRange ReadVoltage(const Arguments& args) {
    const bool fixed = args.Has("kv");
    const bool range = args.Has("kv-low") || args.Has("kv-high") || args.Has("weighting");
    if (fixed == range) throw UsageError("give either --kv or --kv-low, --kv-high and --weighting");
    // Each box holds one number, or the window refuses the setting.
    bool numbers = true;
    auto valueOf = [&args, &numbers](const char* option) {
        const NumberBoxText box = ReadNumberBox(args.Require(option));
        if (!box.Value) numbers = false;
        return box.Value.value_or(0);
    };
    std::optional<TubeVoltageRange> voltage;
    if (fixed) {
        const double kv = valueOf("kv");
        if (numbers) voltage = MakeFixedTubeVoltage(kv);
    } else {
        const std::string weighting = args.Require("weighting");
        if (weighting != "equal" && weighting != "normal")
            throw UsageError("--weighting must be equal or normal");
        const double low = valueOf("kv-low");
        const double high = valueOf("kv-high");
        if (numbers)
            voltage = MakeTubeVoltageRange(
                low, high,
                weighting == "equal" ? TubeVoltageWeighting::Equal : TubeVoltageWeighting::Normal);
    }
    if (!voltage) throw ReportedFailure{kTubeVoltageInputMessage};
    return *voltage;
}

FieldShape ReadShape(const Arguments& args) {
    const std::string shape = args.Require("shape");
    if (shape == "square") return FieldShape::Square;
    if (shape == "circle") return FieldShape::Circle;
    throw UsageError("--shape must be square or circle");
}

QString DataFolder(const Arguments& args) {
    FileResult<QString> folder = ChooseDataFolder(args);
    if (!folder) throw ReportedFailure{folder.error().what()};
    return *folder;
}

ReferenceData ReadReference(const QString& folder) {
    auto ref = ReadReferenceData(folder);
    if (!ref)
        throw ReportedFailure{std::string(kReferenceDataUnreadableMessage) + "\n" +
                              ref.error().what()};
    return std::move(ref).value();
}

}  // namespace

QString EquipmentPath(const std::string& given, const QString& dataFolder) {
    const QString name = QString::fromStdString(given);
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) return name;
    const QString inData = QDir(dataFolder).filePath(name);
    return QFileInfo::exists(inData) ? inData : name;
}

namespace {

EquipmentFileContents ReadEquipment(const Arguments& args, const QString& folder) {
    const QString path = EquipmentPath(args.Require("equipment"), folder);
    auto equipment = LoadEquipmentFile(path, folder);
    if (!equipment)
        throw ReportedFailure{
            EquipmentFileUnreadableMessage(FileNameOf(path), equipment.error().message())
                .toStdString()};
    return std::move(equipment).value();
}

JsonObject EvaluationJson(const DoseEvaluation& e, const CaseEntry& entry) {
    const std::string fieldSize = entry.FieldSizeCm > 0 ? FieldSizeText(entry.FieldSizeCm) : "";
    const CaseConditions& c = e.Conditions;
    const DoseResult& r = e.Result;
    // Each text twice: under the name of the number it shows with "Text" added (a name of its
    // own, so that no key stands for both a number and a text), and under the main window's
    // label number, which existing callers read.
    const ResultTexts t = AllResultTexts(r);
    const std::pair<const char*, const std::string*> shown[] = {
        {"ReferenceFieldSizeText", &fieldSize},
        {"CorrectedReferenceAirKermaText", &*t.CorrectedReferenceAirKerma},
        {"CorrectedKermaAreaProductText", &*t.CorrectedKermaAreaProduct},
        {"CouchTransmissionText", &*t.CouchTransmission},
        {"EntranceAirKermaText", &*t.EntranceAirKerma},
        {"TissueToAirDoseRatioText", &*t.TissueToAirDoseRatio},
        {"ScatterFactorText", &*t.ScatterFactor},
        {"SkinDoseText", &*t.SkinDose}};
    const char* const windowLabels[] = {"Label65", "Label68", "Label69", "Label70",
                                        "Label71", "Label72", "Label73", "Label74"};
    JsonObject labels;
    for (const auto& [name, text] : shown) labels.String(name, *text);
    for (std::size_t i = 0; i < std::size(windowLabels); ++i)
        labels.String(windowLabels[i], *shown[i].second);
    JsonObject json;
    json.Number("ReferenceFieldSize", c.ReferenceFieldSize)
        .Number("ReferencePointDistance", c.ReferencePointDistance)
        .Number("PhantomSurfaceDistance", c.PhantomSurfaceDistance)
        .Number("SurfaceFieldSize", c.SurfaceFieldSize)
        .Number("TubeVoltage", c.TubeVoltage)
        .Number("CorrectedReferenceAirKerma", r.CorrectedReferenceAirKerma)
        .Number("CorrectedKermaAreaProduct", r.CorrectedKermaAreaProduct)
        .Number("CouchTransmission", r.CouchTransmission)
        .Number("EntranceAirKerma", r.EntranceAirKerma)
        .Number("TissueToAirDoseRatio", r.TissueToAirDoseRatio)
        .Number("BackscatterFactor", r.BackscatterFactor)
        .Number("DepthDoseFactor", r.DepthDoseFactor)
        .Number("ScatterFactor", r.ScatterFactor)
        .Number("SkinDose", r.SkinDose)
        .String("BodyPart", BodyPartOf(entry))
        .String("TubeVoltageText", entry.TubeVoltage)
        .Object("labels", labels);
    return json;
}

}  // namespace

UncertaintyKnowledge ReadKnowledge(const Arguments& args, const std::string& equipmentOption,
                                   const QString& dataFolder) {
    UncertaintyKnowledge known =
        KnowledgeBeside(EquipmentPath(args.Get(equipmentOption).value_or(""), dataFolder));
    if (const std::optional<std::string> fsd = args.Get("fsd-uncertainty")) {
        const std::optional<double> cm = ReadNumberBox(*fsd).Value;
        if (!cm || !(*cm >= 0.0) || *cm > 50.0)
            throw UsageError("--fsd-uncertainty must be a number of cm from 0 to 50");
        known.FocusSkinDistanceCm = *cm;
    }
    return known;
}

FileResult<QString> ChooseDataFolder(const Arguments& args) {
    if (const std::optional<std::string> data = args.Get("data"))
        return QString::fromStdString(*data);
    return ChooseWorkingFolder(PlacesForStartIn(QDir::currentPath()));
}

int RunEvaluate(const Arguments& args, std::ostream& out) {
    const FieldShape shape = ReadShape(args);
    const std::string karText = HalfWidth(args.Require("kar"));
    const std::string pkaText = HalfWidth(args.Require("pka"));
    const std::string fsdText = HalfWidth(args.Require("fsd"));
    try {
        // The main window refuses a box holding more than one number as the focus leaves it.
        for (const auto& [box, text] : {std::pair{CaseBox::ReferenceAirKerma, karText},
                                        std::pair{CaseBox::KermaAreaProduct, pkaText},
                                        std::pair{CaseBox::FocusSkinDistance, fsdText}}) {
            if (!OneNumberOrEmpty(text))
                throw ReportedFailure{
                    NotANumberMessage(box, QString::fromStdString(text)).toStdString()};
        }
        const QString folder = DataFolder(args);
        const ReferenceData ref = ReadReference(folder);
        const EquipmentFileContents equipment = ReadEquipment(args, folder);
        const TubeVoltageRange voltage = ReadVoltage(args);

        // The boxes' handlers store the leading numbers of what was typed.
        CaseEntry entry{.BodyPart = args.Get("body-part").value_or(""),
                        .TubeVoltage = TubeVoltageText(voltage),
                        .ReferenceAirKerma = karText,
                        .KermaAreaProduct = pkaText,
                        .FocusSkinDistance = fsdText,
                        .StoredReferenceAirKermaMGy = LeadingNumber(karText),
                        .StoredKermaAreaProductGyCm2 = LeadingNumber(pkaText),
                        .Equipment = equipment.Data,
                        .Voltage = voltage};
        // The field-size option only takes when both dose boxes hold text; otherwise it is
        // switched off again and the field size stays empty, as in the window.
        if (!karText.empty() && !pkaText.empty()) {
            try {
                entry.FieldSizeCm = ShownFieldSize(ComputeReferenceFieldSize(
                    shape, entry.StoredReferenceAirKermaMGy, entry.StoredKermaAreaProductGyCm2));
            } catch (const CalculationError&) {
                throw ReportedFailure{kFieldSizeInputMessage};
            }
            entry.Shape = shape;
        }
        const CaseReading reading = ReadCase(entry);
        if (reading.Refusal) throw ReportedFailure{reading.Refusal->Message.toStdString()};
        const DoseCase& in = *reading.Case;
        // Where the window asks, the command goes on and says why the distance looks wrong.
        if (reading.ShortFocusSkinDistance)
            std::cerr << ShortFocusSkinDistanceNote(in.FocusSkinDistanceCm).toStdString() << "\n";

        // The uncertainty evaluates the chain a dozen times more: the kernels are read once.
        const ScatterKernelLoader loadKernel =
            rdsr::MakeCachingKernelLoader(MakeScatterKernelLoader(folder));
        const DoseEvaluation evaluation = EvaluateDose(ref, in, loadKernel);
        if (evaluation.Outcome != EvaluationOutcome::Completed) {
            // As the window says it: the fixed message, then the input to blame and its range,
            // or else the computation's own reason.
            const QStringList reasons = FailedInputReasons(ref, in);
            if (reasons.isEmpty()) return PrintFailure(out, FailureMessageFor(evaluation));
            std::string message = MessageFor(evaluation.Outcome);
            for (const QString& reason : reasons) {
                message += '\n';
                message += reason.toStdString();
            }
            return PrintFailure(out, message);
        }
        const UncertaintyKnowledge known = ReadKnowledge(args, "equipment", folder);
        JsonObject json = EvaluationJson(evaluation, entry);
        AddUncertainty(json, EvaluateUncertainty(ref, in, evaluation, known, loadKernel), known);
        out << json.Text() << "\n";
        return 0;
    } catch (const ReportedFailure& failure) {
        return PrintFailure(out, failure.message);
    }
}

int RunSpectrum(const Arguments& args, std::ostream& out) {
    try {
        const QString folder = DataFolder(args);
        const ReferenceData ref = ReadReference(folder);
        const EquipmentFileContents equipment = ReadEquipment(args, folder);
        const TubeVoltageRange voltage = ReadVoltage(args);
        SpectrumResult spectrum;
        try {
            spectrum = ComputeSpectrum(ref.Attenuation, equipment.Data, voltage);
        } catch (const CalculationError& error) {
            throw ReportedFailure{std::string(kCalculationFailedMessage) + "\n" +
                                  DescribeCalculationFailure(error.Failure())};
        }
        out << SpectrumFileText(spectrum.XraySpectrum);
        return 0;
    } catch (const ReportedFailure& failure) {
        return PrintFailure(out, failure.message);
    }
}

int RunCouch(const Arguments& args, std::ostream& out) {
    const std::string withoutText = HalfWidth(args.Require("without"));
    const std::string withText = HalfWidth(args.Require("with"));
    const std::string displayedText = HalfWidth(args.Require("displayed"));
    const std::string typicalKvText = HalfWidth(args.Require("typical-kv"));
    try {
        const QString folder = DataFolder(args);
        const ReferenceData ref = ReadReference(folder);
        const EquipmentFileContents equipment = ReadEquipment(args, folder);
        // The editor checks its boxes for text before anything else; the typical voltage is
        // validated with the computation.
        if (withoutText.empty() || withText.empty() || displayedText.empty())
            throw ReportedFailure{kCouchEmptyInputMessage};
        // Then, as the editor, that each holds one number.
        for (const auto& [problem, text] :
             {std::pair{CouchInputProblem::TypicalTubeVoltage, typicalKvText},
              std::pair{CouchInputProblem::AirKermaWithoutCouch, withoutText},
              std::pair{CouchInputProblem::AirKermaWithCouch, withText},
              std::pair{CouchInputProblem::DisplayedReferenceAirKerma, displayedText}}) {
            if (!OneNumberOrEmpty(text))
                throw ReportedFailure{CouchNotANumberMessage(problem, text)};
        }
        CouchMeasurement m;
        m.TypicalTubeVoltageKv = LeadingNumber(typicalKvText);
        m.AirKermaWithoutCouchMGy = LeadingNumber(withoutText);
        m.AirKermaWithCouchMGy = LeadingNumber(withText);
        m.DisplayedReferenceAirKermaMGy = LeadingNumber(displayedText);
        m.FocusIsocentreDistanceCm = equipment.Data.FocusIsocentreDistance;
        CouchCalibration result;
        try {
            result = ComputeCouchCalibration(ref.Attenuation, equipment.Data, m);
        } catch (const CouchInputError& error) {
            throw ReportedFailure{CouchFailureMessage(error)};
        }
        // Each text under the name of the number it shows with "Text" added, and under the
        // equipment editor's label number, which existing callers read.
        const CouchResultTexts texts = CouchTexts(result);
        JsonObject labels;
        labels.String("CouchTransmissionText", texts.CouchTransmission)
            .String("CouchSoftTissueThicknessText", texts.CouchSoftTissueThickness)
            .String("CalibrationConstantText", texts.CalibrationConstant)
            .String("Label21", texts.CouchTransmission)
            .String("Label38", texts.CouchSoftTissueThickness)
            .String("Label27", texts.CalibrationConstant);
        JsonObject json;
        json.Number("CouchTransmission", result.CouchTransmission)
            .Number("CalibrationConstant", result.CalibrationConstant)
            .Number("CouchSoftTissueThickness", result.CouchSoftTissueThickness)
            .Object("labels", labels);
        out << json.Text() << "\n";
        return 0;
    } catch (const ReportedFailure& failure) {
        return PrintFailure(out, failure.message);
    }
}

}  // namespace ordevo::cli
