// The descriptive texts of a dose report that say what procedure it was, for sorting procedures
// into categories, and the room and facility it came from. Read from the file apart from the
// dose reader: none of it enters the dose.
#pragma once

#include <string>

namespace ordevo::rdsr {

struct ProcedureTexts {
    std::string StudyDescription;                   // (0008,1030)
    std::string PerformedProcedureStepDescription;  // (0040,0254)
    std::string RequestedProcedureDescription;      // (0032,1060), or in the request sequence
    std::string ProcedureReported;     // the report's "Procedure reported" codes, "; " between
    std::string AcquisitionProtocols;  // the events' "Acquisition Protocol" texts, each once
    std::string StationName;           // (0008,1010): the room, where no AE title says it
    std::string InstitutionName;       // (0008,0080)
    std::string PatientSex;            // (0010,0040)
};

// Empty texts where the file has none or cannot be read (the dose reader reports why).
ProcedureTexts ReadProcedureTexts(const std::string& path);

}  // namespace ordevo::rdsr
