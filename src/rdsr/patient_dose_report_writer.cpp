#include "patient_dose_report_writer.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmsr/codes/dcm.h>
#include <dcmtk/dcmsr/codes/ucum.h>
#include <dcmtk/dcmsr/dsrdoc.h>

#include <QFile>
#include <QTemporaryDir>

#include "cp932_text.h"
#include "number_format.h"

namespace ordevo::rdsr {

namespace {

// Concepts the DICOM content mapping resource has no code for, in the program's own coding
// scheme (a designator beginning with "99" is a private scheme by PS3.16).
constexpr const char* kOwnScheme = "99ORDEVO";
const DSRCodedEntryValue kPeakSkinDoseName("PSD", kOwnScheme, "Peak skin dose");
const DSRCodedEntryValue kExpandedUncertainty("UK2", kOwnScheme, "Expanded uncertainty (k=2)");
const DSRCodedEntryValue kPeakLocation("PSDLOC", kOwnScheme, "Peak skin dose location");
const DSRCodedEntryValue kRoomProfile("PROFILE", kOwnScheme, "Room table convention");
const DSRCodedEntryValue kPlacedShare("PLACED", kOwnScheme, "Share of Ka,r placed on the skin");
const DSRCodedEntryValue kUnplacedBound("UNPLACED", kOwnScheme, "Upper bound of the unplaced dose");
const DSRCodedEntryValue kUpperBound("UPPER", kOwnScheme, "Upper bound, all events on one spot");

std::string Ds(double value) { return FormatNumber(value, "0.000"); }

// Adds content items one after another and remembers the first the toolkit refused.
class TreeBuilder {
public:
    explicit TreeBuilder(DSRDocumentTree& tree) : tree_(tree) {}

