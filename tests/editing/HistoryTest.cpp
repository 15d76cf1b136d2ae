#include "editing/Session.h"

#include "editing/Attachments.h"
#include "editing/Components.h"
#include "editing/Scaling.h"
#include "tests/support/LoadedShip.h"

#include <gtest/gtest.h>

using editing::History;
using editing::Session;
using shipfile::ShipFile;
using testsupport::ByteVector;

namespace {

Session openSession(const testsupport::Ship& ship, History history = History())
{
    LoadedShip loaded(ship);
    return Session(std::move(loaded.file), std::move(history));
}

} // namespace

TEST(Session, StepsUndoAndRedoToTheExactImages)
{
    Session session = openSession(testsupport::demoFighter());
    EXPECT_FALSE(session.undo());
    EXPECT_FALSE(session.modified());

    // Steps that change a record, grow a block, unlink a whole section and scale every vertex.
    std::vector<ByteVector> images = {session.ship().serialise()};
    const auto step = [&](const char* name, auto change) {
        EXPECT_TRUE(session.apply(name, change)) << name;
        images.push_back(session.ship().serialise());
    };
    step("Add attachment", [](ShipFile& s) { return editing::addAttachment(s, 0, 2).has_value(); });
    step("Move attachment",
         [](ShipFile& s) { return editing::moveAttachment(s, 0, 0, {1.5f, 0, 0}); });
    step("Delete component", [](ShipFile& s) { return editing::deleteComponent(s, 1); });
    step("Larger", [](ShipFile& s) {
        return editing::scaleShip(s, 1.2f, editing::ScaleDirection::Larger, false, -1);
    });
    // A step that changed nothing is no step.
    session.apply("Nothing", [](ShipFile&) {});
    EXPECT_EQ(session.history().undoLabel(), "Larger");
    EXPECT_TRUE(session.modified());

    for (std::size_t n = images.size() - 1; n > 0; --n) {
        ASSERT_TRUE(session.undo());
        EXPECT_EQ(session.ship().serialise(), images[n - 1]) << "undo to image " << n - 1;
        EXPECT_TRUE(pointersOnChain(session.ship()));
    }
    EXPECT_FALSE(session.modified()) << "back at the opened image";
    EXPECT_EQ(session.history().redoLabel(), "Add attachment");
    for (std::size_t n = 1; n < images.size(); ++n) {
        ASSERT_TRUE(session.redo());
        EXPECT_EQ(session.ship().serialise(), images[n]) << "redo to image " << n;
    }

    // A small change of a large image keeps a few bytes, not the image.
    const std::size_t before = session.history().bytes();
    step("Move attachment",
         [](ShipFile& s) { return editing::moveAttachment(s, 0, 0, {0, 2, 0}); });
    EXPECT_LT(session.history().bytes() - before, 200u);

    // An open step (a dialog) rolled back leaves no entry and the bytes as they were.
    session.markSaved();
    ASSERT_TRUE(session.begin("Component properties"));
    EXPECT_FALSE(session.begin("nested")) << "a nested step joins the open one";
    editing::setComponentHitPoints(*session.editable(), 0, 77);
    EXPECT_TRUE(session.modified());
    EXPECT_TRUE(session.rollback());
    EXPECT_EQ(session.ship().serialise(), images.back());
    EXPECT_EQ(session.editable(), nullptr);
    EXPECT_FALSE(session.modified());

    // A new step after an undo drops what could have been redone.
    ASSERT_TRUE(session.undo());
    EXPECT_TRUE(session.modified()) << "the saved image is one redo away";
    step("Change ship class", [](ShipFile& s) { return editing::changeShipClass(s).has_value(); });
    EXPECT_FALSE(session.history().canRedo());
    EXPECT_TRUE(session.modified());
}

TEST(Session, TheOldestStepsGoPastEitherLimitAndModifiedStillTells)
{
    const auto changeClass = [](Session& session, const std::string& name) {
        return session.apply(name, [](ShipFile& s) { return editing::changeShipClass(s); });
    };

    // Three steps at most: the first two of five are gone, and undo stops at the third.
    Session fewSteps = openSession(testsupport::sampleShip(), History(3));
    const ByteVector start = fewSteps.ship().serialise();
    for (int n = 0; n < 5; ++n)
        changeClass(fewSteps, "step " + std::to_string(n));
    EXPECT_EQ(fewSteps.history().undoCount(), 3u);
    while (fewSteps.undo()) {
    }
    EXPECT_EQ(fewSteps.history().redoLabel(), "step 2");
    EXPECT_NE(fewSteps.ship().serialise(), start);
    EXPECT_TRUE(fewSteps.modified()) << "the saved image is out of reach";
    // Undone steps count against the same limit: three to redo, no more.
    EXPECT_TRUE(fewSteps.redo() && fewSteps.redo() && fewSteps.redo());
    EXPECT_FALSE(fewSteps.history().canRedo());
    // Out of the history's reach, the bytes tell: the ship class cycles back to the start.
    for (int n = 0; n < 3; ++n) {
        changeClass(fewSteps, "cycle");
        EXPECT_EQ(fewSteps.ship().serialise() != start, fewSteps.modified()) << n;
    }

    // A step changing every byte is held whole; one larger than the whole limit is not kept.
    Session tiny = openSession(testsupport::sampleShip(), History(200, 4));
    EXPECT_TRUE(changeClass(tiny, "too large"));
    EXPECT_FALSE(tiny.history().canUndo());
    EXPECT_EQ(tiny.history().bytes(), 0u);
    EXPECT_TRUE(tiny.modified());
}
