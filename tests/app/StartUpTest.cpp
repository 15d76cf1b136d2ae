#include "resources/MainWindowTemplate.h"
#include "shipfile/Messages.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QSlider>
#include <QTest>

namespace apptests {

namespace id = resources::mainwindow;
namespace messages = shipfile::messages;

class StartUpTest : public QObject
{
    Q_OBJECT

private slots:
    void controlsStartInTheirStates()
    {
        Editor editor;
        auto& w = editor.start(editor.writePrefix("prefix"));

        auto* views = w.control<QComboBox>(id::ViewChoice);
        QCOMPARE(views->count(), 7);
        const QStringList entries = {QStringLiteral("Bottom"), QStringLiteral("Left"),
                                     QStringLiteral("Front"),  QStringLiteral("FreeView"),
                                     QStringLiteral("Top"),    QStringLiteral("Right"),
                                     QStringLiteral("Back")};
        for (int i = 0; i < 7; ++i)
            QCOMPARE(views->itemText(i), entries.at(i));
        QCOMPARE(views->currentText(), QStringLiteral("FreeView"));
        QVERIFY(views->isEditable());

        auto* zoom = w.control<QSlider>(id::ZoomSlider);
        QCOMPARE(zoom->minimum(), 1);
        QCOMPARE(zoom->maximum(), 500);
        QCOMPARE(zoom->value(), 1);
        QCOMPARE(w.view().zoom, 1.0);
        QCOMPARE(w.control<QLineEdit>(id::ZoomRange)->text(), QStringLiteral("500"));
        QCOMPARE(w.control<QLineEdit>(id::ScaleFactor)->text(), QStringLiteral("1.2"));
        QCOMPARE(w.control<QLineEdit>(id::MouseMode)->text(), QStringLiteral("Move Attachments"));
        QVERIFY(!w.control<QLineEdit>(id::MouseMode)->isEnabled());
        QVERIFY(w.control<QLineEdit>(id::ShipClass)->text().isEmpty());
        QVERIFY(!w.control<QLineEdit>(id::ShipClass)->isEnabled());

        const std::pair<int, bool> boxes[] = {
            {id::Flames, true},     {id::TypeOneOnly, false},   {id::HighQualityTextures, true},
            {id::TextureMap, true}, {id::MarkSelected, false},  {id::CenterOnObject, true},
            {id::IgnoreDest, true}, {id::ShowBoxes, true},      {id::Rotate, true},
            {id::Back, false},      {id::DummyTriangle, false}, {id::Block13, false},
            {id::Block14, false}};
        for (const auto& [boxId, checked] : boxes)
            QVERIFY2(w.control<QCheckBox>(boxId)->isChecked() == checked,
                     qPrintable(QString::number(boxId)));

        const auto& view = w.view();
        QCOMPARE(view.textureMap, true);
        QCOMPARE(view.highQualityTextures, true);
        QCOMPARE(view.markSelected, false);
        QCOMPARE(view.centerOnObject, true);
        QCOMPARE(view.ignoreDest, true);
        QCOMPARE(view.showBoxes, true);
        QCOMPARE(editor.state().selectedComponent, -1);
        QCOMPARE(editor.state().selectedAttachment, -1);
        QVERIFY(!editor.state().typeOneOnly);
        QVERIFY(editor.state().rotate);
        QVERIFY(!editor.state().fileLoaded);
        QCOMPARE(w.windowTitle(), QStringLiteral("Korvex"));
        QVERIFY(editor.sink.messages.empty());
    }

