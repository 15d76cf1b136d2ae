#include "app/ListPanes.h"
#include "editing/Messages.h"
#include "resources/MainWindowTemplate.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Messages.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace apptests {

namespace id = resources::mainwindow;
namespace messages = shipfile::messages;
using testsupport::Attachment;
using testsupport::Component;
using testsupport::Ship;

namespace {

Component cuboid(const std::string& name)
{
    Component c;
    c.name = name;
    testsupport::addCuboid(c, {0, 0, 0}, {20, 20, 20});
    c.textures = {"hull_plate"};
    return c;
}

/// Three components that differ in every special block and in their attachments:
///   "Alpha": odd kinds, a dummy triangle last, Block13 on (count 2), two type-14 blocks;
///   "Beta": a last face 0, 0, 1, Block13 off, one type-14 block, an empty type-9 block;
///   "Gamma": no faces at all, no type-13 block.
Ship specialShip()
{
    Component alpha = cuboid("Alpha");
    alpha.faces.push_back(testsupport::Face{0, 0, 0});
    Attachment unknown{7};
    Attachment allBits{-1};
    Attachment gunObject{1};
    gunObject.styleIndex = 2;
    Attachment gun{3};
    gun.gunIndex = 0;
    alpha.attachments = {unknown, allBits, gunObject, gun, Attachment{2}};
    alpha.block13On = true;
    alpha.block14Count = 2;

    Component beta = cuboid("Beta");
    beta.faces.push_back(testsupport::Face{0, 0, 1});
    beta.block13On = false;
    beta.block14Count = 1;

    Component gamma = cuboid("Gamma");
    gamma.faces.clear();
    gamma.withBlock13 = false;

    Ship ship;
    ship.components = {alpha, beta, gamma};
    return ship;
}

QStringList entries(app::MainDialog& w, int listId)
{
    QStringList out;
    auto* list = w.control<QListWidget>(listId);
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

/// A click on entry `row` of a list, as the user makes it.
void clickEntry(QListWidget* list, int row)
{
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

struct Boxes
{
    bool dummy, block13, block14;
    friend bool operator==(const Boxes&, const Boxes&) = default;
};

Boxes boxes(app::MainDialog& w)
{
    return {w.control<QCheckBox>(id::DummyTriangle)->isChecked(),
            w.control<QCheckBox>(id::Block13)->isChecked(),
            w.control<QCheckBox>(id::Block14)->isChecked()};
}

long countOf(const testsupport::RecordingSink& sink, std::string_view text)
{
    const auto texts = sink.texts();
    return std::count(texts.begin(), texts.end(), std::string(text));
}

} // namespace

class ListPanesTest : public QObject
{
    Q_OBJECT

private slots:
    void selectingAComponentListsItsAttachmentsAndItsBlockSwitches()
    {
        Editor editor;
        const fs::path path = editor.writeShip("special.shp", buildShip(specialShip()));
        auto& w = editor.start(editor.writePrefix("prefix"), QString::fromStdString(path.string()));
        auto* components = w.control<QListWidget>(id::ComponentList);
        auto* attachments = w.control<QListWidget>(id::AttachmentList);
        QCOMPARE(entries(w, id::ComponentList),
                 QStringList({QStringLiteral("Alpha"), QStringLiteral("Beta"),
                              QStringLiteral("Gamma")}));

        clickEntry(components, 0);
        QCOMPARE(editor.state().selectedComponent, 0);
        const QString objName =
            QStringLiteral("Obj: ") + QString::fromLatin1(shipfile::gunModelName(18));
        QCOMPARE(entries(w, id::AttachmentList),
                 QStringList({QStringLiteral("Unknown: Type 7"), QStringLiteral("Unknown: Type -1"),
                              objName, QStringLiteral("Gun: "), QStringLiteral("Engine Flame")}));
        QVERIFY(!shipfile::gunModelName(18).empty());
        QCOMPARE(boxes(w), (Boxes{true, true, true}));
        QCOMPARE(attachments->currentRow(), -1);

        // Picking an attachment selects it; picking another component refills the list with
        // nothing highlighted and no attachment selected.
        clickEntry(attachments, 3);
        QCOMPARE(editor.state().selectedAttachment, 3);
        clickEntry(components, 1);
        QCOMPARE(editor.state().selectedComponent, 1);
        QCOMPARE(editor.state().selectedAttachment, -1);
        QCOMPARE(attachments->currentRow(), -1);
        QVERIFY(attachments->selectedItems().isEmpty());
        QCOMPARE(boxes(w), (Boxes{false, false, false}));
        QCOMPARE(entries(w, id::AttachmentList), QStringList{});
        QVERIFY(editor.sink.messages.empty());

        // Gamma has no faces and no type-13 block: one message, and every box shows off rather
        // than what Alpha showed.
        clickEntry(components, 0);
        QCOMPARE(boxes(w), (Boxes{true, true, true}));
        editor.sink.messages.clear();
        components->setCurrentRow(2);
        QCOMPARE(editor.state().selectedComponent, 2);
        QCOMPARE(attachments->count(), 0);
        QCOMPARE(countOf(editor.sink, editing::messages::ErrorFindingBlock13.text), 1L);
        QCOMPARE(boxes(w), (Boxes{false, false, false}));
        const auto block13 = std::find_if(editor.sink.messages.begin(), editor.sink.messages.end(),
                                          [](const shipfile::Message& m) {
                                              return m.text == editing::messages::ErrorFindingBlock13.text;
                                          });
        QVERIFY(block13->ownedByMainWindow);
    }

    void aClickOnEmptyListSpaceSelectsNothing()
    {
        Editor editor;
        const fs::path path = editor.writeShip("special.shp", buildShip(specialShip()));
        auto& w = editor.start(editor.writePrefix("prefix"), QString::fromStdString(path.string()));
        auto* components = w.control<QListWidget>(id::ComponentList);
        const auto before = editor.state().file->serialise();

        // The list takes the focus and makes its first entry current, but highlights nothing.
        const QPoint below(components->viewport()->width() / 2,
                           components->viewport()->height() - 2);
        QVERIFY(components->itemAt(below) == nullptr);
        QTest::mouseClick(components->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(editor.state().selectedComponent, -1);
        QCOMPARE(w.control<QListWidget>(id::AttachmentList)->count(), 0);
        QTest::mouseClick(w.control<QPushButton>(id::DeleteComponent), Qt::LeftButton);
        QCOMPARE(editor.state().file->serialise(), before);

        // A highlighted entry is the selection; a click below the entries takes it away.
        clickEntry(components, 1);
        QCOMPARE(editor.state().selectedComponent, 1);
        QTest::mouseClick(components->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(editor.state().selectedComponent, components->selectedItems().isEmpty() ? -1 : 1);
    }

    void programmaticFillingAndSelectingRunNoHandlers()
    {
        Editor editor;
        const fs::path path = editor.writeShip("special.shp", buildShip(specialShip()));
        auto& w = editor.start(editor.writePrefix("prefix"), QString::fromStdString(path.string()));
        app::ListPanes& panes = w.listPanes();
        auto* attachments = w.control<QListWidget>(id::AttachmentList);

        editor.state().selectedComponent = 0;
        panes.fillAttachmentList();
        panes.fillAttachmentList(); // refills, never doubles
        QCOMPARE(attachments->count(), 5);
        panes.selectAttachmentEntry(4);
        QCOMPARE(attachments->currentRow(), 4);
        QCOMPARE(editor.state().selectedAttachment, 4);
        for (const int outside : {-1, 5, 99}) {
            panes.selectAttachmentEntry(outside);
            QCOMPARE(attachments->currentRow(), -1);
            QCOMPARE(editor.state().selectedAttachment, -1);
        }
        // The component list's handler has not run: the boxes still show the start state.
        QCOMPARE(boxes(w), (Boxes{false, false, false}));

        panes.appendComponents({"Merged", "Other"});
        QCOMPARE(entries(w, id::ComponentList).size(), 5);
        panes.removeComponentEntry(1);
        panes.removeComponentEntry(7);
        QCOMPARE(entries(w, id::ComponentList),
                 QStringList({QStringLiteral("Alpha"), QStringLiteral("Gamma"),
                              QStringLiteral("Merged"), QStringLiteral("Other")}));
        QCOMPARE(editor.state().selectedComponent, 0);
        QVERIFY(editor.sink.messages.empty());

        panes.clearLists();
        QCOMPARE(entries(w, id::ComponentList), QStringList{});
        QCOMPARE(attachments->count(), 0);
    }

    void renamingInThePropertiesDialogRewritesTheEntryInPlace()
    {
        Editor editor;
        const fs::path path = editor.writeShip("special.shp", buildShip(specialShip()));
        auto& w = editor.start(editor.writePrefix("prefix"), QString::fromStdString(path.string()));
        auto* components = w.control<QListWidget>(id::ComponentList);

        bool dialogSeen = false;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
            QWidget* dialog = QApplication::activeModalWidget();
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("1008"));
            QVERIFY(name);
            QCOMPARE(name->text(), QStringLiteral("Beta"));
            name->selectAll();
            QTest::keyClicks(name, QStringLiteral("Bridge"));
            dialogSeen = true;
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("1")),
                              Qt::LeftButton);
        });
        const QRect rect = components->visualItemRect(components->item(1));
        QTest::mouseClick(components->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(components->viewport(), Qt::LeftButton, {}, rect.center());
        QVERIFY(dialogSeen);
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);

        QCOMPARE(entries(w, id::ComponentList),
                 QStringList({QStringLiteral("Alpha"), QStringLiteral("Bridge"),
                              QStringLiteral("Gamma")}));
        QCOMPARE(components->currentRow(), 1);
        QCOMPARE(editor.state().selectedComponent, 1);
        QCOMPARE(shipfile::componentName(*editor.state().file, 1), std::string("Bridge"));
        QVERIFY(w.isWindowModified());
    }
};

KORVEX_REGISTER_TEST(ListPanesTest);

} // namespace apptests

#include "ListPanesTest.moc"
