#include "resources/MainWindowTemplate.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"
#include "viewer/ShipViewWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QListWidget>
#include <QSlider>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

namespace apptests {

namespace id = resources::mainwindow;
using viewer::ViewChoice;

namespace {

// The sample ship seen from the front at zoom 2: a ship point's place in the view widget,
// whose anchor is 194 pixels from its left and 155.2 from its bottom at the template's size.
QPoint frontViewPixel(const app::MainDialog& w, double x, double y, double zoom = 2)
{
    const QSize size = w.viewWidget()->size();
    const double perUnit = 10.0 * 388.0 / 2000.0 / zoom;
    const double anchorX = size.width() / 2.0;
    const double anchorY = size.height() - (155.2 + (size.height() - 388) / 2.0);
    return QPoint(static_cast<int>(std::floor(anchorX - x * perUnit)),
                  static_cast<int>(std::floor(anchorY + y * perUnit)));
}

void click(app::MainDialog& w, QPoint inView)
{
    QTest::mouseClick(w.viewWidget(), Qt::LeftButton, {}, inView);
}

void turnWheel(app::MainDialog& w, QPoint inView, int notches)
{
    const QPointF at = w.viewWidget()->mapTo(&w, QPointF(inView));
    QWheelEvent wheel(at, w.mapToGlobal(at), {}, {0, notches * QWheelEvent::DefaultDeltasPerStep},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &wheel);
}

} // namespace

class ViewPointingTest : public QObject
{
    Q_OBJECT

private:
    app::MainDialog& openSample(Editor& editor)
    {
        auto& w = editor.open();
        chooseView(w, ViewChoice::Front);
        w.setZoom(2);
        return w;
    }

private slots:
    void hoverNamesAndClicksSelectWhatIsUnderThePointer()
    {
        Editor editor;
        auto& w = openSample(editor);
        auto* components = w.control<QListWidget>(id::ComponentList);
        auto* attachments = w.control<QListWidget>(id::AttachmentList);
        const auto tipAt = [&](QPoint inView) {
            const QPoint at = w.viewWidget()->mapTo(&w, inView);
            QHelpEvent help(QEvent::ToolTip, at, w.mapToGlobal(at));
            QApplication::sendEvent(&w, &help);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QTRY_COMPARE(tipAt(frontViewPixel(w, 0, 60)), QStringLiteral("Turret"));
        QTRY_COMPARE(tipAt(frontViewPixel(w, 30, 0)), QStringLiteral("Hull"));
        QTRY_COMPARE(tipAt(QPoint(380, 380)), QString());

        // The hull's middle, then the turret below it (the front view shows +y down).
        click(w, frontViewPixel(w, 30, 0));
        QCOMPARE(editor.state().selectedComponent, 0);
        QCOMPARE(components->currentRow(), 0);
        QCOMPARE(attachments->count(), 5);
        // Centred on the hull now, which sits at the anchor as before.
        click(w, frontViewPixel(w, 0, 60));
        QCOMPARE(editor.state().selectedComponent, 1);
        QCOMPARE(components->currentRow(), 1);
        QCOMPARE(attachments->count(), 1);

        // Empty space changes nothing.
        click(w, QPoint(380, 380));
        QCOMPARE(editor.state().selectedComponent, 1);
        click(w, frontViewPixel(w, 30, -60)); // the hull, centred on the turret's origin now
        QCOMPARE(editor.state().selectedComponent, 0);

        // With an attachment chosen the hull's markers show, and a click on one chooses it:
        // kind 3 sits at x 20, y 50 of the hull.
        attachments->setCurrentRow(0);
        click(w, frontViewPixel(w, 20, 50));
        QCOMPARE(editor.state().selectedAttachment, 3);
        QCOMPARE(attachments->currentRow(), 3);
        QCOMPARE(editor.state().selectedComponent, 0);
        QVERIFY(editor.sink.messages.empty());
    }

    void theWheelTheSliderAndTheFitKeysZoom()
    {
        Editor editor;
        auto& w = openSample(editor);
        auto* slider = w.control<QSlider>(id::ZoomSlider);
        const QPoint anchor = frontViewPixel(w, 0, 0);
        turnWheel(w, anchor, -3);
        QVERIFY(w.view().zoom > 2);
        QCOMPARE(slider->value(), viewer::camera::sliderPosition(w.view().zoom, 500));
        QVERIFY(slider->value() > 100); // a few notches move it well along the track
        turnWheel(w, anchor, 3);
        QVERIFY(std::abs(w.view().zoom - 2) < 1e-9);

        // Closer than the slider goes: it shows its minimum; the slider sets it back.
        turnWheel(w, anchor, 10);
        QVERIFY(w.view().zoom < 1);
        QCOMPARE(slider->value(), 0);
        const int closeUp = editor.shipPixels();
        slider->setValue(viewer::camera::sliderPosition(7, 500));
        QVERIFY(std::abs(w.view().zoom - 7) < 0.05);
        w.setZoom(7);
        QVERIFY(editor.shipPixels() < closeUp); // drawn at once, not at some later paint

        // Off the anchor the ship point under the pointer stays: the centre moves toward it.
        w.control<QCheckBox>(id::CenterOnObject)->click(); // no component selected anyway
        const QPoint aside = frontViewPixel(w, -100, 0, 7);
        turnWheel(w, aside, 2);
        QVERIFY(w.view().center.x < -1); // the ship's -x shows to the right in front
        QVERIFY(std::abs(w.view().center.y) < 1);

        // Over the lists the wheel is theirs.
        const double zoom = w.view().zoom;
        auto* list = w.control<QListWidget>(id::ComponentList);
        QWheelEvent wheel(QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)), {}, {0, 120},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list->viewport(), &wheel);
        QCOMPARE(w.view().zoom, zoom);

