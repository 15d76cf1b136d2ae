#include "app/PreviewControls.h"
#include "editing/Attachments.h"
#include "resources/AnimationTemplate.h"
#include "resources/MainWindowTemplate.h"
#include "shipfile/Bytes.h"
#include "shipfile/Layout.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"
#include "viewer/ShipViewWidget.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTest>

#include <cmath>

// The view box, the keys, the display boxes and left-button drags on the view: each reaches
// the view or the command it names. The drag arithmetic is the viewer core's.
namespace apptests {

namespace id = resources::mainwindow;
using shipfile::Vec3;
using viewer::MouseMode;
using viewer::ViewChoice;

namespace {

bool near(Vec3 a, Vec3 b)
{
    return std::abs(a.x - b.x) < 1e-4f && std::abs(a.y - b.y) < 1e-4f &&
           std::abs(a.z - b.z) < 1e-4f;
}

Vec3 plus(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

bool sameMatrix(const viewer::Matrix4& a, const viewer::Matrix4& b)
{
    for (int i = 0; i < 16; ++i)
        if (std::abs(a.data()[i] - b.data()[i]) > 1e-9)
            return false;
    return true;
}

viewer::Matrix4 fixedView(ViewChoice choice)
{
    viewer::Matrix4 m;
    viewer::applyFixedView(choice, m);
    return m;
}

Vec3 attachmentPosition(app::MainDialog& w, int attachment)
{
    return *shipfile::readVec3(editing::attachmentRecord(*w.state().file(), 0, attachment),
                               shipfile::layout::attachment::Position);
}

Vec3 origin(app::MainDialog& w)
{
    return *w.state().file()->componentBlock()->componentOrigin(0);
}

void drag(app::MainDialog& w, QPoint from, QPoint to)
{
    QWidget* view = w.viewWidget();
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QTest::mouseMove(view, QPoint(to.x(), from.y()));
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, {}, to);
}

// A move of the pointer without a button, straight to the window's handling: no other test's
// window on the shared display moves the pointer in between.
void hover(app::MainDialog& w, QPoint inView)
{
    const QPointF at = w.viewWidget()->mapTo(&w, inView);
    QMouseEvent move(QEvent::MouseMove, at, w.mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
    QCoreApplication::sendEvent(&w, &move);
}

} // namespace

class ViewControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void dragsMoveWhatTheMouseModeNames()
    {
        Editor editor;
        auto& w = editor.open();
        clickEntry(w, id::ComponentList, 0);
        clickEntry(w, id::AttachmentList, 1);
        QAction* undo = menuEntry(w, QStringLiteral("Undo"));
        auto* centring = w.control<QCheckBox>(id::CenterOnObject);
        const QPoint start(150, 200), end(160, 206);

        for (const ViewChoice view : {ViewChoice::Front, ViewChoice::Right})
            for (const int zoom : {1, 4}) {
                chooseView(w, view);
                w.setZoom(zoom);
                viewer::MouseState mouse;
                viewer::pressButton(mouse, start.x(), start.y());
                const Vec3 step =
                    viewer::dragStep(mouse, end.x(), end.y(), static_cast<int>(view), zoom).delta;

                setMouseMode(w, MouseMode::MoveAttachments);
                const Vec3 attachment = attachmentPosition(w, 1);
                const Vec3 other = attachmentPosition(w, 0);
                drag(w, start, end);
                QVERIFY(near(attachmentPosition(w, 1), plus(attachment, step)));
                QVERIFY(near(attachmentPosition(w, 0), other));
                QCOMPARE(entryText(undo), QStringLiteral("Undo Move attachment"));

                setMouseMode(w, MouseMode::MoveComponent);
                const Vec3 componentOrigin = origin(w);
                drag(w, start, end);
                QVERIFY(near(origin(w), plus(componentOrigin, step)));
                QVERIFY(near(attachmentPosition(w, 1), plus(attachment, step)));
                QCOMPARE(entryText(undo), QStringLiteral("Undo Move component"));
                const std::size_t steps = editor.state().session->history().undoCount();

                // The view moves against the pointer, the ship not at all; the first move
                // unticks centring.
                setMouseMode(w, MouseMode::MoveShip);
                const Vec3 center = w.view().center;
                const auto image = editor.state().file()->serialise();
                drag(w, start, end);
                QVERIFY(near(plus(w.view().center, step), center));
                QVERIFY(editor.state().file()->serialise() == image);
                QCOMPARE(editor.state().session->history().undoCount(), steps);
                QVERIFY(!centring->isChecked());
                centring->click();
                QVERIFY(w.view().centerOnObject);
            }

