// Reading a typed case into the dose case.
#include "case_entry.h"

#include "evaluation_messages.h"
#include "number_box.h"
#include "number_format.h"

namespace ordevo {

CaseReading ReadCase(const CaseEntry& entry) {
    const auto refuse = [](CaseRefusalKind kind, std::optional<CaseBox> box, QString message) {
        return CaseReading{std::nullopt, CaseRefusal{kind, box, std::move(message)}};
    };
    // One number per box: "1O0" is refused, never read as its leading 1.
    for (const auto& [box, text] :
         {std::pair{CaseBox::ReferenceAirKerma, &entry.ReferenceAirKerma},
          std::pair{CaseBox::KermaAreaProduct, &entry.KermaAreaProduct},
          std::pair{CaseBox::FocusSkinDistance, &entry.FocusSkinDistance}}) {
        if (!ReadNumberBox(*text).NumberOrBlank())
            return refuse(CaseRefusalKind::NotANumber, box,
                          NotANumberMessage(box, QString::fromStdString(*text)));
    }
    // The completeness rule: no voltage, or a box left blank. A box holding 0 was filled in:
    // it is refused below by its name, not as missing.
    const auto blank = [](const std::string& text) { return ReadNumberBox(text).Blank; };
    if (LeadingNumber(entry.TubeVoltage) == 0.0 || blank(entry.ReferenceAirKerma) ||
        blank(entry.KermaAreaProduct) || blank(entry.FocusSkinDistance))
        return refuse(CaseRefusalKind::Incomplete, std::nullopt,
                      QString::fromUtf8(kIncompleteInputMessage));
    const double kar = LeadingNumber(entry.ReferenceAirKerma);
    const double pka = LeadingNumber(entry.KermaAreaProduct);
    const double fsd = LeadingNumber(entry.FocusSkinDistance);
    const auto notPositive = [&](CaseBox box) {
        return refuse(CaseRefusalKind::NotPositive, box, NotPositiveMessage(box));
    };
    if (!(kar > 0) || entry.StoredReferenceAirKermaMGy < 0)
        return notPositive(CaseBox::ReferenceAirKerma);
    if (!(pka > 0) || entry.StoredKermaAreaProductGyCm2 < 0)
        return notPositive(CaseBox::KermaAreaProduct);
    if (!(fsd > 0)) return notPositive(CaseBox::FocusSkinDistance);
    if (entry.Shape == FieldShape::None)
        return refuse(CaseRefusalKind::NoShape, std::nullopt,
                      QString::fromUtf8(kNoFieldShapeMessage));
    const double fieldSize = entry.FieldSizeCm;
    if (!(fieldSize > 0))
        return refuse(CaseRefusalKind::NoFieldSize, std::nullopt,  // the text names both boxes
                      QString::fromUtf8(kFieldSizeInputMessage));
    const double receptor = entry.Equipment.FocusReceptorDistance;
    if (receptor > 0 && fsd >= receptor)
        return refuse(CaseRefusalKind::BeyondReceptor, CaseBox::FocusSkinDistance,
                      FocusSkinDistanceBeyondReceptorMessage(fsd, receptor));

    DoseCase c;
    c.ReferenceAirKermaMGy = entry.StoredReferenceAirKermaMGy;
    c.KermaAreaProductGyCm2 = entry.StoredKermaAreaProductGyCm2;
    c.FocusSkinDistanceCm = fsd;
    c.ReferenceFieldSizeCm = fieldSize;
    c.Shape = entry.Shape;
    c.ReferencePointDistanceCm = entry.ReferencePointDistanceCm;
    c.Equipment = entry.Equipment;
    c.Voltage = entry.Voltage;
    return CaseReading{c, std::nullopt, fsd < kShortestPlausibleFocusSkinDistanceCm};
}

std::string BodyPartOf(const CaseEntry& entry) {
    return entry.BodyPart.empty() ? "---" : entry.BodyPart;
}

std::string FieldSizeText(double sizeCm) { return FormatNumber(sizeCm, "#0.00"); }

double ShownFieldSize(double sizeCm) { return LeadingNumber(FieldSizeText(sizeCm)); }

}  // namespace ordevo
