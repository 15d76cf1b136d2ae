#include "app/ListPanes.h"
#include "app/ViewControls.h"
#include "editing/Attachments.h"
#include "resources/MainWindowTemplate.h"
#include "shipfile/Layout.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"
#include "viewer/FixedViews.h"
#include "viewer/MouseDrag.h"
#include "viewer/ShipViewWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QTest>

#include <cmath>

namespace apptests {

namespace id = resources::mainwindow;
namespace lay = shipfile::layout;
using shipfile::Vec3;
using viewer::MouseMode;
using viewer::ViewChoice;

namespace {

constexpr double Tolerance = 1e-4;

bool near(Vec3 a, Vec3 b)
{
    return std::abs(a.x - b.x) < Tolerance && std::abs(a.y - b.y) < Tolerance &&
           std::abs(a.z - b.z) < Tolerance;
}

QByteArray show(Vec3 v)
{
    return QByteArray::number(v.x) + ", " + QByteArray::number(v.y) + ", " +
           QByteArray::number(v.z);
}

bool sameMatrix(const viewer::Matrix4& a, const viewer::Matrix4& b)
{
    for (int i = 0; i < 16; ++i)
        if (std::abs(a.data()[i] - b.data()[i]) > 1e-9)
            return false;
    return true;
}

/// The axes a drag right (horizontal) and down (vertical) change in each fixed view, with the
/// sign of the change: a dragged thing follows the mouse on the screen.
struct DragRow
{
    ViewChoice view;
    Vec3 perPixelRight;
    Vec3 perPixelDown;
};

const DragRow DragRows[] = {
    {ViewChoice::Bottom, {-1, 0, 0}, {0, 0, -1}}, {ViewChoice::Left, {0, 0, -1}, {0, 1, 0}},
    {ViewChoice::Front, {-1, 0, 0}, {0, 1, 0}},   {ViewChoice::Top, {1, 0, 0}, {0, 0, -1}},
    {ViewChoice::Right, {0, 0, 1}, {0, 1, 0}},    {ViewChoice::Back, {1, 0, 0}, {0, 1, 0}},
};

Vec3 scaled(Vec3 v, int pixels, int zoom)
{
    const float amount = static_cast<float>(pixels * zoom) * viewer::DragScale;
    return {v.x * amount, v.y * amount, v.z * amount};
}

Vec3 plus(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vec3 minus(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3 attachmentPosition(app::MainDialog& w, int component, int attachment)
{
    return *shipfile::readVec3(
        editing::attachmentRecord(*w.state().file, component, attachment),
        lay::attachment::Position);
}

Vec3 origin(app::MainDialog& w, int component)
{
    return *w.state().file->componentBlock->componentOrigin(static_cast<std::size_t>(component));
}

/// A left-button drag on the view widget: press at `from`, then moves through `path`, then
/// release at the last point.
void drag(app::MainDialog& w, QPoint from, std::initializer_list<QPoint> path)
{
    QWidget* view = w.viewWidget();
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QPoint last = from;
    for (const QPoint to : path) {
        QTest::mouseMove(view, to);
        last = to;
    }
    QTest::mouseRelease(view, Qt::LeftButton, {}, last);
}

void setMouseMode(app::MainDialog& w, MouseMode mode)
{
    while (w.viewControls().mouse().mouseMode != mode)
        QTest::keyClick(w.focusWidget() ? w.focusWidget() : &w, Qt::Key_Shift);
}

/// Types a key into whatever has the focus in the main window, as the keyboard would.
void press(app::MainDialog& w, Qt::Key key)
{
    QTest::keyClick(w.focusWidget() ? w.focusWidget() : &w, key);
}

viewer::Matrix4 fixedView(ViewChoice choice)
{
    viewer::Matrix4 m;
    viewer::applyFixedView(choice, m);
    return m;
}

} // namespace

class ViewControlsTest : public QObject
{
    Q_OBJECT

private:
    app::MainDialog& openSample(Editor& editor) { return editor.startWithSampleShip(); }

    void selectComponentAndAttachment(app::MainDialog& w, int component, int attachment)
    {
        w.control<QListWidget>(id::ComponentList)->setCurrentRow(component);
        w.control<QListWidget>(id::AttachmentList)->setCurrentRow(attachment);
    }

private slots:
    void dragsInEveryFixedViewModeAndZoomFollowTheMouse()
    {
        Editor editor;
        auto& w = openSample(editor);
        selectComponentAndAttachment(w, 0, 1);
        QCOMPARE(editor.state().selectedAttachment, 1);
        auto* slider = w.control<QSlider>(id::ZoomSlider);
        const QPoint start(150, 200);

        for (const int zoom : {1, 4}) {
            slider->setValue(zoom);
            for (const DragRow& row : DragRows) {
                w.viewControls().chooseView(row.view);
                const QByteArray where = QByteArray(
                    viewer::ViewChoiceTexts[static_cast<std::size_t>(row.view)].data()) +
                    " zoom " + QByteArray::number(zoom);
                const Vec3 expected = plus(scaled(row.perPixelRight, 10, zoom),
                                           scaled(row.perPixelDown, 6, zoom));

                setMouseMode(w, MouseMode::MoveAttachments);
                const Vec3 attachmentBefore = attachmentPosition(w, 0, 1);
                const Vec3 otherBefore = attachmentPosition(w, 0, 0);
                drag(w, start, {start + QPoint(10, 0), start + QPoint(10, 6)});
                const Vec3 attachmentAfter = attachmentPosition(w, 0, 1);
                QVERIFY2(near(attachmentAfter, plus(attachmentBefore, expected)),
                         where + ": " + show(attachmentAfter));
                QVERIFY(near(attachmentPosition(w, 0, 0), otherBefore));

                setMouseMode(w, MouseMode::MoveComponent);
                const Vec3 originBefore = origin(w, 0);
                drag(w, start, {start + QPoint(10, 0), start + QPoint(10, 6)});
                QVERIFY2(near(origin(w, 0), plus(originBefore, expected)),
                         where + ": " + show(origin(w, 0)));
                QVERIFY(near(attachmentPosition(w, 0, 1), attachmentAfter));

                setMouseMode(w, MouseMode::MoveShip);
                const Vec3 centerBefore = w.view().center;
                const auto image = editor.state().file->serialise();
                drag(w, start, {start + QPoint(10, 0), start + QPoint(10, 6)});
                QVERIFY2(near(w.view().center, minus(centerBefore, expected)),
                         where + ": " + show(w.view().center));
                QVERIFY(editor.state().file->serialise() == image);
                // Ticking the box again hands the centre back to the selected component.
                w.control<QCheckBox>(id::CenterOnObject)->click();
                QCOMPARE(w.view().centerOnObject, true);
            }
        }
        QVERIFY(editor.sink.messages.empty());
    }

    void theFirstShipMoveUnticksCentringAndOnlyPressedMovesCount()
    {
        Editor editor;
        auto& w = openSample(editor);
        selectComponentAndAttachment(w, 0, 0);
        w.viewControls().chooseView(ViewChoice::Front);
        setMouseMode(w, MouseMode::MoveShip);
        auto* centring = w.control<QCheckBox>(id::CenterOnObject);
        QVERIFY(centring->isChecked());

        QWidget* view = w.viewWidget();
        const QPoint start(100, 100);
        QTest::mousePress(view, Qt::LeftButton, {}, start);
        QVERIFY(centring->isChecked()); // a press alone moves nothing
        QTest::mouseMove(view, start + QPoint(4, 0));
        QVERIFY(!centring->isChecked());
        QCOMPARE(w.view().centerOnObject, false);
        QTest::mouseMove(view, start);
        QTest::mouseRelease(view, Qt::LeftButton, {}, start);
        QVERIFY(!centring->isChecked());

        // With the button up nothing moves and the last position stays where the drag ended.
        setMouseMode(w, MouseMode::MoveAttachments);
        const auto image = editor.state().file->serialise();
        const viewer::MouseState mouse = w.viewControls().mouse();
        QVERIFY(!mouse.mouseDown);
        QTest::mouseMove(view, start + QPoint(30, 40));
        QTest::mouseMove(view, start + QPoint(-20, 5));
        QVERIFY(editor.state().file->serialise() == image);
        QCOMPARE(w.viewControls().mouse().lastMouseX, mouse.lastMouseX);
        QCOMPARE(w.viewControls().mouse().lastMouseY, mouse.lastMouseY);

        // Mode 0 without a selected attachment moves nothing either.
        w.control<QListWidget>(id::ComponentList)->setCurrentRow(1);
        QCOMPARE(editor.state().selectedAttachment, -1);
        drag(w, start, {start + QPoint(10, 10)});
        QVERIFY(editor.state().file->serialise() == image);
        QVERIFY(editor.sink.messages.empty());
    }

    void freeViewTurnsFromTheLastViewAndMovesNothing()
    {
        Editor editor;
        auto& w = openSample(editor);
        selectComponentAndAttachment(w, 0, 0);
        w.viewControls().chooseView(ViewChoice::Top);
        w.viewControls().chooseView(ViewChoice::FreeView);
        QVERIFY(sameMatrix(editor.state().viewOrientation, fixedView(ViewChoice::Top)));

        const auto image = editor.state().file->serialise();
        for (const MouseMode mode :
             {MouseMode::MoveAttachments, MouseMode::MoveShip, MouseMode::MoveComponent}) {
            setMouseMode(w, mode);
            const viewer::Matrix4 before = editor.state().viewOrientation;
            const Vec3 center = w.view().center;
            const QPoint start(120, 120);
            drag(w, start, {start + QPoint(3, -5)}); // 5 up, 3 right
            viewer::Matrix4 expected = before;
            expected.rotateX(5);
            expected.rotateY(3);
            QVERIFY(sameMatrix(editor.state().viewOrientation, expected));
            QVERIFY(sameMatrix(w.view().orientation, expected));
            QVERIFY(near(w.view().center, center));
        }
        QVERIFY(editor.state().file->serialise() == image);
        QVERIFY(w.control<QCheckBox>(id::CenterOnObject)->isChecked());
    }

    void shiftCyclesTheMouseModeAndTheViewKeysChooseViews()
    {
        Editor editor;
        auto& w = openSample(editor);
        auto* mode = w.control<QLineEdit>(id::MouseMode);
        auto* views = w.control<QComboBox>(id::ViewChoice);
        auto* scale = w.control<QLineEdit>(id::ScaleFactor);
        QCOMPARE(mode->text(), QStringLiteral("Move Attachments"));
        press(w, Qt::Key_Shift);
        QCOMPARE(mode->text(), QStringLiteral("Move Ship (view only)"));
        press(w, Qt::Key_Shift);
        QCOMPARE(mode->text(), QStringLiteral("Move selected type-1"));
        press(w, Qt::Key_Shift);
        QCOMPARE(mode->text(), QStringLiteral("Move Attachments"));

        const struct
        {
            Qt::Key key;
            ViewChoice view;
        } keys[] = {{Qt::Key_1, ViewChoice::Bottom}, {Qt::Key_2, ViewChoice::Left},
                    {Qt::Key_3, ViewChoice::Front},  {Qt::Key_Q, ViewChoice::Top},
                    {Qt::Key_W, ViewChoice::Right},  {Qt::Key_E, ViewChoice::Back}};
        for (const auto& entry : keys) {
            press(w, entry.key);
            QCOMPARE(views->currentIndex(), static_cast<int>(entry.view));
            QVERIFY(sameMatrix(editor.state().viewOrientation, fixedView(entry.view)));
            QVERIFY(sameMatrix(w.view().orientation, fixedView(entry.view)));
        }
        press(w, Qt::Key_4);
        QCOMPARE(views->currentText(), QStringLiteral("FreeView"));
        QVERIFY(sameMatrix(w.view().orientation, fixedView(ViewChoice::Back)));

        // In the scale-factor field the letters still choose views and type nothing; the
        // digits, the point and the sign are the field's.
        scale->setFocus();
        QVERIFY(scale->hasFocus());
        scale->selectAll();
        QTest::keyClick(scale, Qt::Key_Q);
        QCOMPARE(views->currentText(), QStringLiteral("Top"));
        QCOMPARE(scale->text(), QStringLiteral("1.2"));
        QTest::keyClick(scale, Qt::Key_Shift);
        QCOMPARE(mode->text(), QStringLiteral("Move Ship (view only)"));
        QCOMPARE(scale->text(), QStringLiteral("1.2"));
        scale->selectAll();
        QTest::keyClicks(scale, QStringLiteral("-12.5"));
        QCOMPARE(scale->text(), QStringLiteral("-12.5"));
        QCOMPARE(views->currentText(), QStringLiteral("Top"));

        // Typing into the chooser's own text changes no view.
        views->setFocus();
        views->lineEdit()->selectAll();
        QTest::keyClicks(views->lineEdit(), QStringLiteral("xyz"));
        QVERIFY(sameMatrix(w.view().orientation, fixedView(ViewChoice::Top)));
    }

    void theDisplayBoxesFlipTheirFlags()
    {
        Editor editor;
        auto& w = openSample(editor);
        const struct
        {
            int control;
            bool viewer::ShipView::*flag;
        } boxes[] = {{id::TextureMap, &viewer::ShipView::textureMap},
                     {id::HighQualityTextures, &viewer::ShipView::highQualityTextures},
                     {id::MarkSelected, &viewer::ShipView::markSelected},
                     {id::IgnoreDest, &viewer::ShipView::ignoreDest},
                     {id::ShowBoxes, &viewer::ShipView::showBoxes},
                     {id::CenterOnObject, &viewer::ShipView::centerOnObject}};
        for (const auto& box : boxes) {
            auto* check = w.control<QCheckBox>(box.control);
            const bool before = w.view().*box.flag;
            QCOMPARE(check->isChecked(), before);
            QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
            QCOMPARE(w.view().*box.flag, !before);
            QCOMPARE(check->isChecked(), !before);
            check->click();
            QCOMPARE(w.view().*box.flag, before);
        }

        // Unticking centring puts the ship's own origin at the anchor point.
        w.control<QListWidget>(id::ComponentList)->setCurrentRow(1);
        QVERIFY(!near(w.view().center, Vec3{}));
        w.control<QCheckBox>(id::CenterOnObject)->click();
        QVERIFY(near(w.view().center, Vec3{}));
    }

    void choosingTheSameViewTwiceGivesTheSamePicture()
    {
        Editor editor;
        auto& w = openSample(editor);
        auto* views = w.control<QComboBox>(id::ViewChoice);
        const auto pick = [&](ViewChoice choice) {
            views->setCurrentIndex(static_cast<int>(choice));
            emit views->activated(static_cast<int>(choice));
        };
        pick(ViewChoice::Back);
        const QImage first = editor.picture();
        QVERIFY(editor.shipPixels() > 200);
        pick(ViewChoice::Back);
        QCOMPARE(editor.picture(), first);

        pick(ViewChoice::FreeView);
        QCOMPARE(editor.picture(), first); // FreeView keeps what is shown
        drag(w, QPoint(100, 100), {QPoint(140, 80)});
        QVERIFY(editor.picture() != first);
        pick(ViewChoice::Back);
        QCOMPARE(editor.picture(), first);

        pick(ViewChoice::Front);
        QVERIFY(editor.picture() != first);
    }
};

KORVEX_REGISTER_TEST(ViewControlsTest);

} // namespace apptests

#include "ViewControlsTest.moc"
