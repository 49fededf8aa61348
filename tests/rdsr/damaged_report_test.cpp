// Damaged and unusual dose reports, one row per defect: each is refused or noted, never read as
// another number, never an abort.
#include <gtest/gtest.h>

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmdata/dcvrfd.h>
#include <dcmtk/dcmdata/dcvrobow.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <sys/stat.h>

#include "dose_report_reader.h"
#include "structure_scan.h"
#include "report_writer.h"

namespace ordevo::rdsr {
namespace {

using testing::FixtureEvent;
using testing::FixtureReport;
using testing::Measured;

bool HasNote(const DoseReport& report, const std::string& part) {
    for (const std::string& note : report.Notes)
        if (note.find(part) != std::string::npos) return true;
    return false;
}

class DamagedReport : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const { return (dir_.path() + "/" + name).toStdString(); }
    ReportReading Read(const FixtureReport& report) {
        const std::string path = PathOf("report.dcm");
        std::string error;
        EXPECT_TRUE(testing::WriteFixtureReport(report, path, &error)) << error;
        return ReadDoseReport(path);
    }
    QTemporaryDir dir_;
};

struct EventDefect {
    const char* name;
    std::function<void(FixtureEvent&)> damage;
    std::function<void(const IrradiationEvent&)> check;
    const char* note;  // part of the report's note
};

TEST_F(DamagedReport, EachDamagedValueIsRefusedWithANote) {
    const EventDefect table[] = {
        {"Ka,r NaN",
         [](FixtureEvent& e) {
             e.DoseRp = Measured{"NaN", "Gy"};
         },
         [](const IrradiationEvent& e) { EXPECT_FALSE(e.ReferenceAirKermaMGy); },
         "有限の数値でない"},
        {"P_KA inf",
         [](FixtureEvent& e) {
             e.DoseAreaProduct = Measured{"inf", "Gy.m2"};
         },
         [](const IrradiationEvent& e) { EXPECT_FALSE(e.KermaAreaProductGyCm2); },
         "有限の数値でない"},
        {"Ka,r overflowing into mGy",
         [](FixtureEvent& e) {
             e.DoseRp = Measured{"1e306", "Gy"};
         },
         [](const IrradiationEvent& e) { EXPECT_FALSE(e.ReferenceAirKermaMGy); },
         "mGy に換算すると数値の範囲を超える"},
        {"distance overflowing into mm",
         [](FixtureEvent& e) {
             e.SourceToIsocenter = Measured{"1e307", "m"};
         },
         [](const IrradiationEvent& e) { EXPECT_FALSE(e.SourceToIsocentreMm); },
         "mm に換算すると数値の範囲を超える"},
    };
    for (const EventDefect& row : table) {
        SCOPED_TRACE(row.name);
        FixtureReport report;
        row.damage(report.Events[0]);
        const ReportReading reading = Read(report);
        ASSERT_TRUE(reading.Report) << reading.Error;
        ASSERT_EQ(reading.Report->Events.size(), 1u);
        row.check(reading.Report->Events[0]);
        EXPECT_TRUE(HasNote(*reading.Report, row.note));
    }
}

// Replaces the NumericValue of the first NUM of `conceptCode` by `element`.
testing::DataSetEdit ReplaceNumericValue(const char* conceptCode,
                                         std::function<DcmElement*()> make) {
    return [conceptCode, make](DcmItem& dataset) {
        DcmItem* content = testing::ContentItemOf(dataset, conceptCode);
        DcmItem* measured = nullptr;
        ASSERT_TRUE(content &&
                    content->findAndGetSequenceItem(DCM_MeasuredValueSequence, measured).good());
        delete measured->remove(DCM_NumericValue);
        measured->insert(make(), true);
    };
}

struct ReportDefect {
    const char* name;
    std::function<void(FixtureReport&)> make;
    testing::DataSetEdit edit;
    std::function<void(const DoseReport&)> check;
    const char* note;  // part of a note of the report
};

TEST_F(DamagedReport, EachStructuralDefectIsReadOnceOrRefusedWithANote) {
    const auto none = [](FixtureReport&) {};
    const ReportDefect table[] = {
        {"Ka,r as OB holding \"5.2\"", none,
         ReplaceNumericValue("113738",
                             [] {
                                 auto* ob =
                                     new DcmOtherByteOtherWord(DcmTag(DCM_NumericValue, EVR_OB));
                                 ob->putUint8Array(reinterpret_cast<const Uint8*>("5.2 "), 4);
                                 return ob;
                             }),
         [](const DoseReport& r) { EXPECT_FALSE(r.Events.at(0).ReferenceAirKermaMGy); },
         "OB で記録されている"},
        {"P_KA as FD +inf", none,
         ReplaceNumericValue("122130",
                             [] {
                                 auto* fd =
                                     new DcmFloatingPointDouble(DcmTag(DCM_NumericValue, EVR_FD));
                                 fd->putFloat64(std::numeric_limits<double>::infinity());
                                 return fd;
                             }),
         [](const DoseReport& r) { EXPECT_FALSE(r.Events.at(0).KermaAreaProductGyCm2); },
         "FD で記録されている"},
        {"Ka,r with two values",
         [](FixtureReport& r) {
             r.Events[0].DoseRp = Measured{"5\\6", "mGy"};
         },
         {},
         [](const DoseReport& r) { EXPECT_FALSE(r.Events.at(0).ReferenceAirKermaMGy); },
         "2 個の値がある"},
        {"a tube voltage per pulse",
         [](FixtureReport& r) {
             r.Events[0].Kvp = {Measured{"0\\80\\90", "kV"}};
         },
         {},
         [](const DoseReport& r) { EXPECT_EQ(r.Events.at(0).TubeVoltageKv, 85.0); },
         "正の 2 個の平均"},
        {"an event inside another",
         [](FixtureReport& r) {
             FixtureEvent inner;
             inner.Uid += ".2";
             inner.DoseRp = Measured{"0.02", "Gy"};
             r.Events[0].Nested = {inner};
         },
         {},
         [](const DoseReport& r) {
             ASSERT_EQ(r.Events.size(), 2u);
             EXPECT_EQ(r.Events[0].ReferenceAirKermaMGy, 12.5);  // not overwritten by the inner
             EXPECT_EQ(r.Events[1].ReferenceAirKermaMGy, 20.0);
         },
         "別の照射の中にある照射"},
        {"an event inside the accumulated data",
         [](FixtureReport& r) {
             r.Totals[0].Events = {FixtureEvent{}};
             r.Totals[0].Events[0].Uid += ".3";
         },
         {},
         [](const DoseReport& r) { EXPECT_EQ(r.Events.size(), 2u); },
         "累積線量データの中にある照射"},
        {"an event stored as TEXT", none,
         [](DcmItem& dataset) {
             DcmItem* event = testing::ContentItemOf(dataset, "113706");
             ASSERT_NE(event, nullptr);
             event->putAndInsertString(DCM_ValueType, "TEXT");
             event->putAndInsertString(DCM_TextValue, "Irradiation Event X-Ray Data");
         },
         [](const DoseReport& r) {
             ASSERT_EQ(r.Events.size(), 1u);
             EXPECT_EQ(r.Events[0].ReferenceAirKermaMGy, 12.5);
         },
         "値の型 TEXT で記録された照射"},
        {"the same event twice",
         [](FixtureReport& r) { r.Events.push_back(r.Events[0]); },
         {},
         [](const DoseReport& r) { EXPECT_EQ(r.Events.size(), 1u); },
         "が複数回記載されています"},
        {"two Ka,r in one event",
         [](FixtureReport& r) {
             r.Events[0].GeometryNums = {{"113738", "Dose (RP)", {"20", "mGy"}}};
         },
         {},
         [](const DoseReport& r) { EXPECT_FALSE(r.Events.at(0).ReferenceAirKermaMGy); },
         "が 2 通り (12.5, 20) 記載されている"},
        {"device total 34 % above its events",
         [](FixtureReport& r) {
             r.Totals[0].DoseRpTotal = Measured{"0.000134", "Gy"};
             r.Events[0].DoseRp = Measured{"0.0001", "Gy"};
         },
         {},
         [](const DoseReport&) {},
         "(Dose (RP) Total) 0.134 mGy に対し、照射の和は 0.1 mGy"},
    };
    for (const ReportDefect& row : table) {
        SCOPED_TRACE(row.name);
        FixtureReport report;
        row.make(report);
        const std::string path = PathOf("defect.dcm");
        std::string error;
        ASSERT_TRUE(testing::WriteFixtureReport(report, path, &error, row.edit)) << error;
        const ReportReading reading = ReadDoseReport(path);
        ASSERT_TRUE(reading.Report) << reading.Error;
        row.check(*reading.Report);
        EXPECT_TRUE(HasNote(*reading.Report, row.note));
    }
}

// The toolkit cannot read this class; it is named, not called "not a structured report".
TEST_F(DamagedReport, AnEnhancedDoseReportIsRefusedByName) {
    const std::string path = PathOf("enhanced.dcm");
    ASSERT_TRUE(testing::WriteFixtureReport(FixtureReport{}, path, nullptr, [](DcmItem& dataset) {
        dataset.putAndInsertString(DCM_SOPClassUID, UID_EnhancedXRayRadiationDoseSRStorage);
    }));
    const ReportReading reading = ReadDoseReport(path);
    EXPECT_FALSE(reading.Report);
    EXPECT_NE(reading.Error.find("このプログラムが読めない保存クラス"), std::string::npos)
        << reading.Error;
}

// A Part-10 file of nothing but sequences nested `depth` deep, each of undefined length, then
// at the deepest level an OB value claiming `claimedBytes` (when not 0) of which 4 follow.
std::string NestedFile(int depth, std::uint32_t claimedBytes = 0) {
    std::string bytes(128, '\0');
    bytes += "DICM";
    auto u16 = [&bytes](std::uint16_t v) {
        bytes += static_cast<char>(v & 0xFF);
        bytes += static_cast<char>(v >> 8);
    };
    auto u32 = [&](std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v & 0xFFFF));
        u16(static_cast<std::uint16_t>(v >> 16));
    };
    const std::string syntax("1.2.840.10008.1.2.1\0", 20);  // explicit VR little endian
    u16(0x0002), u16(0x0000), bytes += "UL", u16(4), u32(8 + 20);
    u16(0x0002), u16(0x0010), bytes += "UI", u16(20), bytes += syntax;
    for (int i = 0; i < depth; ++i) {
        u16(0x0040), u16(0xA730), bytes += "SQ", u16(0), u32(0xFFFFFFFF);  // Content Sequence
        u16(0xFFFE), u16(0xE000), u32(0xFFFFFFFF);
    }
    if (claimedBytes > 0) {
        u16(0x0009), u16(0x1010), bytes += "OB", u16(0), u32(claimedBytes);  // a private value
        bytes += "abcd";
    }
    for (int i = 0; i < depth; ++i) {
        u16(0xFFFE), u16(0xE00D), u32(0);
        u16(0xFFFE), u16(0xE0DD), u32(0);
    }
    return bytes;
}

