#include "app/ViewControls.h"
#include "resources/MainWindowTemplate.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"
#include "viewer/FixedViews.h"
#include "viewer/ShipViewWidget.h"

#include <QApplication>
#include <QCheckBox>
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

// Columns of the view's picture in row `y` (from the top) that are not background.
std::pair<int, int> shipColumns(const QImage& picture, int y)
{
    const QColor background = picture.pixelColor(0, picture.height() - 1);
    int first = -1, last = -1;
    for (int x = 0; x < picture.width(); ++x) {
        const QColor c = picture.pixelColor(x, y);
        if (std::abs(c.red() - background.red()) + std::abs(c.green() - background.green()) +
                std::abs(c.blue() - background.blue()) >
            12) {
            first = first < 0 ? x : first;
            last = x;
        }
    }
    return {first, last};
}

} // namespace

class ViewPointingTest : public QObject
{
    Q_OBJECT

private:
    app::MainDialog& openSample(Editor& editor)
    {
        auto& w = editor.startWithSampleShip();
        w.viewControls().chooseView(ViewChoice::Front);
        w.control<QSlider>(id::ZoomSlider)->setValue(2);
        return w;
    }

private slots:
    void clicksSelectWhatIsUnderThemAsTheListsWould()
    {
        Editor editor;
        auto& w = openSample(editor);
        auto* components = w.control<QListWidget>(id::ComponentList);
        auto* attachments = w.control<QListWidget>(id::AttachmentList);

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

        // Empty space changes nothing; neither does a drag, which moves nothing without an
        // attachment.
        const auto image = editor.state().file->serialise();
        click(w, QPoint(380, 380));
        QCOMPARE(editor.state().selectedComponent, 1);
        const QPoint hull = frontViewPixel(w, 30, -60); // centred on the turret's origin now
        QTest::mousePress(w.viewWidget(), Qt::LeftButton, {}, hull);
        QTest::mouseMove(w.viewWidget(), hull + QPoint(12, 0));
        QTest::mouseRelease(w.viewWidget(), Qt::LeftButton, {}, hull + QPoint(12, 0));
        QCOMPARE(editor.state().selectedComponent, 1);
        // Within the click's slop it is still a click.
        QTest::mousePress(w.viewWidget(), Qt::LeftButton, {}, hull);
        QTest::mouseMove(w.viewWidget(), hull + QPoint(2, 1));
        QTest::mouseRelease(w.viewWidget(), Qt::LeftButton, {}, hull + QPoint(2, 1));
        QCOMPARE(editor.state().selectedComponent, 0);
        QVERIFY(editor.state().file->serialise() == image);

        // With an attachment chosen the hull's markers show, and a click on one chooses it:
        // kind 3 sits at x 20, y 50 of the hull.
        attachments->setCurrentRow(0);
        click(w, frontViewPixel(w, 20, 50));
        QCOMPARE(editor.state().selectedAttachment, 3);
        QCOMPARE(attachments->currentRow(), 3);
        QCOMPARE(editor.state().selectedComponent, 0);
        QVERIFY(editor.sink.messages.empty());
    }