        // With the button up nothing moves; nor does a drag without a selected attachment.
        setMouseMode(w, MouseMode::MoveAttachments);
        const auto image = editor.state().file()->serialise();
        QTest::mouseMove(w.viewWidget(), start + QPoint(30, 40));
        clickEntry(w, id::ComponentList, 1);
        drag(w, start, end);
        QVERIFY(editor.state().file()->serialise() == image);
        QVERIFY(editor.sink.messages.empty());
    }

    void freeViewTurnsFromTheLastViewAndMovesNothing()
    {
        Editor editor;
        auto& w = editor.open();
        clickEntry(w, id::ComponentList, 0);
        clickEntry(w, id::AttachmentList, 0);
        chooseView(w, ViewChoice::Top);
        const QImage top = editor.picture();
        // Over the view of a fixed view the status bar names the ship point under the pointer;
        // once the view is turned off the axes it names none.
        const auto* pointer = w.findChild<QLabel*>(QStringLiteral("pointerCoordinates"));
        hover(w, QPoint(100, 90));
        QVERIFY2(QRegularExpression(QStringLiteral("^X -?[0-9.]+  Z -?[0-9.]+$"))
                     .match(pointer->text())
                     .hasMatch(),
                 qPrintable(pointer->text()));
        // Onto a list, where the window sees no more moves.
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(w.control<QWidget>(id::ComponentList), &enter);
        QCOMPARE(pointer->text(), QString());
        hover(w, QPoint(100, 91));
        QVERIFY(!pointer->text().isEmpty());
        chooseView(w, ViewChoice::FreeView);
        QVERIFY(sameMatrix(editor.state().viewOrientation, fixedView(ViewChoice::Top)));

        const auto image = editor.state().file()->serialise();
        for (const MouseMode mode :
             {MouseMode::MoveAttachments, MouseMode::MoveShip, MouseMode::MoveComponent}) {
            setMouseMode(w, mode);
            const viewer::Matrix4 before = editor.state().viewOrientation;
            const Vec3 center = w.view().center;
            drag(w, QPoint(120, 120), QPoint(123, 115));
            QVERIFY(!sameMatrix(editor.state().viewOrientation, before));
            QVERIFY(sameMatrix(w.view().orientation, editor.state().viewOrientation));
            QVERIFY(near(w.view().center, center));
        }
        QVERIFY(editor.state().file()->serialise() == image);
        QVERIFY(!editor.state().session->history().canUndo());
        QVERIFY(editor.picture() != top);
        hover(w, QPoint(101, 90));
        QCOMPARE(pointer->text(), QString());

        // A fixed view is built afresh, not turned on from the free turns.
        chooseView(w, ViewChoice::Top);
        QCOMPARE(editor.picture(), top);
    }

    void shiftCyclesTheMouseModeAndTheViewKeysChooseViews()
    {
        Editor editor;
        auto& w = editor.open();
        auto* mode = w.control<QLineEdit>(id::MouseMode);
        auto* views = w.control<QComboBox>(id::ViewChoice);
        auto* scale = w.control<QLineEdit>(id::ScaleFactor);
        for (const char* next :
             {"Move Ship (view only)", "Move selected type-1", "Move Attachments"}) {
            press(w, Qt::Key_Shift);
            QCOMPARE(mode->text(), QString::fromUtf8(next));
        }

        const std::pair<Qt::Key, ViewChoice> keys[] = {
            {Qt::Key_1, ViewChoice::Bottom}, {Qt::Key_2, ViewChoice::Left},
            {Qt::Key_3, ViewChoice::Front},  {Qt::Key_Q, ViewChoice::Top},
            {Qt::Key_W, ViewChoice::Right},  {Qt::Key_E, ViewChoice::Back}};
        for (const auto& [key, view] : keys) {
            press(w, key);
            QCOMPARE(views->currentIndex(), static_cast<int>(view));
            QVERIFY(sameMatrix(w.view().orientation, fixedView(view)));
        }
        press(w, Qt::Key_4);
        QCOMPARE(views->currentText(), QStringLiteral("FreeView"));
        QVERIFY(sameMatrix(w.view().orientation, fixedView(ViewChoice::Back)));

        // Shift in a shortcut, with a click or before a capital letter cycles nothing.
        QTest::keyPress(&w, Qt::Key_Control);
        QTest::keyPress(&w, Qt::Key_Shift, Qt::ControlModifier);
        QTest::keyRelease(&w, Qt::Key_Shift, Qt::ControlModifier);
        QTest::keyRelease(&w, Qt::Key_Control);
        QTest::keyPress(&w, Qt::Key_Shift, Qt::ShiftModifier);
        QTest::keyClick(&w, Qt::Key_E, Qt::ShiftModifier);
        QTest::keyRelease(&w, Qt::Key_Shift);
        QTest::keyPress(&w, Qt::Key_Shift, Qt::ShiftModifier);
        QTest::mouseClick(w.viewWidget(), Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
        QTest::keyRelease(&w, Qt::Key_Shift);
        QCOMPARE(mode->text(), QStringLiteral("Move Attachments"));

        // A text field keeps every key it can take: letters, digits, Shift, F and Home.
        const double zoom = w.view().zoom;
        for (QLineEdit* field : {scale, views->lineEdit()}) {
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, QStringLiteral("1w2Fqef"));
            QTest::keyClick(field, Qt::Key_Shift);
            QTest::keyClick(field, Qt::Key_Home);
            QTest::keyClick(field, Qt::Key_F);
            QCOMPARE(field->text(), QStringLiteral("f1w2Fqef"));
            QCOMPARE(views->currentIndex(), static_cast<int>(ViewChoice::FreeView));
            QCOMPARE(mode->text(), QStringLiteral("Move Attachments"));
            QCOMPARE(w.view().zoom, zoom);
        }
        scale->setText(QStringLiteral("1.2"));
        w.setFocus();
        press(w, Qt::Key_Shift);
        QCOMPARE(mode->text(), QStringLiteral("Move Ship (view only)"));
    }

