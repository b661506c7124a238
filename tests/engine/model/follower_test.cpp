#include "tests/engine/model/sheet_fixture.h"

#include <memory>
#include <vector>

namespace engine {
namespace {

// Records the edits it is told of; leaves its sheet on the first one when asked to.
class Recorder final : public SheetFollower {
public:
    explicit Recorder(bool leaveOnFirst = false) : leaveOnFirst_(leaveOnFirst) {}
    std::vector<formula::StructuralEdit> told;
    using SheetFollower::follow;
    using SheetFollower::following;
    using SheetFollower::leave;

private:
    void structureChanged(const formula::StructuralEdit& edit) override {
        told.push_back(edit);
        if (leaveOnFirst_)
            leave();
    }
    bool leaveOnFirst_;
};

using Followers = SheetTest;

TEST_F(Followers, EachFollowerOfTheEditedSheetIsToldOnce) {
    Sheet& other = book.addSheet(u"Sheet2");
    Recorder a, b(true), c, elsewhere;
    a.follow(sheet);
    b.follow(sheet);
    c.follow(sheet);
    elsewhere.follow(other);
    {
        Recorder gone;
        gone.follow(sheet); // leaves the list when it goes
    }
    sheet.insertRows(3, 2);
    c.leave();
    sheet.deleteColumns(1, 1);
    ASSERT_EQ(a.told.size(), 2u);
    EXPECT_TRUE(a.told[0].vertical && a.told[0].insert && a.told[0].at == 3 && a.told[0].count == 2);
    EXPECT_FALSE(a.told[1].vertical || a.told[1].insert);
    EXPECT_EQ(b.told.size(), 1u); // it left while being told
    EXPECT_FALSE(b.following());
    EXPECT_EQ(c.told.size(), 1u);
    EXPECT_TRUE(elsewhere.told.empty());
}

TEST_F(Followers, ASheetThatGoesLetsItsFollowersGo) {
    Sheet& other = book.addSheet(u"Sheet2");
    Recorder kept, dropped;
    kept.follow(sheet);
    dropped.follow(other);
    book.removeSheet(other);
    EXPECT_FALSE(dropped.following());
    EXPECT_TRUE(kept.following());
    auto temporary = std::make_unique<Workbook>();
    Recorder orphan;
    orphan.follow(temporary->addSheet(u"Sheet1"));
    temporary.reset();
    EXPECT_FALSE(orphan.following());
}

} // namespace
} // namespace engine