        // F and Home fit the whole ship, or the selected component when there is one.
        w.control<QCheckBox>(id::CenterOnObject)->click();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_F);
        QVERIFY(w.view().zoom < 2);
        QVERIFY(isChecked(w, id::CenterOnObject)); // nothing selected: nothing to follow

        list->setCurrentRow(1);
        QTest::keyClick(list, Qt::Key_Home);
        QVERIFY(!isChecked(w, id::CenterOnObject));
        QVERIFY(!w.view().centerOnObject);
        QCOMPARE(w.control<QSlider>(id::ZoomSlider)->value(), 0); // the turret is close
        QVERIFY(w.view().zoom < 1);
    }

    void aLargerWindowGivesTheViewAndTheListsTheRoom()
    {
        Editor editor;
        auto& w = openSample(editor);
        const QSize templateSize = w.size();
        auto* components = w.control<QListWidget>(id::ComponentList);
        auto* createBox = w.control<QWidget>(id::CreateBox);
        const QRect listBefore = components->geometry(), boxBefore = createBox->geometry();

        const QSize extra(300, 200);
        w.resize(templateSize + extra);
        QCOMPARE(w.viewWidget()->size(), QSize(388, 388) + extra);
        QCOMPARE(components->height(), listBefore.height() + extra.height());
        QCOMPARE(components->x(), listBefore.x() + extra.width());
        QCOMPARE(createBox->geometry(), boxBefore.translated(extra.width(), extra.height()));
        // Clicks still land: the turret below the hull.
        QTRY_VERIFY(editor.picture().size() == w.viewWidget()->size() * w.devicePixelRatio());
        click(w, frontViewPixel(w, 0, 60));
        QCOMPARE(editor.state().selectedComponent, 1);

        w.resize(templateSize);
        QCOMPARE(components->geometry(), listBefore);
        QCOMPARE(w.viewWidget()->size(), QSize(388, 388));
        QCOMPARE(w.minimumSize(), templateSize);
        // The view's square stands on the "Ship" box's lower-left corner and is cut to the box.
        const QRect box = w.control<QGroupBox>(id::ShipGroup)->geometry();
        QCOMPARE(w.viewWidget()->mapTo(&w, w.viewWidget()->rect().bottomLeft()), box.bottomLeft());
        QCOMPARE(w.viewWidget()->parentWidget()->geometry(), box);
    }
};

KORVEX_REGISTER_TEST(ViewPointingTest);

} // namespace apptests

#include "ViewPointingTest.moc"
