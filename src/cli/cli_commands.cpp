#include "cli_commands.h"

#include <QDir>
#include <QString>

#include "couch.h"
#include "dose_evaluation.h"
#include "equipment_file.h"
#include "field_size.h"
#include "input_messages.h"
#include "json_writer.h"
#include "number_format.h"
#include "reference_files.h"
#include "result_labels.h"
#include "scatter_kernel_file.h"
#include "spectrum.h"
#include "spectrum_file.h"
#include "tube_voltage_text.h"
#include "working_folder.h"

namespace ordevo::cli {

const std::vector<std::string> kEvaluateOptions = {
    "data", "equipment", "kv", "kv-low", "kv-high", "weighting",
    "kar", "pka", "shape", "fsd", "body-part"};
const std::vector<std::string> kSpectrumOptions = {
    "data", "equipment", "kv", "kv-low", "kv-high", "weighting"};
const std::vector<std::string> kCouchOptions = {
    "data", "equipment", "typical-kv", "without", "with", "displayed"};

namespace {

// A failure the window would report in a message box: printed as {"error": text}, exit 1.
struct ReportedFailure {
    std::string message;
};

int PrintFailure(std::ostream& out, const std::string& message) {
    out << JsonObject().String("error", message).Text() << "\n";
    return 1;
}

// The tube-voltage window's OK: a fixed voltage from its box, or a range from its two boxes.
TubeVoltageRange ReadVoltage(const Arguments& args) {
    const bool fixed = args.Has("kv");
    const bool range = args.Has("kv-low") || args.Has("kv-high") || args.Has("weighting");
    if (fixed == range)
        throw UsageError("give either --kv or --kv-low, --kv-high and --weighting");
    std::optional<TubeVoltageRange> voltage;
    if (fixed) {
        const std::string text = args.Require("kv");
        if (!text.empty()) voltage = MakeFixedTubeVoltage(LeadingNumber(text));
    } else {
        const std::string weighting = args.Require("weighting");
        if (weighting != "equal" && weighting != "normal")
            throw UsageError("--weighting must be equal or normal");
        voltage = MakeTubeVoltageRange(LeadingNumber(args.Require("kv-low")),
                                       LeadingNumber(args.Require("kv-high")),
                                       weighting == "equal" ? TubeVoltageWeighting::Equal
                                                            : TubeVoltageWeighting::Normal);
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

// --data, or the folder the window program would work in when started here: this folder when
// it holds the reference files, else the per-user data folder, seeded from the installation.
QString DataFolder(const Arguments& args) {
    if (const std::optional<std::string> data = args.Get("data")) return QString::fromStdString(*data);
    const FileResult<QString> folder = ChooseWorkingFolder(PlacesForStartIn(QDir::currentPath()));
    if (!folder) throw ReportedFailure{folder.error().what()};
    return *folder;
}

ReferenceData ReadReference(const QString& folder) {
    auto ref = ReadReferenceData(folder);
    if (!ref) throw ReportedFailure{ref.error().what()};
    return std::move(ref).value();
}

EquipmentFileContents ReadEquipment(const Arguments& args, const QString& folder) {
    auto equipment = LoadEquipmentFile(QString::fromStdString(args.Require("equipment")), folder);
    if (!equipment) throw ReportedFailure{equipment.error().what()};
    return std::move(equipment).value();
}

JsonObject EvaluationJson(const DoseEvaluation& e, const std::string& fieldSizeText) {
    const CaseConditions& c = e.Conditions;
    const DoseResult& r = e.Result;
    JsonObject labels;
    labels.String("Label65", fieldSizeText);
    for (const auto& [name, text] : AllResultLabels(r)) labels.String(name, text);
    JsonObject json;
    json.Number("ReferenceFieldSize", c.ReferenceFieldSize)
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
        .String("BodyPart", c.BodyPart)
        .String("TubeVoltageText", c.TubeVoltageText)
        .Object("labels", labels);
    return json;
}

}  // namespace

int RunEvaluate(const Arguments& args, std::ostream& out) {
    const FieldShape shape = ReadShape(args);
    const std::string karText = args.Require("kar");
    const std::string pkaText = args.Require("pka");
    const std::string fsdText = args.Require("fsd");
    try {
        const QString folder = DataFolder(args);
        const ReferenceData ref = ReadReference(folder);
        const EquipmentFileContents equipment = ReadEquipment(args, folder);
        const TubeVoltageRange voltage = ReadVoltage(args);

        EvaluationInputs in;
        in.BodyPartText = args.Get("body-part").value_or("");
        in.TubeVoltageText = TubeVoltageText(voltage);
        in.TubeVoltageTextValue = LeadingNumber(in.TubeVoltageText);
        in.ReferenceAirKermaTextValue = LeadingNumber(karText);
        in.KermaAreaProductTextValue = LeadingNumber(pkaText);
        in.FocusSkinDistanceTextValue = LeadingNumber(fsdText);
        in.ReferenceAirKerma = in.ReferenceAirKermaTextValue;
        in.KermaAreaProduct = in.KermaAreaProductTextValue;
        in.Equipment = equipment.Data;
        in.Voltage = voltage;

        // The field-size option only takes when both dose boxes hold text; otherwise it is
        // switched off again and the field size stays empty, as in the window.
        std::string fieldSizeText;
        if (!karText.empty() && !pkaText.empty()) {
            double size = 0;
            try {
                size = ComputeReferenceFieldSize(shape, in.ReferenceAirKerma, in.KermaAreaProduct);
            } catch (const CalculationError&) {
                throw ReportedFailure{kFieldSizeInputMessage};
            }
            fieldSizeText = FormatNumber(size, "#0.00");
            in.Shape = shape;
        }
        in.ReferenceFieldSize = LeadingNumber(fieldSizeText);

        const DoseEvaluation evaluation = EvaluateDose(ref, in, MakeScatterKernelLoader(folder));
        if (evaluation.Outcome != EvaluationOutcome::Completed)
            return PrintFailure(out, MessageFor(evaluation.Outcome));
        out << EvaluationJson(evaluation, fieldSizeText).Text() << "\n";
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
        } catch (const CalculationError&) {
            throw ReportedFailure{kCalculationFailedMessage};
        }
        out << SpectrumFileText(spectrum.XraySpectrum);
        return 0;
    } catch (const ReportedFailure& failure) {
        return PrintFailure(out, failure.message);
    }
}

int RunCouch(const Arguments& args, std::ostream& out) {
    const std::string withoutText = args.Require("without");
    const std::string withText = args.Require("with");
    const std::string displayedText = args.Require("displayed");
    const std::string typicalKvText = args.Require("typical-kv");
    try {
        const QString folder = DataFolder(args);
        const ReferenceData ref = ReadReference(folder);
        const EquipmentFileContents equipment = ReadEquipment(args, folder);
        // The editor checks its boxes for text before anything else; the typical voltage is
        // validated with the computation.
        if (withoutText.empty() || withText.empty() || displayedText.empty())
            throw ReportedFailure{kCouchEmptyInputMessage};
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
            throw ReportedFailure{MessageFor(error.problem())};
        }
        JsonObject labels;
        labels.String("Label21", FormatNumber(result.CouchTransmission, "0.000"))
            .String("Label38", FormatNumber(result.CouchSoftTissueThickness, "#0.0"))
            .String("Label27", FormatNumber(result.CalibrationConstant, "0.000"));
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
