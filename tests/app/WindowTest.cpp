#include "platform/DialogBuilder.h"
#include "resources/AboutBoxTemplate.h"
#include "resources/MainWindowTemplate.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"
#include "tests/support/LayoutChecks.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTest>

#include <set>

namespace apptests {

namespace id = resources::mainwindow;

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void enterInAFieldStartsNoCommandAndF1ShowsTheAboutBox()
    {
        Editor editor;
        auto& w = editor.start();
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

        QAction* about = menuEntry(w, QStringLiteral("About Korvex..."));
        QCOMPARE(w.contextMenuPolicy(), Qt::CustomContextMenu);

        // F1 reaches the About box even from an edit field, which keeps its text.
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
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
        about->trigger();
        QCOMPARE(title, QStringLiteral("About Korvex"));
    }

    void everyControlIsThereOnceInsideClearOfTheFramesAndInItsStartState()
    {
        Editor editor;
        auto& w = editor.start();
        const QStringList cut = testsupport::labelsOnFrameLines(w);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(" | "))));
        // The template's controls lie between the menu bar and the status bar.
        const QRect between(QPoint(0, w.findChild<QMenuBar*>()->geometry().bottom() + 1),
                            QPoint(w.width() - 1, w.findChild<QStatusBar*>()->y() - 1));
        std::set<int> ids;
        for (const auto& control : resources::MainWindowTemplate.controls) {
            if (control.id == platform::NoId)
                continue;
            QVERIFY2(ids.insert(control.id).second, "duplicate id");
            const auto found = w.findChildren<QWidget*>(platform::controlName(control.id));
            QCOMPARE(found.size(), 1);
            QVERIFY(between.contains(found.front()->geometry()));
        }
        QCOMPARE(ids.size(), std::size_t{39});
        QCOMPARE(between.size(), platform::dialogUnitsToPixels(0, 0, 502, 290).size());
        QCOMPARE(w.windowTitle(), QStringLiteral("Korvex"));
        QVERIFY(!w.windowIcon().isNull());

        // The controls' start states.
        QCOMPARE(w.control<QComboBox>(id::ViewChoice)->currentText(), QStringLiteral("FreeView"));
        auto* zoom = w.control<QSlider>(id::ZoomSlider);
        QCOMPARE(zoom->value(), zoom->minimum());
        QCOMPARE(w.view().zoom, 1.0);
        QCOMPARE(w.control<QLineEdit>(id::ZoomRange)->text(), QStringLiteral("500"));
        QCOMPARE(w.control<QLineEdit>(id::MouseMode)->text(), QStringLiteral("Move Attachments"));
        QVERIFY(!w.control<QLineEdit>(id::MouseMode)->isEnabled());
        QVERIFY(!w.control<QLineEdit>(id::ShipClass)->isEnabled());
        QVERIFY(isChecked(w, id::Flames) && !isChecked(w, id::TypeOneOnly));
        QVERIFY(editor.sink.messages.empty());
    }
};

KORVEX_REGISTER_TEST(WindowTest);

} // namespace apptests

#include "WindowTest.moc"
