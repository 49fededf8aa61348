#include "report_registration.h"

#include <QFileInfo>
#include <variant>

#include "cp932_text.h"
#include "dose_report_reader.h"
#include "equipment_file.h"
#include "file_name_check.h"
#include "measurement_record_file.h"
#include "procedure_record.h"
#include "procedure_texts.h"
#include "reference_files.h"
#include "room_profile_file.h"
#include "scatter_kernel_file.h"
#include "skin_dose_map.h"

namespace ordevo::registry {

namespace {

FileResult<rdsr::PlaneSetup> LoadPlane(const std::string& equipmentFile,
                                       const QString& dataFolder) {
    const QString path = QString::fromStdString(equipmentFile);
    auto equipment = LoadEquipmentFile(path, dataFolder);
    if (!equipment) return equipment.error();
    rdsr::PlaneSetup plane;
    plane.Equipment = std::move(*equipment);
    plane.EquipmentName = QFileInfo(path).fileName().toStdString();
    plane.Knowledge = KnowledgeBeside(path);
    return plane;
}

// The room profile named for the room, else "<manufacturer>.room" in the data folder when the
// manufacturer's first word is a plain name, else the DICOM definitions.
map::RoomProfile ChooseProfile(const RoomEvaluation& room, const EvaluationContext& context,
                               const std::string& manufacturer, std::vector<std::string>& notes) {
    if (room.Profile) return *room.Profile;
    if (const std::optional<QString> name = ManufacturerRoomFileName(manufacturer)) {
        const QString path = context.DataFolder + "/" + *name;
        if (QFileInfo(path).isFile()) {
            auto profile = ReadRoomProfileFile(path);
            if (profile) {
                if (const auto note = map::ProfileNote(*profile)) notes.push_back(*note);
                return *profile;
            }
            // A damaged profile does not stop the registration: the definitions stand, said so.
            notes.push_back("部屋プロファイルを読めないため DICOM の定義を使用: " +
                            std::string(profile.error().what()));
            return map::RoomProfile{};
        }
    }
    notes.push_back("製造者 \"" + manufacturer +
                    "\" の部屋プロファイルがないため DICOM の定義を使用");
    return map::RoomProfile{};
}

}  // namespace

FileResult<EvaluationContext> LoadEvaluationContext(const std::string& dataFolder,
                                                    const std::map<std::string, RoomSetup>& rooms) {
    EvaluationContext context;
    context.DataFolder = QString::fromStdString(dataFolder);
    auto ref = ReadReferenceData(context.DataFolder);
    if (!ref) return ref.error();
    context.Ref = std::move(*ref);
    context.LoadKernel = rdsr::MakeCachingKernelLoader(MakeScatterKernelLoader(context.DataFolder));
    for (const auto& [ae, setup] : rooms) {
        RoomEvaluation room;
        auto plane = LoadPlane(setup.EquipmentFile, context.DataFolder);
        if (!plane) return plane.error();
        room.Plane = std::move(*plane);
        if (!setup.PlaneBEquipmentFile.empty()) {
            auto planeB = LoadPlane(setup.PlaneBEquipmentFile, context.DataFolder);
            if (!planeB) return planeB.error();
            room.PlaneB = std::move(*planeB);
        }
        if (!setup.RoomProfile.empty()) {
            auto profile = ReadRoomProfileFile(QString::fromStdString(setup.RoomProfile));
            if (!profile) return profile.error();
            room.Profile = std::move(*profile);
        }
        context.Rooms.emplace(ae, std::move(room));
    }
    return context;
}

bool IsUsablePatientId(const std::string& id) {
    for (const char c : id) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != 0x1b) || byte == 0x7f || c == '\\') return false;
    }
    return true;
}

Outcome RegisterReport(const ReportSource& header, EvaluationContext& context, Registry& registry,
                       std::string* message, const AlertLevels* levels) {
    const std::string& path = header.Path;
    const std::string sop = header.SopInstanceUid;
    const auto known = registry.IsRegistered(sop);
    if (!known) {
        *message = path + ": " + known.error().what();
        return Outcome::Deferred;
    }
    if (*known) {
        *message = sop + ": 登録済み";
        return Outcome::AlreadyRegistered;
    }
    const auto failed = [&](const std::string& reason) {
        const auto kept = registry.RegisterFailure(sop, path, header.CallingAe, reason);
        *message = sop + ": " + (kept ? "評価できません（" + reason + "）" : kept.error().what());
        return kept ? Outcome::Failed : Outcome::Deferred;
    };
    if (!header.Error.empty()) return failed("DICOM として読めません: " + header.Error);
    const auto room = context.Rooms.find(header.CallingAe);
    if (room == context.Rooms.end()) {
        *message = sop + ": 呼び出し AE \"" + header.CallingAe + "\" の部屋が設定にありません";
        return Outcome::Deferred;
    }
    rdsr::ReportReading read = rdsr::ReadDoseReport(path);
    if (!read.Report) return failed(read.Error);
    const rdsr::DoseReport& report = *read.Report;
    if (!IsUsablePatientId(report.PatientId))
        return failed("患者 ID に使えない文字（制御文字か \\）があるため登録しません");
    try {
        const rdsr::ReportEvaluation evaluation = rdsr::EvaluateReport(
            context.Ref, report, room->second.Plane,
            room->second.PlaneB ? &*room->second.PlaneB : nullptr, context.LoadKernel);
        // No evaluated event: no dose at all, not a dose of 0.
        int evaluated = 0, events = 0;
        std::string why;
        for (const rdsr::PlaneEvaluation& plane : evaluation.Planes) {
            evaluated += plane.Totals.Evaluated;
            events += plane.Totals.Evaluated + plane.Totals.Skipped + plane.Totals.Failed;
            for (const rdsr::EventEvaluation& event : plane.Events)
                if (why.empty()) why = event.Case.Note;
        }
        if (evaluated == 0)
            return failed(events == 0 ? std::string("照射の記録がありません")
                                      : "評価できた照射がありません（" + std::to_string(events) +
                                            " 件とも評価できません" +
                                            (why.empty() ? "" : ": " + why) + "）");
        map::MapSettings settings;
        std::vector<std::string> notes;
        settings.Profile = ChooseProfile(room->second, context, report.Manufacturer, notes);
        map::SkinDoseMap skinMap =
            map::ComputeSkinDoseMap(context.Ref, report, evaluation, settings, context.LoadKernel);
        map::AddPlacementUncertainty(skinMap, context.Ref, report, evaluation, settings,
                                     context.LoadKernel);
        skinMap.Notes.insert(skinMap.Notes.begin(), notes.begin(), notes.end());
        ProcedureRecord record =
            MakeProcedureRecord(sop, header.StudyInstanceUid, report, evaluation, &skinMap);
        record.Source = path;
        record.CallingAe = header.CallingAe;
        record.Texts = rdsr::ReadProcedureTexts(path);
        const auto registered =
            registry.Register(record, [&](Registry& within) -> FileResult<void> {
                if (!levels) return {};
                const auto raised = RaiseAlerts(within, sop, *levels);
                if (!raised) return raised.error();
                return {};
            });
        if (!registered) {
            *message = sop + ": " + registered.error().what();
            return Outcome::Deferred;
        }
        *message = sop + ": 登録しました";
        return *registered == Registration::Registered ? Outcome::Registered
                                                       : Outcome::AlreadyRegistered;
    } catch (const std::exception& error) {
        // A report the chain cannot take (a kernel file missing, a table index out of range).
        return failed(error.what());
    }
}

}  // namespace ordevo::registry
