#include "dialogs/AnimationDialog.h"

#include "dialogs/FieldText.h"
#include "editing/Animation.h"
#include "editing/Messages.h"
#include "resources/AnimationTemplate.h"
#include "tests/app/TestRegistry.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/LayoutChecks.h"

namespace {

using dialogs::AnimationDialog;
namespace id = resources::animation;

// The sample ship's turret (component 1) turns in two frames; its hull has no animation.
struct OpenDialog : Shown<AnimationDialog>
{
    explicit OpenDialog(OpenShip& ship, int component = 1)
        : Shown(*ship.file, component), said(ship.sink.texts()),
          blocks(*editing::openAnimation(*ship.file, component)) // found again, not changed
    {
    }
    editing::AnimationHeader header() { return *editing::readAnimationHeader(blocks.header); }
    editing::AnimationFrame frame(int k) { return *editing::readFrame(*blocks.frames, k); }

    std::vector<std::string> said; // the messages of the dialog's opening
    editing::AnimationBlocks blocks;
};

} // namespace

class AnimationDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTypeLabelAndNumberIsFullyVisible()
    {
        OpenShip ship(testsupport::sampleShip());
        OpenDialog open(ship);
        const QStringList cut = testsupport::labelsOnFrameLines(open.dialog);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(" | "))));
        QListWidget* types = open.list(id::Type);
        QVERIFY(types->viewport()->rect().contains(types->visualItemRect(types->item(3))));
        for (const int field : {id::AngleX, id::MoveZ})
            QVERIFY(testsupport::showsWhole(*open.edit(field), QStringLiteral("-180.000000")));
    }

    void showsTheAnimationAndEachFieldAndButtonReachesItsRecord()
    {
        OpenShip ship(testsupport::sampleShip());
        OpenDialog open(ship);
        QCOMPARE(open.edit(id::TotalTime)->text(), QStringLiteral("1000"));
        QCOMPARE(entries(open.list(id::Type)), texts({"Stop", "Play", "Loop", "PingPong"}));
        QCOMPARE(open.list(id::Type)->selectedItems().front()->text(), QStringLiteral("Loop"));
        QCOMPARE(open.edit(id::Trigger)->text(), QStringLiteral("always"));
        QCOMPARE(entries(open.list(id::Frames)), texts({"Frame 0", "Frame 1"}));
        QCOMPARE(open.list(id::Frames)->currentRow(), 0);

        clickRow(open.list(id::Frames), 1);
        QCOMPARE(open.edit(id::FrameTime)->text(), QStringLiteral("500"));
        QCOMPARE(open.edit(id::AngleY)->text(),
                 QString::fromStdString(editing::angleText(open.frame(1).rotation.y)));

        retype(open.edit(id::TotalTime), QStringLiteral("750"));
        retype(open.edit(id::Trigger), QStringLiteral("spin5"));
        clickRow(open.list(id::Type), 3);
        retype(open.edit(id::FrameTime), QStringLiteral("25"));
        retype(open.edit(id::AngleX), QStringLiteral("45"));
        retype(open.edit(id::MoveZ), QStringLiteral("-3e2"));
        const editing::AnimationHeader header = open.header();
        QCOMPARE(header.totalTime, 750);
        QCOMPARE(header.trigger, std::string("spin5"));
        QCOMPARE(header.type, std::int16_t{3});
        const editing::AnimationFrame frame = open.frame(1);
        QCOMPARE(frame.time, 25);
        QCOMPARE(frame.rotation.x, editing::radiansFromDegrees(45));
        QCOMPARE(frame.move.z, -300.0f);
        QCOMPARE(open.frame(0).time, 0);

        // Text that is no number is marked and writes nothing.
        retype(open.edit(id::FrameTime), QStringLiteral("12abc"));
        QVERIFY(isMarkedInvalid(*open.edit(id::FrameTime)));
        QCOMPARE(open.frame(1).time, 12);
        retype(open.edit(id::TotalTime), QStringLiteral("abc"));
        QVERIFY(isMarkedInvalid(*open.edit(id::TotalTime)));
        QCOMPARE(open.header().totalTime, 750);

        // New Frame adds a frame; the selection stays where it was.
        open.click(id::NewFrame);
        QCOMPARE(entries(open.list(id::Frames)), texts({"Frame 0", "Frame 1", "Frame 2"}));
        QCOMPARE(open.list(id::Frames)->currentRow(), 1);
        QCOMPARE(open.blocks.frames->count(), 3u);

        // Delete leaves no frame selected; then the fields and Delete change nothing.
        open.click(id::DeleteFrame);
        QCOMPARE(entries(open.list(id::Frames)), texts({"Frame 0", "Frame 1"}));
        QVERIFY(open.list(id::Frames)->selectedItems().isEmpty());
        const auto before = ship.file->serialise();
        retype(open.edit(id::FrameTime), QStringLiteral("99"));
        open.click(id::DeleteFrame);
        QCOMPARE(ship.file->serialise(), before);
    }

    void missingHeaderBlockKeepsTheFramesEditable()
    {
        OpenShip ship(testsupport::sampleShip());
        OpenDialog open(ship, 0);
        QCOMPARE(open.said, std::vector<std::string>{
                                std::string(editing::messages::MissingAnimationHeader.text)});
        QVERIFY(ship.sink.messages.front().ownedByMainWindow);
        QCOMPARE(open.list(id::Type)->count(), 0);
        QVERIFY(!open.edit(id::TotalTime)->isEnabled());
        QVERIFY(!open.edit(id::Trigger)->isEnabled());
        QCOMPARE(entries(open.list(id::Frames)), texts({"Frame 0"}));
        retype(open.edit(id::FrameTime), QStringLiteral("40"));
        QCOMPARE(open.frame(0).time, 40);
    }
};

KORVEX_REGISTER_TEST(AnimationDialogTest);

#include "AnimationDialogTest.moc"