    void withoutTheRegistryKeyBothMessagesAndNoTextures()
    {
        Editor editor;
        const fs::path empty = editor.dir() / "empty-prefix";
        fs::create_directories(empty);
        auto& w = editor.start(empty);

        QCOMPARE(editor.sink.messages.size(), std::size_t{2});
        QCOMPARE(editor.sink.messages[0].text, std::string(messages::RegistryKeyMissing));
        QCOMPARE(editor.sink.messages[1].text, std::string(messages::RegistryValueMissing));
        for (const auto& m : editor.sink.messages) {
            QVERIFY(m.ownedByMainWindow);
            QCOMPARE(m.caption, std::string("korvex"));
            QVERIFY(m.icon == shipfile::MessageIcon::None);
        }
        QVERIFY(!w.control<QCheckBox>(id::TextureMap)->isChecked());
        QCOMPARE(w.view().textureMap, true); // only the box is cleared
        QCOMPARE(editor.state().texturePath, fs::path("/tcachehw.dat"));
        QCOMPARE(editor.state().shipsDirectory, fs::path("/ships"));
        QCOMPARE(w.textures().texturePath(), std::string("/tcachehw.dat"));
    }

    void withTheKeyButNoValueOnlyTheSecondMessage()
    {
        Editor editor;
        auto& w = editor.start(editor.writePrefix("prefix", true, false));
        QCOMPARE(editor.sink.texts(),
                 std::vector<std::string>{std::string(messages::RegistryValueMissing)});
        QVERIFY(!w.control<QCheckBox>(id::TextureMap)->isChecked());
    }

    void withAPrefixThePathsLeadIntoTheGameDirectory()
    {
        Editor editor;
        const fs::path prefix = editor.writePrefix("prefix");
        auto& w = editor.start(prefix);
        const fs::path game = fs::canonical(prefix / "drive_c" / "Games" / "Vantaris");
        QVERIFY(editor.sink.messages.empty());
        QVERIFY(w.control<QCheckBox>(id::TextureMap)->isChecked());
        QCOMPARE(editor.state().texturePath, game / "tcachehw.dat");
        QCOMPARE(editor.state().shipsDirectory, game / "ships");
        QCOMPARE(w.textures().texturePath(), (game / "tcachehw.dat").string());
    }

    // The demo installation is what users see first: every ship opens without a message
    // (the packed one with the unpacking notice only) and draws with every texture found.
    void demoShipsOpenTexturedFromTheDemoPrefix()
    {
        Editor editor;
        const fs::path demo = editor.dir() / "demo";
        QCOMPARE(QProcess::execute(QStringLiteral(KORVEX_DEMO_EXECUTABLE),
                                   {QString::fromStdString(demo.string())}),
                 0);
        const fs::path ships = demo / "prefix" / "drive_c" / "Games" / "Vantaris" / "ships";
        auto& w =
            editor.start(demo / "prefix", QString::fromStdString((ships / "fighter.shp").string()));

        QVERIFY(editor.sink.messages.empty());
        auto* components = w.control<QListWidget>(id::ComponentList);
        QCOMPARE(components->count(), 3);
        QCOMPARE(components->item(0)->text(), QStringLiteral("Fuselage"));
        QTRY_VERIFY(editor.shipPixels() > 1000);
        QCOMPARE(w.view().textureMap, true);
        QVERIFY(w.control<QCheckBox>(id::TextureMap)->isChecked());
        QCOMPARE(w.control<QLineEdit>(id::ShipClass)->text(), QStringLiteral("Fighter"));

        for (const char* name : {"capship.shp", "cargo.shp"}) {
            editor.sink.messages.clear();
            editor.files.answer = QString::fromStdString((ships / name).string());
            w.openShpFile();
            QVERIFY2(w.state().fileLoaded, name);
            QVERIFY(editor.sink.messages.size() <= 1);
            if (!editor.sink.messages.empty())
                QCOMPARE(editor.sink.messages[0].text, std::string(messages::CompressedNotice));
            QTRY_VERIFY(editor.shipPixels() > 500);
            QCOMPARE(w.view().textureMap, true);
        }
        QCOMPARE(w.control<QLineEdit>(id::ShipClass)->text(), QStringLiteral("Fighter"));
    }
};

KORVEX_REGISTER_TEST(StartUpTest);

} // namespace apptests

#include "StartUpTest.moc"