    // Below the current item (`child`) or after it.
    bool Add(bool child, DSRTypes::E_RelationshipType relation, DSRTypes::E_ValueType type,
             const DSRCodedEntryValue& concept_) {
        if (!error_.empty()) return false;
        const OFCondition status = child ? tree_.addChildContentItem(relation, type, concept_)
                                         : tree_.addContentItem(relation, type, concept_);
        return Check(status, concept_);
    }
    void Text(bool child, DSRTypes::E_RelationshipType relation, const DSRCodedEntryValue& c,
              const std::string& text) {
        if (Add(child, relation, DSRTypes::VT_Text, c))
            Check(tree_.getCurrentContentItem().setStringValue(text.c_str()), c);
    }
    void Uid(bool child, const DSRCodedEntryValue& c, const std::string& uid) {
        if (Add(child, DSRTypes::RT_contains, DSRTypes::VT_UIDRef, c))
            Check(tree_.getCurrentContentItem().setStringValue(uid.c_str()), c);
    }
    void Code(bool child, DSRTypes::E_RelationshipType relation, const DSRCodedEntryValue& c,
              const DSRCodedEntryValue& value) {
        if (Add(child, relation, DSRTypes::VT_Code, c))
            Check(tree_.getCurrentContentItem().setCodeValue(value), c);
    }
    void Num(bool child, const DSRCodedEntryValue& c, double value,
             const DSRCodedEntryValue& unit) {
        if (Add(child, DSRTypes::RT_contains, DSRTypes::VT_Num, c))
            Check(tree_.getCurrentContentItem().setNumericValue(
                      DSRNumericMeasurementValue(Ds(value).c_str(), unit)),
                  c);
    }
    void Up() {
        if (error_.empty()) tree_.goUp();
    }
    const std::string& Error() const { return error_; }

private:
    bool Check(const OFCondition& status, const DSRCodedEntryValue& c) {
        if (status.good() || !error_.empty()) return status.good();
        error_ = std::string("線量 SR の内容 \"") + c.getCodeMeaning().c_str() +
                 "\" を書けません (" + status.text() + ")";
        return false;
    }
    DSRDocumentTree& tree_;
    std::string error_;
};

}  // namespace

std::string WritePatientDoseReport(const PatientDoseRecord& r, const std::string& path,
                                   std::string* error) {
    DSRDocument document;
    OFCondition status = document.createNewDocument(DSRTypes::DT_PatientRadiationDoseSR);
    if (status.good() && !r.StudyInstanceUid.empty())
        status = document.createNewSeriesInStudy(r.StudyInstanceUid.c_str());
    if (status.bad()) {
        *error = std::string("線量 SR を作れません (") + status.text() + ")";
        return {};
    }
    document.setSpecificCharacterSetType(DSRTypes::CS_UTF8);
    document.setPatientName(r.PatientName.c_str(), OFFalse);
    document.setPatientID(r.PatientId.c_str(), OFFalse);
    document.setPatientBirthDate(r.PatientBirthDate.c_str(), OFFalse);
    document.setPatientSex(r.PatientSex.c_str(), OFFalse);
    document.setStudyDate(r.StudyDate.c_str(), OFFalse);
    document.setManufacturer("Ordevo");
    document.setManufacturerModelName("Ordevo skin dose");
    // The equipment module of this document type requires both: the program is the device.
    document.setDeviceSerialNumber("ORDEVO");
    document.setSoftwareVersions(ORDEVO_VERSION);
    document.setSeriesDescription("Patient radiation dose (peak skin dose)");
    document.getCodingSchemeIdentification().addItem(kOwnScheme);
    document.getCodingSchemeIdentification().setCodingSchemeName("Ordevo skin dose concepts");

    DSRDocumentTree& tree = document.getTree();
    TreeBuilder b(tree);
    if (b.Add(false, DSRTypes::RT_isRoot, DSRTypes::VT_Container,
              CODE_DCM_PatientRadiationDoseReport))
        tree.getCurrentContentItem().setTemplateIdentification("10030", "DCMR");
    b.Code(true, DSRTypes::RT_hasConceptMod, CODE_DCM_Language,
           DSRCodedEntryValue("ja", "RFC5646", "Japanese"));
    b.Code(false, DSRTypes::RT_hasObsContext, CODE_DCM_ObserverType, CODE_DCM_Device);
    char deviceUid[100];
    dcmGenerateUniqueIdentifier(deviceUid, SITE_INSTANCE_UID_ROOT);
    if (b.Add(false, DSRTypes::RT_hasObsContext, DSRTypes::VT_UIDRef, CODE_DCM_DeviceObserverUID))
        tree.getCurrentContentItem().setStringValue(deviceUid);
    b.Text(false, DSRTypes::RT_hasObsContext, CODE_DCM_DeviceObserverName,
           std::string("Ordevo ") + ORDEVO_VERSION);

    b.Add(false, DSRTypes::RT_contains, DSRTypes::VT_Container, CODE_DCM_RadiationDoseEstimate);
    b.Text(true, DSRTypes::RT_contains, CODE_DCM_RadiationDoseEstimateName,
           r.PeakSkinDoseMGy ? "ピーク皮膚線量 (Peak skin dose)"
                             : "ピーク皮膚線量: 照射を皮膚に置けず未定、上限のみ (Peak skin dose "
                               "undetermined, upper bound only)");
    if (r.PeakSkinDoseMGy)
        b.Num(false, kPeakSkinDoseName, *r.PeakSkinDoseMGy,
              DSRCodedEntryValue("mGy", "UCUM", "mGy"));
    if (r.PeakSkinDoseMGy && r.ExpandedUncertaintyMGy)
        b.Num(false, kExpandedUncertainty, *r.ExpandedUncertaintyMGy,
              DSRCodedEntryValue("mGy", "UCUM", "mGy"));
    b.Text(false, DSRTypes::RT_contains, kPeakLocation,
           r.PeakLocation.empty() ? "不明" : r.PeakLocation);
    b.Num(false, kUpperBound, r.UpperBoundMGy, DSRCodedEntryValue("mGy", "UCUM", "mGy"));
    if (r.PlacedKarShare)
        b.Num(false, kPlacedShare, 100 * *r.PlacedKarShare,
              DSRCodedEntryValue("%", "UCUM", "percent"));
    if (r.UnplacedUpperBoundMGy)
        b.Num(false, kUnplacedBound, *r.UnplacedUpperBoundMGy,
              DSRCodedEntryValue("mGy", "UCUM", "mGy"));

    b.Add(false, DSRTypes::RT_contains, DSRTypes::VT_Container,
          CODE_DCM_RadiationDoseEstimateMethodology);
    b.Code(true, DSRTypes::RT_contains, CODE_DCM_RadiationDoseEstimateMethodType,
           CODE_DCM_AnalyticalAlgorithm);
    b.Text(false, DSRTypes::RT_contains, CODE_DCM_RadiationDoseEstimateMethod, r.Method);
    b.Text(false, DSRTypes::RT_contains, CODE_DCM_PatientRadiationDoseModel,
           r.Phantom.empty() ? "不明" : r.Phantom);
    b.Text(false, DSRTypes::RT_contains, kRoomProfile,
           r.RoomProfile.empty() ? "記録なし" : r.RoomProfile);
    b.Up();

    b.Add(false, DSRTypes::RT_contains, DSRTypes::VT_Container,
          CODE_DCM_RadiationDoseEstimateParameters);
    b.Uid(true, CODE_DCM_SRInstanceUsed, r.SourceSopInstanceUid);
    b.Up();
    if (!b.Error().empty()) {
        *error = b.Error();
        return {};
    }

    DcmFileFormat file;
    status = document.write(*file.getDataset());
    if (status.good() && !r.InstitutionName.empty())
        status =
            file.getDataset()->putAndInsertString(DCM_InstitutionName, r.InstitutionName.c_str());
    if (status.bad()) {
        *error = std::string("線量 SR を書けません (") + status.text() + ")";
        return {};
    }
    // The toolkit writes to a path; the bytes then go through the program's whole-file save.
    QTemporaryDir scratch;
    const QString staged = scratch.filePath("sr.dcm");
    status = file.saveFile(staged.toStdString().c_str(), EXS_LittleEndianExplicit);
    if (!scratch.isValid() || status.bad()) {
        *error = std::string("線量 SR を書けません (") + status.text() + ")";
        return {};
    }
    const auto bytes = ReadFileBytes(staged, 64LL * 1024 * 1024);
    if (!bytes) {
        *error = bytes.error().what();
        return {};
    }
    const auto written = WriteFileBytes(QString::fromStdString(path), *bytes);
    if (!written) {
        *error = written.error().what();
        return {};
    }
    OFString uid;
    document.getSOPInstanceUID(uid);
    return uid.c_str();
}

}  // namespace ordevo::rdsr
