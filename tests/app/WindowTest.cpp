#include "platform/DialogBuilder.h"
#include "resources/AboutBoxTemplate.h"
#include "resources/MainWindowTemplate.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"
#include "tests/support/LayoutChecks.h"
#include "viewer/ShipViewWidget.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <set>

namespace apptests {

namespace id = resources::mainwindow;

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void enterInAFieldStartsNoCommand()
    {
        Editor editor;
        auto& w = editor.start(editor.writePrefix("prefix"));
        for (const int field : {id::ScaleFactor, id::ZoomRange}) {
            auto* edit = w.control<QLineEdit>(field);
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_Return);
            QTest::keyClick(edit, Qt::Key_Enter);
        }
        auto* views = w.control<QWidget>(id::ViewChoice);
        views->setFocus();
        QTest::keyClick(views->focusProxy() ? views->focusProxy() : views, Qt::Key_Return);
        auto* open = w.control<QPushButton>(id::OpenShp);
        open->setFocus();
        QTest::keyClick(open, Qt::Key_Return);
        QCOMPARE(editor.files.calls, 0);
        QVERIFY(w.isVisible());
    }

    void everyLabelStaysClearOfTheFrameLines()
    {
        Editor editor;
        auto& w = editor.start(editor.writePrefix("prefix"));
        const QStringList cut = testsupport::labelsOnFrameLines(w);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(" | "))));
    }

    void everyControlOfTheTemplateIsThereOnceAndInside()
    {
        Editor editor;
        auto& w = editor.start(editor.writePrefix("prefix"));
        std::set<int> ids;
        for (const auto& control : resources::MainWindowTemplate.controls) {
            if (control.id == platform::NoId)
                continue;
            QVERIFY2(ids.insert(control.id).second, "duplicate id");
            const auto found = w.findChildren<QWidget*>(platform::controlName(control.id));
            QCOMPARE(found.size(), 1);
            QVERIFY(w.rect().contains(found.front()->geometry()));
        }
        QCOMPARE(ids.size(), std::size_t{38});
        QCOMPARE(w.size(), platform::dialogUnitsToPixels(0, 0, 502, 290).size());
        QCOMPARE(w.windowTitle(), QStringLiteral("Korvex"));
        QVERIFY(!w.windowIcon().isNull());
    }

    // The view's square stands on the "Ship" box's lower-left corner and is cut to the box; the
    // slider's zoom is drawn at once, not at some later paint.
    void theViewCoversTheShipBoxAndFollowsTheSlider()
    {
        Editor editor;
        auto& w = editor.open();
        const QRect box = w.control<QGroupBox>(id::ShipGroup)->geometry();
        auto* view = w.viewWidget();
        QCOMPARE(view->size(), QSize(388, 388));
        QCOMPARE(QRect(view->mapTo(&w, QPoint(0, 0)), view->size()).bottomLeft(), box.bottomLeft());
        QCOMPARE(view->parentWidget()->geometry(), box);

        QTRY_VERIFY(editor.shipPixels() > 500);
        int previousPixels = editor.shipPixels();
        for (const int position : {2, 5, 13}) {
            w.control<QSlider>(id::ZoomSlider)->setValue(position);
            QCOMPARE(w.view().zoom, double(position));
            const int pixels = editor.shipPixels();
            QVERIFY(pixels < previousPixels);
            previousPixels = pixels;
        }
    }

    void f1AndTheContextMenuShowTheAboutBox()
    {
        Editor editor;
        auto& w = editor.start(editor.writePrefix("prefix"));
        QCOMPARE(w.actions().back()->text(), QStringLiteral("&About Korvex..."));
        QCOMPARE(w.contextMenuPolicy(), Qt::ActionsContextMenu);

        // F1 reaches the About box even from an edit field, which keeps its text.
        auto* edit = w.control<QLineEdit>(id::ScaleFactor);
        edit->setFocus();
        QString title, version;
        {
            ModalDriver driver([&](QDialog& modal) {
                title = modal.windowTitle();
                version = control<QLabel>(modal, resources::aboutbox::Version)->text();
                modal.reject();
            });
            QTest::keyClick(edit, Qt::Key_F1);
        }
        QCOMPARE(title, QStringLiteral("About Korvex"));
        QVERIFY(version.startsWith(QStringLiteral("Korvex, Version ")));
        QCOMPARE(edit->text(), QStringLiteral("1.2"));

        title.clear();
        ModalDriver driver([&](QDialog& modal) {
            title = modal.windowTitle();
            modal.reject();
        });
        w.actions().back()->trigger();
        QCOMPARE(title, QStringLiteral("About Korvex"));
    }
};

KORVEX_REGISTER_TEST(WindowTest);

} // namespace apptests

#include "WindowTest.moc"
