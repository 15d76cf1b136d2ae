#include "editing/Animation.h"
#include "editing/Messages.h"
#include "resources/AnimationTemplate.h"
#include "resources/MainWindowTemplate.h"
#include "shipfile/Messages.h"
#include "tests/app/CommandTestSupport.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSlider>

namespace apptests {

namespace id = resources::mainwindow;
namespace lay = shipfile::layout;
namespace messages = shipfile::messages;
using shipfile::Vec3;
using testsupport::Attachment;
using testsupport::Component;
using testsupport::Ship;

namespace {

Component namedComponent(const std::string& name, float at)
{
    Component c;
    c.name = name;
    c.origin = {at, 0, 0};
    c.textures = {"hull_plate"};
    testsupport::addCuboid(c, {0, 0, 0}, {4, 6, 8});
    Attachment flame;
    flame.kind = 2;
    flame.position = {1, 2, 3};
    c.attachments = {flame};
    return c;
}

Ship threeComponents()
{
    Ship ship;
    ship.components = {namedComponent("Alpha", 0), namedComponent("Beta", 20),
                       namedComponent("Gamma", 40)};
    return ship;
}

app::MainDialog& openShip(Editor& editor, const Ship& ship)
{
    const fs::path path = editor.writeShip("ship.shp", testsupport::buildShip(ship));
    return editor.start(editor.writePrefix("prefix"), QString::fromStdString(path.string()));
}

void click(app::MainDialog& w, int buttonId)
{
    w.control<QPushButton>(buttonId)->click();
}

void clickBox(app::MainDialog& w, int boxId)
{
    clickCheckBox(w.control<QCheckBox>(boxId));
}

bool boxChecked(app::MainDialog& w, int boxId)
{
    return w.control<QCheckBox>(boxId)->isChecked();
}

QStringList componentEntries(app::MainDialog& w)
{
    return entries(w.control<QListWidget>(id::ComponentList));
}

QString shipClassField(app::MainDialog& w)
{
    return w.control<QLineEdit>(id::ShipClass)->text();
}

std::vector<std::uint32_t> words(const shipfile::ShipBlock& block)
{
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < block.count; ++i)
        out.push_back(shipfile::readU32(block.record(i), 0).value_or(99));
    return out;
}

} // namespace

class ComponentCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void deleteTakesTheComponentAndClearsTheSelection()
    {
        Editor editor;
        auto& w = openShip(editor, threeComponents());
        auto& state = editor.state();
        auto& file = *state.file;

        clickEntry(w, id::ComponentList, 0);
        clickEntry(w, id::AttachmentList, 0);
        click(w, id::DeleteComponent);
        QCOMPARE(componentEntries(w), texts({"Beta", "Gamma"}));
        QCOMPARE(shipfile::componentName(file, 0), std::string("Beta"));
        QCOMPARE(blocksOfType(file, lay::type::SectionStart), 2);
        QCOMPARE(state.selectedComponent, -1);
        QCOMPARE(highlightedRow(w, id::ComponentList), -1);
        QCOMPARE(w.control<QListWidget>(id::ComponentList)->currentRow(), -1);
        // The deleted component's attachments are gone from the list and the selection.
        QCOMPARE(w.control<QListWidget>(id::AttachmentList)->count(), 0);
        QCOMPARE(state.selectedAttachment, -1);
        QVERIFY(w.isWindowModified());
        // Beta's section is now the first: its vertices sit where Beta's did.
        QCOMPARE(vertexOf(file, 0, 0), (Vec3{-2, -3, -4}));

        // Nothing selected: Delete does nothing.
        const auto before = file.serialise();
        click(w, id::DeleteComponent);
        QCOMPARE(file.serialise(), before);

        // The last component, then the only one.
        clickEntry(w, id::ComponentList, 1);
        click(w, id::DeleteComponent);
        QCOMPARE(componentEntries(w), texts({"Beta"}));
        QCOMPARE(blocksOfType(file, lay::type::SectionStart), 1);
        clickEntry(w, id::ComponentList, 0);
        click(w, id::DeleteComponent);
        QVERIFY(componentEntries(w).isEmpty());
        QCOMPARE(shipfile::componentCount(file), 0);
        QCOMPARE(blocksOfType(file, lay::type::SectionStart), 0);
        QVERIFY(!file.empty());
        QVERIFY(editor.sink.messages.empty());
    }

    void deleteRefusesTheReducedComponentTable()
    {
        Ship ship = threeComponents();
        ship.componentRecordSize = 200;
        Editor editor;
        auto& w = openShip(editor, ship);
        clickEntry(w, id::ComponentList, 1);
        const auto before = editor.state().file->serialise();
        editor.sink.messages.clear();

        click(w, id::DeleteComponent);
        QCOMPARE(editor.sink.texts(),
                 std::vector<std::string>{std::string(editing::messages::ReducedBlock1.text)});
        QVERIFY(editor.sink.messages.front().ownedByMainWindow);
        QCOMPARE(editor.state().file->serialise(), before);
        QCOMPARE(componentEntries(w), texts({"Alpha", "Beta", "Gamma"}));
        QCOMPARE(editor.state().selectedComponent, 1);
        QVERIFY(!w.isWindowModified());
    }

    void changeCyclesTheShipClassField()
    {
        Editor editor;
        auto& w = openShip(editor, threeComponents());
        QCOMPARE(shipClassField(w), QStringLiteral("Fighter"));
        click(w, id::ChangeShipClass);
        // At once, not at the next refresh.
        QCOMPARE(shipClassField(w), QStringLiteral("Capship"));
        QVERIFY(w.isWindowModified());
        click(w, id::ChangeShipClass);
        QCOMPARE(shipClassField(w), QStringLiteral("Fighter + Cloak"));
        click(w, id::ChangeShipClass);
        QCOMPARE(shipClassField(w), QStringLiteral("Fighter"));
        QCOMPARE(shipfile::shipClass(*editor.state().file), std::optional<std::int8_t>(0));

        Ship odd = threeComponents();
        odd.shipClass = -5;
        Editor second;
        auto& w2 = openShip(second, odd);
        QCOMPARE(shipClassField(w2), QStringLiteral("[Value = -5]"));
        click(w2, id::ChangeShipClass);
        QCOMPARE(shipClassField(w2), QStringLiteral("[Value = -4]"));
    }

    void changeWithoutAShipDoesNothing()
    {
        Editor editor;
        auto& w = editor.start(editor.writePrefix("prefix"));
        click(w, id::ChangeShipClass);
        QVERIFY(shipClassField(w).isEmpty());
        QVERIFY(!editor.state().file);
    }

    void largerAndSmallerScaleByTheFactorField()
    {
        Editor editor;
        auto& w = openShip(editor, threeComponents());
        auto& file = *editor.state().file;
        const auto original = file.serialise();
        retype(w.control<QLineEdit>(id::ScaleFactor), QStringLiteral("2"));

        click(w, id::Larger);
        QCOMPARE(vertexOf(file, 0, 0), (Vec3{-4, -6, -8}));
        QCOMPARE(vertexOf(file, 2, 0), (Vec3{-4, -6, -8}));
        const auto origin =
            shipfile::readVec3(shipfile::componentRecord(file, 1), lay::component::Origin);
        QCOMPARE(origin, std::optional<Vec3>(Vec3{40, 0, 0}));
        QCOMPARE(positionOf(attachmentRecords(file, 1)[0]), (Vec3{2, 4, 6}));
        QVERIFY(w.isWindowModified());

        click(w, id::Smaller);
        QCOMPARE(file.serialise(), original);

        // Not a positive number: nothing happens.
        for (const char* bad : {"abc", "0", "-2"}) {
            retype(w.control<QLineEdit>(id::ScaleFactor), QString::fromUtf8(bad));
            click(w, id::Larger);
            click(w, id::Smaller);
            QCOMPARE(file.serialise(), original);
        }
    }

    void typeOneOnlyScalesTheSelectedSection()
    {
        Editor editor;
        auto& w = openShip(editor, threeComponents());
        auto& state = editor.state();
        auto& file = *state.file;
        retype(w.control<QLineEdit>(id::ScaleFactor), QStringLiteral("2"));

        clickBox(w, id::TypeOneOnly);
        QVERIFY(state.typeOneOnly);
        // No component selected: nothing at all.
        const auto before = file.serialise();
        click(w, id::Larger);
        QCOMPARE(file.serialise(), before);

        clickEntry(w, id::ComponentList, 1);
        click(w, id::Larger);
        QCOMPARE(vertexOf(file, 0, 0), (Vec3{-2, -3, -4}));
        QCOMPARE(vertexOf(file, 1, 0), (Vec3{-4, -6, -8}));
        QCOMPARE(vertexOf(file, 2, 0), (Vec3{-2, -3, -4}));
        QCOMPARE(shipfile::readVec3(shipfile::componentRecord(file, 1), lay::component::Origin),
                 std::optional<Vec3>(Vec3{20, 0, 0}));

        clickBox(w, id::TypeOneOnly);
        QVERIFY(!state.typeOneOnly);
    }

    void zoomRangeFieldSetsTheSliderMaximum()
    {
        Editor editor;
        auto& w = openShip(editor, threeComponents());
        auto* slider = w.control<QSlider>(id::ZoomSlider);
        slider->setValue(400);
        QCOMPARE(w.view().zoom, 400.0);

        // Set in one go: typing it would pass through "2" and "25" on the way.
        w.control<QLineEdit>(id::ZoomRange)->setText(QStringLiteral("250"));
        QCOMPARE(slider->minimum(), 1);
        QCOMPARE(slider->maximum(), 250);
        // The position follows the shorter range, and the view with it.
        QCOMPARE(slider->value(), 250);
        QCOMPARE(w.view().zoom, 250.0);

        for (const char* bad : {"", "abc", "-5", "0"}) {
            retype(w.control<QLineEdit>(id::ZoomRange), QString::fromUtf8(bad));
            QCOMPARE(slider->maximum(), 250);
        }
        retype(w.control<QLineEdit>(id::ZoomRange), QStringLiteral("900"));
        QCOMPARE(slider->maximum(), 900);
    }

    void createAndClearBoxes()
    {
        Ship ship = threeComponents();
        Component& c = ship.components[1];
        c.vertices = {{0, 0, 0}, {2, 0, 0}, {0, 4, -2}};
        testsupport::Face face;
        face.a = 0, face.b = 1, face.c = 2;
        c.faces = {face};
        Editor editor;
        auto& w = openShip(editor, ship);
        auto& file = *editor.state().file;

        // No component selected: nothing.
        const auto before = file.serialise();
        click(w, id::CreateBox);
        QCOMPARE(file.serialise(), before);

        clickEntry(w, id::ComponentList, 1);
        click(w, id::CreateBox);
        const auto boxes = sectionBlocks(file, 1, lay::type::Boxes);
        QCOMPARE(boxes.size(), std::size_t{1});
        QCOMPARE(boxes[0]->count, 1u);
        const shipfile::Bytes box = boxes[0]->record(0);
        const Vec3 centre = *shipfile::readVec3(box, lay::box::Centre);
        const Vec3 half = *shipfile::readVec3(box, lay::box::HalfExtents);
        QVERIFY(qFuzzyCompare(centre.x, 2.0f / 3) && qFuzzyCompare(centre.y, 4.0f / 3) &&
                qFuzzyCompare(centre.z, -2.0f / 3));
        QVERIFY(qFuzzyCompare(half.x, 4.0f / 3) && qFuzzyCompare(half.y, 8.0f / 3) &&
                qFuzzyCompare(half.z, 4.0f / 3));
        QCOMPARE(sectionBlocks(file, 1, lay::type::BoxFaceList).size(), std::size_t{1});
        QCOMPARE(shipClassField(w), QStringLiteral("Capship"));
        QVERIFY(w.isWindowModified());

        // A second Create box keeps the box there is.
        const auto withBox = file.serialise();
        click(w, id::CreateBox);
        QCOMPARE(file.serialise(), withBox);

        click(w, id::ClearBoxes);
        QCOMPARE(sectionBlocks(file, 1, lay::type::Boxes)[0]->count, 0u);
        QVERIFY(sectionBlocks(file, 1, lay::type::BoxFaceList).empty());
        QCOMPARE(shipClassField(w), QStringLiteral("Capship"));

        click(w, id::CreateBox);
        QCOMPARE(file.serialise(), withBox);
        QVERIFY(editor.sink.messages.empty());
    }

    void mergeAppendsTheSecondShipsComponents()
    {
        Editor editor;
        auto& w = openShip(editor, threeComponents());
        auto& state = editor.state();
        Ship other;
        other.shipClass = 2;
        other.components = {namedComponent("Delta", 60), namedComponent("Epsilon", 80)};
        const fs::path second = editor.writeShip("second.shp", testsupport::buildShip(other));

        // Cancelled: nothing.
        const auto before = state.file->serialise();
        editor.files.answer.clear();
        click(w, id::MergeShp);
        QCOMPARE(editor.files.calls, 1);
        QCOMPARE(editor.files.directory, QString::fromStdString(state.shipsDirectory.string()));
        QCOMPARE(editor.files.filters, QStringList({QStringLiteral("Vantaris SHP (*.shp)"),
                                                    QStringLiteral("All Files (*)")}));
        QCOMPARE(state.file->serialise(), before);

        clickEntry(w, id::ComponentList, 0);
        editor.files.answer = QString::fromStdString(second.string());
        click(w, id::MergeShp);
        QCOMPARE(componentEntries(w), texts({"Alpha", "Beta", "Gamma", "Delta", "Epsilon"}));
        QCOMPARE(shipfile::componentCount(*state.file), 5);
        QCOMPARE(blocksOfType(*state.file, lay::type::SectionStart), 5);
        QCOMPARE(shipClassField(w), QStringLiteral("Fighter"));
        QCOMPARE(state.selectedComponent, 0);
        QVERIFY(w.isWindowModified());
        // The merged components can be selected and edited like the others.
        clickEntry(w, id::ComponentList, 4);
        QCOMPARE(w.control<QListWidget>(id::AttachmentList)->count(), 1);
        QVERIFY(editor.sink.messages.empty());
    }

    void mergeRefusesAFileThatIsNoShip()
    {
        Editor editor;
        auto& w = openShip(editor, threeComponents());
        auto& state = editor.state();
        const auto before = state.file->serialise();

        // Components block first: the header is missing.
        const fs::path headless =
            editor.writeShip("headless.shp", testsupport::BlockBuilder()
                                                 .block(lay::type::Components, 312, 1)
                                                 .block(lay::type::Header, 64, 1)
                                                 .block(lay::type::SectionStart, 4, 1)
                                                 .end()
                                                 .build());
        editor.files.answer = QString::fromStdString(headless.string());
        click(w, id::MergeShp);
        QCOMPARE(editor.sink.texts(), std::vector<std::string>{std::string(editing::messages::BadShpFile.text)});
        QVERIFY(editor.sink.messages.front().ownedByMainWindow);
        QCOMPARE(state.file->serialise(), before);
        QCOMPARE(componentEntries(w), texts({"Alpha", "Beta", "Gamma"}));

        // Not a ship file at all: the loader's own message, nothing merged.
        editor.sink.messages.clear();
        const fs::path garbage = editor.writeShip("garbage.shp", {'j', 'u', 'n', 'k'});
        editor.files.answer = QString::fromStdString(garbage.string());
        click(w, id::MergeShp);
        QCOMPARE(editor.sink.texts(), std::vector<std::string>{std::string(messages::NotAnShp.text)});
        QCOMPARE(state.file->serialise(), before);
        QVERIFY(!w.isWindowModified());

        // Cut in its last block: the loader's warning, then the refusal; nothing merged.
        editor.sink.messages.clear();
        testsupport::ByteVector cut = testsupport::buildShip(threeComponents());
        cut.resize(cut.size() - 30);
        const testsupport::ByteVector end = testsupport::BlockBuilder().end().build();
        cut.insert(cut.end(), end.begin(), end.end());
        editor.files.answer = QString::fromStdString(editor.writeShip("cut.shp", cut).string());
        click(w, id::MergeShp);
        QCOMPARE(editor.sink.messages.size(), 2u);
        QCOMPARE(editor.sink.messages.back().text, std::string(editing::messages::MergeIncomplete.text));
        QCOMPARE(state.file->serialise(), before);
        QCOMPARE(componentEntries(w), texts({"Alpha", "Beta", "Gamma"}));
        QVERIFY(!w.isWindowModified());

        // Only the end marker: said so.
        editor.sink.messages.clear();
        const fs::path bare = editor.writeShip("bare.shp", end);
        editor.files.answer = QString::fromStdString(bare.string());
        click(w, id::MergeShp);
        QCOMPARE(editor.sink.texts(),
                 std::vector<std::string>{messages::formatText(messages::NoBlocks.text, bare.string())});
        QCOMPARE(state.file->serialise(), before);
    }

    void blockSwitchesShowTheSelectedComponentOnly()
    {
        Editor editor;
        auto& w = openShip(editor, threeComponents());
        const auto enabled = [&w] {
            return w.control<QCheckBox>(id::DummyTriangle)->isEnabled() &&
                   w.control<QCheckBox>(id::Block13)->isEnabled() &&
                   w.control<QCheckBox>(id::Block14)->isEnabled();
        };
        const auto anyChecked = [&w] {
            return boxChecked(w, id::DummyTriangle) || boxChecked(w, id::Block13) ||
                   boxChecked(w, id::Block14);
        };
        QVERIFY(!enabled());

        // Alpha switches Block14 on; deleting Alpha leaves no component to show.
        clickEntry(w, id::ComponentList, 0);
        QVERIFY(enabled());
        clickBox(w, id::Block14);
        QVERIFY(boxChecked(w, id::Block14));
        click(w, id::DeleteComponent);
        QVERIFY(!enabled());
        QVERIFY(!anyChecked());

        // Opening another ship forgets the last one's switches.
        clickEntry(w, id::ComponentList, 0);
        clickBox(w, id::Block14);
        QVERIFY(boxChecked(w, id::Block14));
        const fs::path other =
            editor.writeShip("other.shp", testsupport::buildShip(threeComponents()));
        editor.questions.answer = platform::SaveAnswer::Discard;
        editor.files.answer = QString::fromStdString(other.string());
        click(w, id::OpenShp);
        QCOMPARE(editor.state().selectedComponent, -1);
        QVERIFY(!enabled());
        QVERIFY(!anyChecked());

        // A disabled switch cannot be clicked into a state the document does not have.
        const auto before = editor.state().file->serialise();
        clickBox(w, id::Block14);
        QVERIFY(!boxChecked(w, id::Block14));
        QCOMPARE(editor.state().file->serialise(), before);
    }

    void specialBlockBoxesSwitchTheirBlocks()
    {
        Ship ship = threeComponents();
        ship.components[0].block13On = false;
        ship.components[0].block14Count = 0;
        ship.components[1].withBlock13 = false;
        ship.components[1].block14Count = 1;
        Editor editor;
        auto& w = openShip(editor, ship);
        auto& file = *editor.state().file;

        // No component: the click flips the box and nothing else.
        const auto untouched = file.serialise();
        clickBox(w, id::Block14);
        QCOMPARE(file.serialise(), untouched);

        clickEntry(w, id::ComponentList, 0);
        QVERIFY(!boxChecked(w, id::Block13) && !boxChecked(w, id::Block14) &&
                !boxChecked(w, id::DummyTriangle));

        clickBox(w, id::Block13);
        QVERIFY(boxChecked(w, id::Block13));
        QCOMPARE(words(*sectionBlocks(file, 0, lay::type::Block13).front()),
                 (std::vector<std::uint32_t>{2, 5}));
        QVERIFY(w.isWindowModified());
        clickBox(w, id::Block13);
        QVERIFY(!boxChecked(w, id::Block13));
        QCOMPARE(sectionBlocks(file, 0, lay::type::Block13).front()->count, 0u);

        clickBox(w, id::Block14);
        QVERIFY(boxChecked(w, id::Block14));
        QCOMPARE(sectionBlocks(file, 0, lay::type::Block14).size(), std::size_t{2});
        clickBox(w, id::Block14);
        QVERIFY(!boxChecked(w, id::Block14));
        QVERIFY(sectionBlocks(file, 0, lay::type::Block14).empty());

        const auto* faces = sectionBlocks(file, 0, lay::type::Faces).front();
        const std::uint32_t faceCount = faces->count;
        clickBox(w, id::DummyTriangle);
        QVERIFY(boxChecked(w, id::DummyTriangle));
        QCOMPARE(faces->count, faceCount + 1);
        const shipfile::Bytes dummy = faces->record(faceCount);
        QCOMPARE(shipfile::readU32(dummy, lay::face::VertexA), std::optional<std::uint32_t>(0));
        QCOMPARE(shipfile::readU32(dummy, lay::face::VertexC), std::optional<std::uint32_t>(0));
        QCOMPARE(shipfile::readU32(dummy, lay::face::DummyMarker),
                 std::optional<std::uint32_t>(23));
        clickBox(w, id::DummyTriangle);
        QVERIFY(!boxChecked(w, id::DummyTriangle));
        QCOMPARE(faces->count, faceCount);

        // One type-14 block: the click completes the pair.
        clickEntry(w, id::ComponentList, 1);
        QVERIFY(!boxChecked(w, id::Block14));
        clickBox(w, id::Block14);
        QVERIFY(boxChecked(w, id::Block14));
        QCOMPARE(sectionBlocks(file, 1, lay::type::Block14).size(), std::size_t{2});

        // No type-13 block: refused, and the box keeps what the click made of it.
        editor.sink.messages.clear();
        const auto before = file.serialise();
        clickBox(w, id::Block13);
        QCOMPARE(editor.sink.texts(),
                 std::vector<std::string>{std::string(editing::messages::ErrorInitializingBlock13.text)});
        QCOMPARE(file.serialise(), before);
        QVERIFY(boxChecked(w, id::Block13));
    }

    void dummyTriangleBoxShowsAComponentWithoutFacesAsOff()
    {
        Ship ship = threeComponents();
        ship.components[2].faces.clear();
        Editor editor;
        auto& w = openShip(editor, ship);
        clickEntry(w, id::ComponentList, 2);
        const auto before = editor.state().file->serialise();
        clickBox(w, id::DummyTriangle);
        QVERIFY(!boxChecked(w, id::DummyTriangle));
        QCOMPARE(editor.state().file->serialise(), before);
    }

    void animationOpensOnTheSelectedComponent()
    {
        Editor editor;
        const fs::path path =
            editor.writeShip("ship.shp", testsupport::buildShip(testsupport::sampleShip()));
        auto& w = editor.start(editor.writePrefix("prefix"), QString::fromStdString(path.string()));
        namespace anim = resources::animation;

        {
            // No component selected: no editor.
            ModalDriver driver(rejectDialog);
            click(w, id::Animation);
            QTest::qWait(50);
            QCOMPARE(driver.shown, 0);
        }

        clickEntry(w, id::ComponentList, 1);
        QStringList frames;
        QString totalTime;
        {
            ModalDriver driver([&](QDialog& dialog) {
                frames = entries(control<QListWidget>(dialog, anim::Frames));
                totalTime = control<QLineEdit>(dialog, anim::TotalTime)->text();
                retype(control<QLineEdit>(dialog, anim::TotalTime), QStringLiteral("750"));
                control<QPushButton>(dialog, anim::Ok)->click();
            });
            click(w, id::Animation);
            QCOMPARE(driver.shown, 1);
        }
        QCOMPARE(frames, texts({"Frame 0", "Frame 1"}));
        QCOMPARE(totalTime, QStringLiteral("1000"));
        const auto header = editing::readAnimationHeader(
            sectionBlocks(*editor.state().file, 1, lay::type::AnimationHeader).front());
        QCOMPARE(header->totalTime, 750);
        QVERIFY(w.isWindowModified());
    }
};

KORVEX_REGISTER_TEST(ComponentCommandsTest);

} // namespace apptests

#include "ComponentCommandsTest.moc"
