// Layouts of the written files, their encoding, and the shipped tables against a fresh run.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <charconv>
#include <sstream>

#include "refdata_files.h"
#include "text_output.h"

namespace ordevo::refdata {
namespace {

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, ',');) fields.push_back(field);
    return fields;
}

double Number(const std::string& text) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(ec == std::errc() && end == text.data() + text.size())
        << "not a number: \"" << text << "\"";
    return value;
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

TEST(RefdataFiles, NumbersAreWrittenWithSevenSignificantDigits) {
    EXPECT_EQ(FormatScientific(0.1537), "1.537000E-01");
    EXPECT_EQ(FormatScientific(12345.678), "1.234568E+04");
    EXPECT_EQ(FormatScientific(0.0), "0.000000E+00");
    EXPECT_EQ(FormatPlain(0.5), "0.5");
    EXPECT_EQ(FormatPlain(150.0), "150");
}

TEST(RefdataFiles, AttenuationFileHasThreeHundredRecordsOfSevenNumbers) {
    const auto lines = AttenuationFileLines();
    ASSERT_EQ(lines.size(), 300u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto fields = Fields(lines[i]);
        ASSERT_EQ(fields.size(), 7u) << lines[i];
        EXPECT_DOUBLE_EQ(Number(fields[0]), 0.5 * static_cast<double>(i + 1));
        for (std::size_t f = 1; f < 7; ++f) EXPECT_GT(Number(fields[f]), 0.0);
    }
}

TEST(RefdataFiles, PrimaryFileHasTwentyNineRecordsAndTwoAsciiNotes) {
    const auto lines = PrimaryFileLines();
    ASSERT_EQ(lines.size(), 31u);
    for (int k = 2; k <= 30; ++k) {
        const auto fields = Fields(lines[static_cast<std::size_t>(k - 2)]);
        ASSERT_EQ(fields.size(), 2u);
        EXPECT_DOUBLE_EQ(Number(fields[0]), 5.0 * k);
        EXPECT_GT(Number(fields[1]), 0.0);
    }
    for (std::size_t i : {29u, 30u}) {
        EXPECT_FALSE(lines[i].empty());
        EXPECT_LT(lines[i].size(), 100u);
        EXPECT_TRUE(std::all_of(lines[i].begin(), lines[i].end(),
                                [](char c) { return c >= 0x20 && c < 0x7f; }));
    }
    EXPECT_NE(lines[29].find("pGy cm2"), std::string::npos);
}

std::vector<EnergyResult> SyntheticResults() {
    std::vector<EnergyResult> results;
    for (int e : kBackscatterEnergiesKeV) {
        EnergyResult r;
        r.EnergyKeV = e;
        for (std::size_t ring = 0; ring < r.Backscatter.size(); ++ring)
            r.Backscatter[ring] = e * 1000.0 + static_cast<double>(ring);
        if (e >= kFirstKernelEnergyKeV) {
            r.Kernel.resize(kDepthBins * kKernelRings);
            for (std::size_t i = 0; i < r.Kernel.size(); ++i) r.Kernel[i] = static_cast<double>(i);
        }
        results.push_back(r);
    }
    return results;
}

TEST(RefdataFiles, BackscatterFileHasAHeaderThenRingIndexAndThirtyOneValues) {
    const auto lines = BackscatterFileLines(SyntheticResults());
    ASSERT_EQ(lines.size(), 301u);
    for (int r = 1; r <= 300; ++r) {
        const auto fields = Fields(lines[static_cast<std::size_t>(r)]);
        ASSERT_EQ(fields.size(), 32u);
        EXPECT_EQ(fields[0], std::to_string(r));
        EXPECT_DOUBLE_EQ(Number(fields[1]), 1000.0 + (r - 1));     // 1 keV column
        EXPECT_DOUBLE_EQ(Number(fields[31]), 150000.0 + (r - 1));  // 150 keV column
    }
    auto shuffled = SyntheticResults();
    std::swap(shuffled[3], shuffled[4]);
    EXPECT_THROW(BackscatterFileLines(shuffled), std::invalid_argument);
    shuffled.pop_back();
    EXPECT_THROW(BackscatterFileLines(shuffled), std::invalid_argument);
}

// Row j of the kernel stands on lines 4j … 4j+3, twenty rings each, in ring order.
TEST(RefdataFiles, KernelFileHasEightyRowsOfFourLinesOfTwenty) {
    const auto results = SyntheticResults();
    const auto lines = KernelFileLines(results[12]);
    ASSERT_EQ(lines.size(), 320u);
    for (std::size_t line = 0; line < lines.size(); ++line) {
        const auto fields = Fields(lines[line]);
        ASSERT_EQ(fields.size(), 20u);
        if (line > 0) {
            EXPECT_DOUBLE_EQ(Number(fields[0]), 20.0 * static_cast<double>(line));
        }
        EXPECT_DOUBLE_EQ(Number(fields[19]), 20.0 * static_cast<double>(line) + 19.0);
    }
    // A cell no history reached (here row 1, ring 1) is written as a negligible positive value,
    // never as the 0 that the depth-dose computation would replace by 1.
    EXPECT_EQ(Fields(lines[0])[0], "1.000000E-30");
    EXPECT_THROW(KernelFileLines(results[0]), std::invalid_argument);  // 1 keV has no kernel
    EXPECT_EQ(KernelFileName(95), "95.dat");
    EXPECT_EQ(KernelFileName(100), "100.dat");
}

TEST(RefdataFiles, TextIsCp932WithCrLfAndRefusesWhatCp932Lacks) {
    const std::string bytes = EncodeCp932Lines({"はじめにお読み下さい", "a,b"});
    EXPECT_EQ(bytes,
              "\x82\xCD\x82\xB6\x82\xDF\x82\xC9\x82\xA8\x93\xC7\x82\xDD\x89\xBA\x82\xB3\x82\xA2\r\n"
              "a,b\r\n");
    EXPECT_THROW(EncodeCp932Lines({"\xF0\x9F\x98\x80"}), std::runtime_error);  // U+1F600
    const auto note = MaterialNoteLines();
    EXPECT_NO_THROW(EncodeCp932Lines(note));
    EXPECT_GT(note.size(), 20u);
}

TEST(RefdataFiles, WritingToAFolderThatCannotBeCreatedFails) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString blocker = dir.filePath("file");
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_ANY_THROW(WriteTabulatedFiles((blocker + "/sub").toStdString()));
}

// The shipped tables that need no Monte Carlo are exactly what the generator writes now.
TEST(RefdataFiles, ShippedTablesAreWhatTheGeneratorWrites) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteTabulatedFiles(dir.path().toStdString());
    const QDir written(dir.path());
    const QStringList names = written.entryList(QDir::Files);
    EXPECT_EQ(names.size(), 3 + 13);  // attenuation, primary, note and the materials
    for (const QString& name : names) {
        const QByteArray fresh = Bytes(written.filePath(name));
        EXPECT_FALSE(fresh.isEmpty()) << name.toStdString();
        EXPECT_EQ(fresh, Bytes(QString(ORDEVO_SHIPPED_REFDATA) + "/" + name)) << name.toStdString();
    }
}

}  // namespace
}  // namespace ordevo::refdata