// The toolkit's own reader overflows the stack some thousands of levels deep and allocates
// whatever length a value claims; such a file is refused before it gets there, and a depth
// within the limit still reaches the toolkit.
TEST_F(DamagedReport, WhatTheToolkitCannotSurviveIsRefusedBeforeItReads) {
    const std::tuple<int, std::uint32_t, const char*> table[] = {
        {20000, 0, "入れ子が 64 段を超えています"},
        {kMaxNestingDepth + 1, 0, "入れ子が 64 段を超えています"},
        {kMaxNestingDepth, 0, "DICOM 構造化レポートではありません"},
        {0, 0x90000000, "バイトより長いと記されています"},  // 2.4 GB claimed by a file of 200 bytes
        {3, 0x90000000, "バイトより長いと記されています"},
    };
    for (const auto& [depth, claimed, expected] : table) {
        SCOPED_TRACE(depth);
        const std::string bytes = NestedFile(depth, claimed);
        const ReportReading reading =
            ReadDoseReportBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        EXPECT_FALSE(reading.Report);
        EXPECT_NE(reading.Error.find(expected), std::string::npos) << reading.Error;
    }
}

// A named pipe would block the reader for ever, a huge file fill the memory: both are refused
// before they are opened, by the reader and by the folder scan.
TEST_F(DamagedReport, PipesAndHugeFilesAreRefusedUnopened) {
    const std::string pipe = PathOf("pipe.dcm");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string huge = PathOf("huge.dcm");
    QFile file(QString::fromStdString(huge));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(kDoseReportMaxBytes + 1));
    file.close();
    const std::pair<std::string, const char*> table[] = {
        {pipe, "通常のファイルではありません"},
        {huge, "大きすぎます"},
    };
    for (const auto& [path, expected] : table) {
        const ReportReading reading = ReadDoseReport(path);
        EXPECT_FALSE(reading.Report);
        EXPECT_NE(reading.Error.find(expected), std::string::npos) << reading.Error;
        EXPECT_FALSE(IsDoseReportFile(path));
    }
}

}  // namespace
}  // namespace ordevo::rdsr
