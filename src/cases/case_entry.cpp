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
    const double kar = LeadingNumber(entry.ReferenceAirKerma);
    const double pka = LeadingNumber(entry.KermaAreaProduct);
    const double fsd = LeadingNumber(entry.FocusSkinDistance);
    // The completeness rule: a text that reads as 0 or nothing leaves the case incomplete.
    if (LeadingNumber(entry.TubeVoltage) * kar * pka * fsd == 0.0)
        return refuse(CaseRefusalKind::Incomplete, std::nullopt,
                      QString::fromUtf8(kIncompleteInputMessage));
    const auto notPositive = [&](CaseBox box) {
        return refuse(CaseRefusalKind::NotPositive, box, NotPositiveMessage(box));
    };
    if (kar < 0 || entry.StoredReferenceAirKermaMGy < 0)
        return notPositive(CaseBox::ReferenceAirKerma);
    if (pka < 0 || entry.StoredKermaAreaProductGyCm2 < 0)
        return notPositive(CaseBox::KermaAreaProduct);

    DoseCase c;
    c.ReferenceAirKermaMGy = entry.StoredReferenceAirKermaMGy;
    c.KermaAreaProductGyCm2 = entry.StoredKermaAreaProductGyCm2;
    c.FocusSkinDistanceCm = fsd;
    c.ReferenceFieldSizeCm = LeadingNumber(entry.FieldSize);
    c.Shape = entry.Shape;
    c.ReferencePointDistanceCm = entry.ReferencePointDistanceCm;
    c.Equipment = entry.Equipment;
    c.Voltage = entry.Voltage;
    return CaseReading{c, std::nullopt};
}

std::string BodyPartOf(const CaseEntry& entry) {
    return entry.BodyPart.empty() ? "---" : entry.BodyPart;
}

std::string FieldSizeText(double sizeCm) { return FormatNumber(sizeCm, "#0.00"); }

double ShownFieldSize(double sizeCm) { return LeadingNumber(FieldSizeText(sizeCm)); }

}  // namespace ordevo
