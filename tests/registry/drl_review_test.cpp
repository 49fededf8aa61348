// The review against the reference levels: the percentile as defined, the grouping by category
// and room, the levels' verdicts, and the registry's side (texts kept, categories set by hand,
// the period).
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "drl_review.h"

namespace ordevo::registry {
namespace {

TEST(DrlReview, PercentileInterpolatesBetweenClosestRanks) {
    const struct {
        std::vector<double> sorted;
        double p;
        std::optional<double> expected;  // by hand: h = (n − 1) p
    } cases[] = {
        {{1, 2, 3, 4}, 0.5, 2.5},    // h = 1.5
        {{1, 2, 3, 4}, 0.75, 3.25},  // h = 2.25
        {{1, 2, 3, 4}, 0.25, 1.75},  // h = 0.75
        {{1, 2, 3, 4, 100}, 0.5, 3}, {{1, 2, 3, 4, 100}, 0.75, 4}, {{7}, 0.75, 7},
        {{}, 0.5, std::nullopt},     {{1, 2, 3, 4}, 1.0, 4},
    };
    for (const auto& c : cases) {
        const auto value = Percentile(c.sorted, c.p);
        ASSERT_EQ(value.has_value(), c.expected.has_value());
        if (value) {
            EXPECT_DOUBLE_EQ(*value, *c.expected) << c.sorted.size() << " " << c.p;
        }
    }
}

CategorisedProcedure Procedure(const char* category, const char* room, double kar, double pka) {
    CategorisedProcedure p;
    p.Category = QString::fromUtf8(category);
    p.Source.Room = room;
    p.Source.KarMGy = kar;
    p.Source.PkaGyCm2 = pka;
    return p;
}

TEST(DrlReview, GroupsByCategoryAndRoomAndComparesTheMedianWithTheLevel) {
    const std::vector<CategorisedProcedure> procedures = {
        Procedure("塞栓", "R1", 300, 30), Procedure("塞栓", "R1", 100, 10),
        Procedure("塞栓", "R1", 200, 20), Procedure("塞栓", "R2", 90, 9),
        Procedure("撮影", "R1", 50, 5),   Procedure("", "R1", 999, 99),
        Procedure("", "R3", 999, 99),     Procedure("新規", "R1", 10, 1),
    };
    const std::vector<DrlEntry> levels = {{"撮影", std::nullopt, 4.0}, {"塞栓", 150.0, 25.0}};
    const DrlReview review = ReviewAgainstDrl(procedures, levels);
    EXPECT_EQ(review.Uncategorised, 2);
    EXPECT_EQ(review.Rooms, (std::vector<QString>{"R1", "R2", "R3"}));
    ASSERT_EQ(review.Rows.size(), 4u);
    // The table's order (撮影, 塞栓), then the others; rooms by name within a category.
    const char* order[][2] = {{"撮影", "R1"}, {"塞栓", "R1"}, {"塞栓", "R2"}, {"新規", "R1"}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(review.Rows[i].Category, QString::fromUtf8(order[i][0]));
        EXPECT_EQ(review.Rows[i].Room, QString::fromUtf8(order[i][1]));
    }
    const ReviewRow& embolisation = review.Rows[1];
    EXPECT_EQ(embolisation.Procedures, 3);
    EXPECT_DOUBLE_EQ(*embolisation.MedianKarMGy, 200);  // 100, 200, 300
    EXPECT_DOUBLE_EQ(*embolisation.P75KarMGy, 250);     // h = 1.5
    EXPECT_DOUBLE_EQ(*embolisation.MedianPkaGyCm2, 20);
    EXPECT_DOUBLE_EQ(*embolisation.P75PkaGyCm2, 25);
    EXPECT_EQ(embolisation.KarAboveDrl, true);   // 200 > 150
    EXPECT_EQ(embolisation.PkaAboveDrl, false);  // 20 ≤ 25
    EXPECT_TRUE(embolisation.TooFew);
    const ReviewRow& angiography = review.Rows[0];
    EXPECT_FALSE(angiography.KarAboveDrl);     // no Ka,r level: no verdict
    EXPECT_EQ(angiography.PkaAboveDrl, true);  // 5 > 4
    EXPECT_FALSE(review.Rows[3].DrlKarMGy || review.Rows[3].DrlPkaGyCm2);
}

TEST(DrlReview, EnoughProceduresAreNotFlagged) {
    std::vector<CategorisedProcedure> procedures;
    for (int i = 0; i < kMinimumProceduresForMedian; ++i)
        procedures.push_back(Procedure("塞栓", "R1", i + 1, 1));
    const DrlReview review = ReviewAgainstDrl(procedures, {});
    ASSERT_EQ(review.Rows.size(), 1u);
    EXPECT_FALSE(review.Rows[0].TooFew);
    EXPECT_DOUBLE_EQ(*review.Rows[0].MedianKarMGy, 10.5);  // 1 … 20
}

TEST(DrlReview, HandSetCategoryOutranksEveryRule) {
    auto rules = ParseProcedureCategories({"塞栓 = coil", "撮影 = angio"}, "r.txt");
    ASSERT_TRUE(rules);
    ReviewSource source;
    source.Texts.StudyDescription = "Angio";
    source.Texts.AcquisitionProtocols = "Coil 3D";
    EXPECT_EQ(Categorise(source, *rules).Category, "塞栓");
    EXPECT_FALSE(Categorise(source, *rules).SetByHand);
    source.HandCategory = "その他";
    EXPECT_EQ(Categorise(source, *rules).Category, "その他");
    EXPECT_TRUE(Categorise(source, *rules).SetByHand);
    source = ReviewSource{};
    source.Texts.StationName = "coil room";  // the room's name is no description
    EXPECT_TRUE(Categorise(source, *rules).Category.isEmpty());
}

ProcedureRecord Record(const char* uid, const char* date, const char* ae, const char* station,
                       double karA, double karB) {
    ProcedureRecord r;
    r.SopInstanceUid = uid;
    r.PatientId = "P1";
    r.StudyDate = date;
    r.CallingAe = ae;
    r.Manufacturer = "Maker";
    r.Model = "M1";
    r.Texts.StudyDescription = "Cerebral angiography";
    r.Texts.StationName = station;
    r.Planes.push_back({"A", "", karA, karA / 10, 0, std::nullopt, 1, 0, 0});
    if (karB > 0) r.Planes.push_back({"B", "", karB, karB / 10, 0, std::nullopt, 1, 0, 0});
    return r;
}

TEST(DrlReview, RegistryGivesTotalsRoomsAndPeriodAndKeepsHandCategories) {
    QTemporaryDir dir;
    auto opened = Registry::Open(dir.path() + "/r.sqlite");
    ASSERT_TRUE(opened) << opened.error().what();
    Registry& registry = **opened;
    ASSERT_TRUE(registry.Register(Record("1.1", "20240110", "ANGIO1", "St", 100, 50)));
    ASSERT_TRUE(registry.Register(Record("1.2", "20240220", "", "Station 2", 10, 0)));
    ASSERT_TRUE(registry.Register(Record("1.3", "20240301", "", "", 20, 0)));
    ASSERT_TRUE(registry.Register(Record("1.4", "", "", "", 30, 0)));
    ASSERT_TRUE(registry.RegisterFailure("1.5", "x.dcm", "", "壊れています"));

    const struct {
        const char *from, *to;
        std::vector<std::string> uids;
    } periods[] = {
        {"", "", {"1.4", "1.1", "1.2", "1.3"}},  // undated first (sorted by date)
        {"20240201", "", {"1.2", "1.3"}},
        {"", "20240220", {"1.1", "1.2"}},
        {"20240111", "20240219", {}},
    };
    for (const auto& p : periods) {
        const auto sources = registry.ReviewSources(p.from, p.to);
        ASSERT_TRUE(sources) << sources.error().what();
        std::vector<std::string> uids;
        for (const ReviewSource& s : *sources) uids.push_back(s.SopInstanceUid);
        EXPECT_EQ(uids, p.uids) << p.from << "–" << p.to;
    }
    const auto all = registry.ReviewSources("", "");
    ASSERT_TRUE(all);
    const ReviewSource& biplane = (*all)[1];
    EXPECT_DOUBLE_EQ(biplane.KarMGy, 150);  // both planes
    EXPECT_DOUBLE_EQ(biplane.PkaGyCm2, 15);
    EXPECT_EQ(biplane.Room, "ANGIO1");       // the calling AE first
    EXPECT_EQ((*all)[2].Room, "Station 2");  // else the station
    EXPECT_EQ((*all)[3].Room, "Maker M1");   // else maker and model
    EXPECT_EQ(biplane.Texts.StudyDescription, "Cerebral angiography");

    ASSERT_TRUE(registry.SetHandCategory("1.2", "塞栓"));
    ASSERT_TRUE(registry.SetHandCategory("1.2", "撮影"));  // corrected: the last one stands
    auto sources = registry.ReviewSources("20240220", "20240220");
    ASSERT_TRUE(sources);
    ASSERT_EQ(sources->size(), 1u);
    EXPECT_EQ((*sources)[0].HandCategory, "撮影");
    ASSERT_TRUE(registry.SetHandCategory("1.2", ""));
    sources = registry.ReviewSources("20240220", "20240220");
    EXPECT_EQ((*sources)[0].HandCategory, "");
    const auto unknown = registry.SetHandCategory("9.9", "撮影");
    ASSERT_FALSE(unknown);
    EXPECT_NE(std::string(unknown.error().what()).find("9.9"), std::string::npos);
}

}  // namespace
}  // namespace ordevo::registry
