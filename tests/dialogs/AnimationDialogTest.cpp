#include "dialogs/AnimationDialog.h"

#include "dialogs/FieldText.h"
#include "editing/Animation.h"
#include "editing/Messages.h"
#include "editing/NumberText.h"
#include "resources/AnimationTemplate.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "shipfile/Messages.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/dialogs/DialogTests.h"
#include "tests/support/LayoutChecks.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

using dialogs::AnimationDialog;
using shipfile::ShipBlock;
using testsupport::Animation;
namespace id = resources::animation;
namespace lay = shipfile::layout;

// The animated component is the second one, so a section found at the wrong place shows.
testsupport::Ship animated(std::optional<Animation> animation)
{
    testsupport::Component first;
    first.name = "hull";
    first.textures = {"a"};
    testsupport::Component second;
    second.name = "turret";
    second.textures = {"b", "c"};
    second.animation = std::move(animation);
    testsupport::Ship ship;
    ship.components = {first, second};
    return ship;
}

Animation withFrames(std::vector<Animation::Frame> frames)
{
    Animation animation;
    animation.frames = std::move(frames);
    return animation;
}

Animation::Frame frame(std::int32_t time, shipfile::Vec3 rotation = {}, shipfile::Vec3 move = {})
{
    return {time, rotation, move};
}

ShipBlock* blockAfterSection(shipfile::ShipFile& file, std::uint32_t type, int component = 1)
{
    ShipBlock* start = shipfile::sectionStart(file, component);
    for (ShipBlock* b = start->next.get(); b && b->type != lay::type::SectionStart;
         b = b->next.get())
        if (b->type == type)
            return b;
    return nullptr;
}

ShipBlock* framesBlock(shipfile::ShipFile& file)
{
    return blockAfterSection(file, lay::type::AnimationFrames);
}

ShipBlock* headerBlock(shipfile::ShipFile& file)
{
    return blockAfterSection(file, lay::type::AnimationHeader);
}

std::vector<std::int32_t> frameTimes(shipfile::ShipFile& file)
{
    std::vector<std::int32_t> out;
    const ShipBlock* frames = framesBlock(file);
    for (int k = 0; k < static_cast<int>(frames->count); ++k)
        out.push_back(editing::readFrame(*frames, k)->time);
    return out;
}

editing::AnimationFrame storedFrame(shipfile::ShipFile& file, int k)
{
    return editing::readFrame(*framesBlock(file), k).value_or(editing::AnimationFrame{});
}

std::string triggerBytes(shipfile::ShipFile& file)
{
    const shipfile::Bytes record = headerBlock(file)->record(0);
    const auto field = record.subspan(lay::animationHeader::Trigger, lay::animationHeader::TriggerSize);
    return {field.begin(), field.end()};
}

struct OpenDialog
{
    explicit OpenDialog(OpenShip& ship) : dialog(*ship.file, 1)
    {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }
    QLineEdit* edit(int controlId) { return control<QLineEdit>(dialog, controlId); }
    QListWidget* list(int controlId) { return control<QListWidget>(dialog, controlId); }
    void click(int button) { QTest::mouseClick(control<QPushButton>(dialog, button), Qt::LeftButton); }
    QStringList frameFields()
    {
        QStringList out;
        for (int field : {id::FrameTime, id::AngleX, id::AngleY, id::AngleZ, id::MoveX, id::MoveY,
                          id::MoveZ})
            out << edit(field)->text();
        return out;
    }

    AnimationDialog dialog;
};

} // namespace

class AnimationDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTypeLabelAndNumberIsFullyVisible()
    {
        OpenShip ship(animated(withFrames({frame(0)})));
        OpenDialog open(ship);
        const QStringList cut = testsupport::labelsOnFrameLines(open.dialog);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(" | "))));
        QListWidget* types = open.list(id::Type);
        QCOMPARE(types->count(), 4);
        QVERIFY(types->viewport()->rect().contains(types->visualItemRect(types->item(3))));
        for (const int field : {id::AngleX, id::AngleY, id::AngleZ, id::MoveX, id::MoveY,
                                id::MoveZ})
            QVERIFY(testsupport::showsWhole(*open.edit(field), QStringLiteral("-180.000000")));
    }

    void openingCreatesTheMissingFramesBlock()
    {
        Animation animation;
        animation.totalTime = 1500;
        animation.type = 2;
        animation.trigger = "always";
        OpenShip ship(animated(animation));
        QVERIFY(!framesBlock(*ship.file));
        {
            OpenDialog open(ship);
            QCOMPARE(open.edit(id::TotalTime)->text(), QStringLiteral("1500"));
            QCOMPARE(entries(open.list(id::Type)), texts({"Stop", "Play", "Loop", "PingPong"}));
            QCOMPARE(open.list(id::Type)->selectedItems().front()->text(), QStringLiteral("Loop"));
            QCOMPARE(open.edit(id::Trigger)->text(), QStringLiteral("always"));
            QCOMPARE(entries(open.list(id::Frames)), texts({"Frame 0"}));
            QCOMPARE(open.list(id::Frames)->currentRow(), 0);
            QCOMPARE(open.frameFields(), texts({"0", "0.000000", "0.000000", "0.000000",
                                                "0.000000", "0.000000", "0.000000"}));
            open.dialog.reject();
        }
        QVERIFY(ship.sink.messages.empty());

        // It went in right after the section's last texture block and is saved with the ship.
        auto saved = shipfile::ShipFile::fromBytes(ship.file->serialise(), "saved.shp", ship.sink);
        const ShipBlock* frames = framesBlock(*saved);
        QVERIFY(frames);
        QCOMPARE(shipfile::nthBlockOfType(*saved, lay::type::TextureNames, 1)->next.get(), frames);
        QCOMPARE(frames->count, 1u);
        QCOMPARE(frames->recordSize, std::uint32_t{lay::animationFrame::RecordSize});
        QCOMPARE(frames->records, std::vector<std::uint8_t>(lay::animationFrame::RecordSize, 0));
    }

    void anglesShownInDegreesStoredInRadians()
    {
        OpenShip ship(animated(withFrames({frame(5, {1.0f, 0.0000001f, 0}, {1.5f, 0, -2})})));
        OpenDialog open(ship);
        QCOMPARE(open.frameFields(), texts({"5", "57.295780", "0.000006", "0.000000", "1.500000",
                                            "0.000000", "-2.000000"}));
        // Showing the frame rewrote it from its text.
        QVERIFY(std::abs(storedFrame(*ship.file, 0).rotation.x - 1.0f) < 1e-6f);
        QVERIFY(std::abs(storedFrame(*ship.file, 0).rotation.y - 1.0472e-7f) < 1e-11f);

        retype(open.edit(id::AngleZ), QStringLiteral("90"));
        QVERIFY(storedFrame(*ship.file, 0).rotation.z == 1.5707964f);
        retype(open.edit(id::MoveY), QStringLiteral("-3e2"));
        QVERIFY(storedFrame(*ship.file, 0).move.y == -300.0f);
    }

    void numberFieldsStoreTheirParse_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("frameTime");
        QTest::addColumn<int>("totalTime");
        // A text that is no number in range is marked and writes nothing.
        QTest::newRow("frame time with letters after")
            << id::FrameTime << QStringLiteral("12abc") << 12 << 1000;
        QTest::newRow("frame time letters only")
            << id::FrameTime << QStringLiteral("abc") << 7 << 1000;
        QTest::newRow("total time") << id::TotalTime << QStringLiteral(" -40") << 7 << -40;
        QTest::newRow("total time emptied") << id::TotalTime << QString() << 7 << 1000;
        QTest::newRow("total time past 32 bits")
            << id::TotalTime << QStringLiteral("99999999999") << 7 << 999999999;
    }

    void numberFieldsStoreTheirParse()
    {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(int, frameTime);
        QFETCH(int, totalTime);
        OpenShip ship(animated(withFrames({frame(7)})));
        OpenDialog open(ship);

        retype(open.edit(field), typed);

        QCOMPARE(storedFrame(*ship.file, 0).time, frameTime);
        QCOMPARE(editing::readAnimationHeader(headerBlock(*ship.file))->totalTime, totalTime);
        const bool number = editing::parseIntegerField(typed.toStdString()).has_value();
        QCOMPARE(dialogs::isMarkedInvalid(*open.edit(field)), !number);
    }

    void triggerKeepsSixteenBytes()
    {
        OpenShip ship(animated(withFrames({frame(0)})));
        // A stored trigger with bytes after its terminator: opening pads it with zeros.
        const shipfile::MutableBytes header = headerBlock(*ship.file)->record(0);
        const std::string stored("abc\0xyz", 7);
        std::copy(stored.begin(), stored.end(), header.begin() + lay::animationHeader::Trigger);
        OpenDialog open(ship);
        QCOMPARE(triggerBytes(*ship.file), std::string("abc") + std::string(13, '\0'));

        retype(open.edit(id::Trigger), QStringLiteral("abcdefghijklmnopqrst"));
        QCOMPARE(triggerBytes(*ship.file), std::string("abcdefghijklmnop"));
        retype(open.edit(id::Trigger), QStringLiteral("spin5"));
        QCOMPARE(triggerBytes(*ship.file), std::string("spin5") + std::string(11, '\0'));
        QCOMPARE(editing::readAnimationHeader(headerBlock(*ship.file))->totalTime, 1000);
    }

    void typeOutsideTheListStaysUntilPicked_data()
    {
        QTest::addColumn<int>("stored");
        QTest::newRow("5") << 5;
        QTest::newRow("-1") << -1;
    }

    void typeOutsideTheListStaysUntilPicked()
    {
        QFETCH(int, stored);
        Animation animation = withFrames({frame(0)});
        animation.type = static_cast<std::int16_t>(stored);
        OpenShip ship(animated(animation));
        OpenDialog open(ship);
        QVERIFY(open.list(id::Type)->selectedItems().isEmpty());
        QCOMPARE(editing::readAnimationHeader(headerBlock(*ship.file))->type, stored);

        clickRow(open.list(id::Type), 1);
        QCOMPARE(editing::readAnimationHeader(headerBlock(*ship.file))->type, 1);
        clickRow(open.list(id::Type), 3);
        QCOMPARE(editing::readAnimationHeader(headerBlock(*ship.file))->type, 3);
    }

    void selectingAFrameShowsAndEditsIt()
    {
        OpenShip ship(animated(withFrames({frame(10), frame(20, {0, 0, 2}), frame(30)})));
        OpenDialog open(ship);

        clickRow(open.list(id::Frames), 1);
        QCOMPARE(open.dialog.currentFrame(), 1);
        QCOMPARE(open.edit(id::FrameTime)->text(), QStringLiteral("20"));
        QCOMPARE(open.edit(id::AngleZ)->text(), QStringLiteral("114.591559"));
        retype(open.edit(id::FrameTime), QStringLiteral("25"));
        QCOMPARE(frameTimes(*ship.file), (std::vector<std::int32_t>{10, 25, 30}));
    }

    void newFrameAppendsAZeroFrameAndKeepsTheSelection()
    {
        OpenShip ship(animated(withFrames({frame(10, {}, {1, 1, 1}), frame(20), frame(30)})));
        OpenDialog open(ship);
        clickRow(open.list(id::Frames), 1);

        open.click(id::NewFrame);

        QCOMPARE(entries(open.list(id::Frames)),
                 texts({"Frame 0", "Frame 1", "Frame 2", "Frame 3"}));
        QCOMPARE(open.list(id::Frames)->currentRow(), 1);
        QCOMPARE(open.dialog.currentFrame(), 1);
        const ShipBlock* frames = framesBlock(*ship.file);
        QCOMPARE(frames->count, 4u);
        QCOMPARE(frames->records.size(), std::size_t{4 * lay::animationFrame::RecordSize});
        const auto last = frames->record(3);
        QVERIFY(std::all_of(last.begin(), last.end(), [](std::uint8_t b) { return b == 0; }));
        QCOMPARE(storedFrame(*ship.file, 0).move.z, 1.0f);
    }

    void deleteFrameLeavesNoFrameSelected()
    {
        OpenShip ship(animated(withFrames({frame(10), frame(20), frame(30)})));
        OpenDialog open(ship);
        clickRow(open.list(id::Frames), 1);

        open.click(id::DeleteFrame);
        QCOMPARE(frameTimes(*ship.file), (std::vector<std::int32_t>{10, 30}));
        QCOMPARE(entries(open.list(id::Frames)), texts({"Frame 0", "Frame 1"}));
        QVERIFY(open.list(id::Frames)->selectedItems().isEmpty());
        QCOMPARE(open.dialog.currentFrame(), -1);
        QCOMPARE(open.edit(id::FrameTime)->text(), QStringLiteral("20"));

        // With no frame selected the fields and "Delete Frame" change nothing.
        const auto before = ship.file->serialise();
        retype(open.edit(id::FrameTime), QStringLiteral("99"));
        retype(open.edit(id::AngleX), QStringLiteral("45"));
        open.click(id::DeleteFrame);
        QCOMPARE(ship.file->serialise(), before);
        QCOMPARE(open.list(id::Frames)->count(), 2);

        open.click(id::NewFrame);
        QCOMPARE(entries(open.list(id::Frames)), texts({"Frame 0", "Frame 1", "Frame 2"}));
        clickRow(open.list(id::Frames), 1);
        QCOMPARE(open.edit(id::FrameTime)->text(), QStringLiteral("30"));
    }

    void deletingTheOnlyFrameEmptiesTheBlockUntilReopened()
    {
        OpenShip ship(animated(withFrames({frame(10)})));
        {
            OpenDialog open(ship);
            open.click(id::DeleteFrame);
            QCOMPARE(open.list(id::Frames)->count(), 0);
            QCOMPARE(framesBlock(*ship.file)->count, 0u);
            QVERIFY(framesBlock(*ship.file)->records.empty());
            open.click(id::NewFrame);
            open.click(id::NewFrame);
            QCOMPARE(entries(open.list(id::Frames)), texts({"Frame 0", "Frame 1"}));
            clickRow(open.list(id::Frames), 0);
            open.click(id::DeleteFrame);
            clickRow(open.list(id::Frames), 0);
            open.click(id::DeleteFrame);
            QCOMPARE(framesBlock(*ship.file)->count, 0u);
            open.dialog.accept();
        }
        OpenDialog reopened(ship);
        QCOMPARE(entries(reopened.list(id::Frames)), texts({"Frame 0"}));
        QCOMPARE(framesBlock(*ship.file)->count, 1u);
        QCOMPARE(storedFrame(*ship.file, 0).time, 0);
    }

    void missingHeaderBlockKeepsTheFramesEditable()
    {
        OpenShip ship(animated(std::nullopt));
        OpenDialog open(ship);

        QCOMPARE(ship.sink.messages.size(), std::size_t{1});
        QCOMPARE(ship.sink.messages.front().text, std::string(editing::messages::MissingBlock10.text));
        QVERIFY(ship.sink.messages.front().ownedByMainWindow);
        QVERIFY(framesBlock(*ship.file));
        QVERIFY(!headerBlock(*ship.file));

        QCOMPARE(open.list(id::Type)->count(), 0);
        QVERIFY(!open.edit(id::TotalTime)->isEnabled());
        QVERIFY(!open.edit(id::Trigger)->isEnabled());
        QCOMPARE(open.edit(id::TotalTime)->text(), QString());
        // Header text goes nowhere, even when it gets into the fields.
        const auto before = ship.file->serialise();
        open.edit(id::TotalTime)->setText(QStringLiteral("77"));
        open.edit(id::Trigger)->setText(QStringLiteral("nowhere"));
        QCOMPARE(ship.file->serialise(), before);

        QCOMPARE(entries(open.list(id::Frames)), texts({"Frame 0"}));
        retype(open.edit(id::FrameTime), QStringLiteral("40"));
        QCOMPARE(storedFrame(*ship.file, 0).time, 40);
    }

    void oddRecordSizesStayInsideTheirRecords()
    {
        OpenShip ship(animated(withFrames({frame(5), frame(7)})));
        // A header record too short for its fields, frames of 32 bytes.
        ShipBlock* header = headerBlock(*ship.file);
        header->recordSize = 10;
        header->records.resize(10);
        ShipBlock* frames = framesBlock(*ship.file);
        frames->recordSize = 32;
        frames->records = std::vector<std::uint8_t>(64, 0);
        frames->records[32] = 7;
        {
            OpenDialog open(ship);
            QVERIFY(ship.sink.messages.empty());
            QVERIFY(!open.edit(id::TotalTime)->isEnabled());
            QCOMPARE(open.list(id::Type)->count(), 0);
            clickRow(open.list(id::Frames), 1);
            QCOMPARE(open.edit(id::FrameTime)->text(), QStringLiteral("7"));
            open.click(id::NewFrame);
            QCOMPARE(frames->records.size(), std::size_t{96});
            open.dialog.accept();
        }
        QCOMPARE(header->records.size(), std::size_t{10});

        // Frames of 20 bytes cannot hold a frame: their fields are never used.
        frames->recordSize = 20;
        frames->count = 1;
        frames->records = std::vector<std::uint8_t>(20, 1);
        OpenDialog open(ship);
        QVERIFY(!open.edit(id::FrameTime)->isEnabled());
        QVERIFY(!open.edit(id::MoveZ)->isEnabled());
        QCOMPARE(frames->records, std::vector<std::uint8_t>(20, 1));
        open.click(id::NewFrame);
        QCOMPARE(frames->records.size(), std::size_t{40});
    }
};

std::unique_ptr<QObject> makeAnimationDialogTest()
{
    return std::make_unique<AnimationDialogTest>();
}

#include "AnimationDialogTest.moc"