    void theDisplayBoxesSwitchTheirFlags()
    {
        Editor editor;
        auto& w = editor.open();
        const std::pair<int, bool viewer::ShipView::*> boxes[] = {
            {id::TextureMap, &viewer::ShipView::textureMap},
            {id::HighQualityTextures, &viewer::ShipView::highQualityTextures},
            {id::MarkSelected, &viewer::ShipView::markSelected},
            {id::IgnoreDest, &viewer::ShipView::ignoreDest},
            {id::ShowBoxes, &viewer::ShipView::showBoxes},
            {id::CenterOnObject, &viewer::ShipView::centerOnObject},
            {id::Preview, &viewer::ShipView::preview}};
        for (const auto& [box, flag] : boxes) {
            const bool before = w.view().*flag;
            QCOMPARE(isChecked(w, box), before);
            click(w, box);
            QCOMPARE(w.view().*flag, !before);
            click(w, box);
            QCOMPARE(w.view().*flag, before);
        }
        // The menu entry and the box are one switch.
        menuEntry(w, QStringLiteral("Preview"))->trigger();
        QVERIFY(w.view().preview && isChecked(w, id::Preview));

        // Unticking centring puts the ship's own origin at the anchor point.
        clickEntry(w, id::ComponentList, 1);
        QVERIFY(!near(w.view().center, Vec3{}));
        click(w, id::CenterOnObject);
        QVERIFY(near(w.view().center, Vec3{}));
    }

    void playbackRunsUntilAnEditAndGoesOnInTheAnimationEditor()
    {
        Editor editor;
        auto& w = editor.open();
        app::PreviewControls& preview = w.preview();
        QAction* play = menuEntry(w, QStringLiteral("Play"));
        play->trigger();
        QVERIFY(preview.isPlaying());
        QCOMPARE(entryText(play), QStringLiteral("Stop"));

        // Space plays and stops only while the view has the focus.
        w.viewWidget()->setFocus();
        press(w, Qt::Key_Space);
        QVERIFY(!preview.isPlaying());
        press(w, Qt::Key_Space);
        QVERIFY(preview.isPlaying());

        // Any edit stops it; the animation editor keeps it going and has its own button.
        click(w, id::ChangeShipClass);
        QVERIFY(!preview.isPlaying());
        play->trigger();
        clickEntry(w, id::ComponentList, 0);
        bool playingInEditor = false;
        ModalDriver driver([&](QDialog& dialog) {
            auto* button = platform::findControl<QPushButton>(dialog, resources::animation::Play);
            playingInEditor = preview.isPlaying() && button->text() == QStringLiteral("Stop");
            button->click();
            playingInEditor = playingInEditor && button->text() == QStringLiteral("Play");
            dialog.accept();
        });
        click(w, id::Animation);
        QVERIFY(playingInEditor);
        QVERIFY(!preview.isPlaying());
    }
};

KORVEX_REGISTER_TEST(ViewControlsTest);

} // namespace apptests

#include "ViewControlsTest.moc"
