#include "editing/History.h"

#include "editing/Attachments.h"
#include "editing/Components.h"
#include "editing/Merge.h"
#include "tests/support/LoadedShip.h"

#include <gtest/gtest.h>

using editing::History;
using testsupport::ByteVector;

TEST(History, UndoAndRedoGiveBackTheExactImagesStepByStep)
{
    LoadedShip ship(testsupport::demoFighter());
    shipfile::ShipFile& file = *ship.file;
    History history;
    EXPECT_FALSE(history.undo(file));
    EXPECT_FALSE(history.redo(file));

    // Three steps that change records, grow a block and unlink a whole section.
    std::vector<ByteVector> images = {file.serialise()};
    ASSERT_TRUE(editing::addAttachment(file, 0, 2));
    EXPECT_TRUE(history.record("Add attachment", images.back(), file));
    images.push_back(file.serialise());
    ASSERT_TRUE(editing::changeShipClass(file));
    EXPECT_TRUE(history.record("Change ship class", images.back(), file));
    images.push_back(file.serialise());
    ASSERT_TRUE(editing::deleteComponent(file, 1));
    EXPECT_TRUE(history.record("Delete component", images.back(), file));
    images.push_back(file.serialise());
    // An action that changed nothing is no step.
    EXPECT_FALSE(history.record("Nothing", images.back(), file));
    EXPECT_EQ(history.undoLabel(), "Delete component");

    for (std::size_t n = images.size() - 1; n > 0; --n) {
        ASSERT_TRUE(history.undo(file));
        EXPECT_EQ(file.serialise(), images[n - 1]) << "undo to image " << n - 1;
        EXPECT_TRUE(pointersOnChain(file));
    }
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(history.redoLabel(), "Add attachment");
    for (std::size_t n = 1; n < images.size(); ++n) {
        ASSERT_TRUE(history.redo(file));
        EXPECT_EQ(file.serialise(), images[n]) << "redo to image " << n;
    }
    EXPECT_FALSE(history.canRedo());

    // A new step after an undo drops what could have been redone.
    ASSERT_TRUE(history.undo(file));
    ASSERT_TRUE(editing::changeShipClass(file));
    EXPECT_TRUE(history.record("Change ship class", images[2], file));
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undoCount(), 3u);
    EXPECT_EQ(history.bytes(), images[0].size() + images[1].size() + images[2].size());

    history.clear();
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(history.bytes(), 0u);
    EXPECT_TRUE(ship.sink.messages.empty());
}

TEST(History, TheOldestStepsGoPastEitherLimit)
{
    LoadedShip ship(testsupport::sampleShip());
    shipfile::ShipFile& file = *ship.file;
    const std::size_t imageSize = file.serialise().size();
    const auto changeClass = [&](History& history, const std::string& label) {
        ByteVector before = file.serialise();
        editing::changeShipClass(file);
        return history.record(label, std::move(before), file);
    };

    // Three steps at most: the first two of five are gone, and undo stops at the third.
    History fewSteps(3);
    const ByteVector start = file.serialise();
    for (int n = 0; n < 5; ++n)
        changeClass(fewSteps, "step " + std::to_string(n));
    EXPECT_EQ(fewSteps.undoCount(), 3u);
    while (fewSteps.undo(file)) {
    }
    EXPECT_EQ(fewSteps.redoLabel(), "step 2");
    EXPECT_NE(file.serialise(), start);
    // Undone steps count against the same limit: three to redo, no more.
    EXPECT_TRUE(fewSteps.redo(file) && fewSteps.redo(file) && fewSteps.redo(file));
    EXPECT_FALSE(fewSteps.canRedo());

    // Room for two images: the third step pushes out the first.
    History fewBytes(200, 2 * imageSize + imageSize / 2);
    for (int n = 0; n < 3; ++n)
        changeClass(fewBytes, "step " + std::to_string(n));
    EXPECT_EQ(fewBytes.undoCount(), 2u);
    EXPECT_LE(fewBytes.bytes(), 2 * imageSize + imageSize / 2);

    // An image larger than the whole limit is not kept.
    History tiny(200, imageSize - 1);
    EXPECT_TRUE(changeClass(tiny, "too large"));
    EXPECT_FALSE(tiny.canUndo());
    EXPECT_EQ(tiny.bytes(), 0u);
}
