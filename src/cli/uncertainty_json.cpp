#include "uncertainty_json.h"

#include <string>
#include <vector>

namespace ordevo::cli {

namespace {

// The unit of a component's input uncertainty: lengths in cm, every other one relative.
const char* InputUnitOf(UncertaintySource source) {
    switch (source) {
    case UncertaintySource::AluminiumFiltration:
    case UncertaintySource::FocusSkinDistance:
    case UncertaintySource::PatientPlacement: return "cm";
    default: return "relative";
    }
}

}  // namespace

void AddUncertainty(JsonObject& json, const std::optional<UncertaintyBudget>& budget,
                    const UncertaintyKnowledge& known) {
    if (!budget) {
        json.Null("skinDoseExpandedUncertainty").Null("uncertaintyBudget");
        return;
    }
    std::vector<JsonObject> components;
    for (const UncertaintyComponent& c : budget->Components) {
        JsonObject item;
        item.String("name", std::string(UncertaintySourceKey(c.Source)))
            .String("label", std::string(UncertaintySourceName(c.Source)))
            .Number("inputStandardUncertainty", c.InputStandardUncertainty)
            .String("inputUnit", InputUnitOf(c.Source))
            .Number("doseStandardUncertaintyMGy", c.DoseStandardUncertainty);
        components.push_back(item);
    }
    JsonObject details;
    details.Number("coverageFactor", kCoverageFactor)
        .Number("skinDoseMGy", budget->SkinDose)
        .Number("combinedStandardUncertaintyMGy", budget->CombinedStandardUncertainty())
        .Number("expandedUncertaintyMGy", budget->ExpandedUncertainty())
        .Number("relativeExpandedUncertainty", budget->RelativeExpandedUncertainty())
        .Bool("calibrationMeasured", known.CalibrationMeasured)
        .Bool("couchMeasured", known.CouchMeasured)
        .Number("focusSkinDistanceUncertaintyCm", known.FocusSkinDistanceCm)
        .Array("components", components);
    json.Number("skinDoseExpandedUncertainty", budget->ExpandedUncertainty())
        .Object("uncertaintyBudget", details);
}

}  // namespace ordevo::cli