    void hoverNamesWhatIsUnderThePointer()
    {
        Editor editor;
        auto& w = openSample(editor);
        const auto tipAt = [&](QPoint inView) {
            const QPoint at = w.viewWidget()->mapTo(&w, inView);
            QHelpEvent help(QEvent::ToolTip, at, w.mapToGlobal(at));
            QApplication::sendEvent(&w, &help);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QTRY_COMPARE(tipAt(frontViewPixel(w, 0, 60)), QStringLiteral("Turret"));
        QTRY_COMPARE(tipAt(frontViewPixel(w, 30, 0)), QStringLiteral("Hull"));
        QTRY_COMPARE(tipAt(QPoint(380, 380)), QString());
    }

    void theWheelZoomsInEvenStepsAndTheSliderFollows()
    {
        Editor editor;
        auto& w = openSample(editor);
        auto* slider = w.control<QSlider>(id::ZoomSlider);
        const QImage before = editor.picture();
        const QPoint anchor = frontViewPixel(w, 0, 0);
        turnWheel(w, anchor, -3);
        QCOMPARE(w.view().zoom, 2 * std::pow(1.1, 3));
        QCOMPARE(slider->value(), 3);
        QVERIFY(editor.picture() != before);
        turnWheel(w, anchor, 3);
        QVERIFY(std::abs(w.view().zoom - 2) < 1e-9);
        QCOMPARE(slider->value(), 2);

        // Closer than the slider goes: it shows its minimum; the slider sets it back.
        turnWheel(w, anchor, 10);
        QVERIFY(w.view().zoom < 1);
        QCOMPARE(slider->value(), 1);
        slider->setValue(7);
        QCOMPARE(w.view().zoom, 7.0);

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
    }

    void fFitsTheShipOrTheSelectedComponent()
    {
        Editor editor;
        auto& w = openSample(editor);
        auto* centring = w.control<QCheckBox>(id::CenterOnObject);
        const auto shipBounds = [&] {
            const QImage picture = editor.picture();
            const int hidden = picture.height() - w.viewWidget()->parentWidget()->height();
            QRect bounds;
            for (int y = 0; y < picture.height(); ++y) {
                const auto [first, last] = shipColumns(picture, y);
                if (first >= 0)
                    bounds |= QRect(first, y - hidden, last - first + 1, 1);
            }
            return bounds;
        };
        const QRect shown(QPoint(0, 0), w.viewWidget()->parentWidget()->size());

        auto* list = w.control<QListWidget>(id::ComponentList);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_F);
        QVERIFY(w.view().zoom < 2);
        QVERIFY(centring->isChecked()); // nothing selected: centring had nothing to follow
        QTRY_VERIFY(shown.adjusted(5, 5, -5, -5).contains(shipBounds()));
        QVERIFY(shipBounds().width() > shown.width() * 0.8);

        list->setCurrentRow(1);
        QTest::keyClick(list, Qt::Key_Home);
        QVERIFY(!centring->isChecked());
        QCOMPARE(w.view().centerOnObject, false);
        QCOMPARE(w.control<QSlider>(id::ZoomSlider)->value(), 1); // the turret is close
        QVERIFY(w.view().zoom < 1);
    }

    void aLargerWindowGivesTheViewTheRoomAtTheSameScale()
    {
        Editor editor;
        auto& w = openSample(editor);
        const QSize templateSize = w.size();
        auto* components = w.control<QListWidget>(id::ComponentList);
        auto* attachments = w.control<QListWidget>(id::AttachmentList);
        auto* exitButton = w.control<QWidget>(id::Exit);
        auto* createBox = w.control<QWidget>(id::CreateBox);
        const QRect listBefore = components->geometry(), boxBefore = createBox->geometry();
        const QRect exitBefore = exitButton->geometry();
        const int attachmentsHeight = attachments->height();
        const QImage before = editor.picture();
        const auto [firstBefore, lastBefore] = shipColumns(before, frontViewPixel(w, 0, 0).y());

        w.resize(templateSize + QSize(300, 200));
        const QSize extra = w.size() - templateSize;
        QCOMPARE(extra, QSize(300, 200));
        QCOMPARE(w.viewWidget()->size(), QSize(388, 388) + extra);
        QCOMPARE(components->height(), listBefore.height() + extra.height());
        QCOMPARE(attachments->height(), attachmentsHeight + extra.height());
        QCOMPARE(components->x(), listBefore.x() + extra.width());
        QCOMPARE(createBox->geometry(), boxBefore.translated(extra.width(), extra.height()));
        QCOMPARE(exitButton->geometry(), exitBefore.translated(0, extra.height()));

        // The hull keeps its width on screen and moves with the anchor.
        const int row = frontViewPixel(w, 0, 0).y();
        QTRY_VERIFY(editor.picture().size() == w.viewWidget()->size() * w.devicePixelRatio());
        QTRY_VERIFY(shipColumns(editor.picture(), row).first >= 0);
        const auto [first, last] = shipColumns(editor.picture(), row);
        QVERIFY2(std::abs((last - first) - (lastBefore - firstBefore)) <= 1,
                 qPrintable(QStringLiteral("%1..%2 before %3..%4 row %5")
                                .arg(first)
                                .arg(last)
                                .arg(firstBefore)
                                .arg(lastBefore)
                                .arg(row)));
        QVERIFY(std::abs(first - (firstBefore + extra.width() / 2)) <= 1);
        // And clicks still land: the turret below the hull.
        click(w, frontViewPixel(w, 0, 60));
        QCOMPARE(editor.state().selectedComponent, 1);

        // Back to the template's size, back to the template's layout and picture.
        w.resize(templateSize);
        QCOMPARE(components->geometry(), listBefore);
        QCOMPARE(w.viewWidget()->size(), QSize(388, 388));
        QCOMPARE(w.minimumSize(), templateSize);
    }
};

KORVEX_REGISTER_TEST(ViewPointingTest);

} // namespace apptests

#include "ViewPointingTest.moc"
