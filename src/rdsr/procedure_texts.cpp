#include "procedure_texts.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcsequen.h>

#include <QFileInfo>
#include <set>
#include <vector>

#include "dose_report_reader.h"

namespace ordevo::rdsr {

namespace {

// (121058, DCM, "Procedure reported") and (125203, DCM, "Acquisition Protocol").
constexpr const char* kProcedureReported = "121058";
constexpr const char* kAcquisitionProtocol = "125203";

std::string StringOf(DcmItem& item, const DcmTagKey& tag) {
    OFString value;
    return item.findAndGetOFStringArray(tag, value).good() ? std::string(value.c_str())
                                                           : std::string();
}

std::string ConceptOf(DcmItem& item) {
    DcmItem* name = nullptr;
    OFString code;
    if (item.findAndGetSequenceItem(DCM_ConceptNameCodeSequence, name).good() && name)
        name->findAndGetOFString(DCM_CodeValue, code);
    return code.c_str();
}

void Append(std::string& list, const std::string& text, std::set<std::string>& seen) {
    if (text.empty() || !seen.insert(text).second) return;
    if (!list.empty()) list += "; ";
    list += text;
}

// Walks the content tree; a depth limit keeps a malformed, deeply nested file harmless.
void Collect(DcmItem& parent, ProcedureTexts& texts, std::set<std::string>& procedures,
             std::set<std::string>& protocols, int depth) {
    DcmSequenceOfItems* content = nullptr;
    if (depth > 32 || parent.findAndGetSequence(DCM_ContentSequence, content).bad() || !content)
        return;
    for (unsigned long i = 0; i < content->card(); ++i) {
        DcmItem* item = content->getItem(i);
        if (!item) continue;
        const std::string name = ConceptOf(*item);
        if (name == kProcedureReported) {
            DcmItem* code = nullptr;
            OFString meaning;
            if (item->findAndGetSequenceItem(DCM_ConceptCodeSequence, code).good() && code)
                code->findAndGetOFString(DCM_CodeMeaning, meaning);
            Append(texts.ProcedureReported, meaning.c_str(), procedures);
        } else if (name == kAcquisitionProtocol) {
            Append(texts.AcquisitionProtocols, StringOf(*item, DCM_TextValue), protocols);
        }
        Collect(*item, texts, procedures, protocols, depth + 1);
    }
}

}  // namespace

ProcedureTexts ReadProcedureTexts(const std::string& path) {
    ProcedureTexts texts;
    const QFileInfo info(QString::fromStdString(path));
    if (!info.isFile() || info.size() > kDoseReportMaxBytes) return texts;
    DcmFileFormat file;
    if (file.loadFile(path.c_str()).bad()) return texts;
    DcmDataset& dataset = *file.getDataset();
    OFString characterSet;
    dataset.findAndGetOFStringArray(DCM_SpecificCharacterSet, characterSet);
    if (!characterSet.empty() && characterSet != "ISO_IR 192") dataset.convertToUTF8();
    texts.StudyDescription = StringOf(dataset, DCM_StudyDescription);
    texts.PerformedProcedureStepDescription =
        StringOf(dataset, DCM_PerformedProcedureStepDescription);
    texts.RequestedProcedureDescription = StringOf(dataset, DCM_RequestedProcedureDescription);
    if (texts.RequestedProcedureDescription.empty()) {
        DcmItem* request = nullptr;
        if (dataset.findAndGetSequenceItem(DCM_RequestAttributesSequence, request).good() &&
            request)
            texts.RequestedProcedureDescription =
                StringOf(*request, DCM_RequestedProcedureDescription);
    }
    texts.StationName = StringOf(dataset, DCM_StationName);
    texts.InstitutionName = StringOf(dataset, DCM_InstitutionName);
    texts.PatientSex = StringOf(dataset, DCM_PatientSex);
    std::set<std::string> procedures, protocols;
    Collect(dataset, texts, procedures, protocols, 0);
    return texts;
}

}  // namespace ordevo::rdsr
