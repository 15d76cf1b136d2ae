#include "app/CommandLine.h"
#include "gamedata/Messages.h"
#include "resources/MainWindowTemplate.h"
#include "shipfile/Messages.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include <string>
#include <vector>

namespace apptests {

namespace id = resources::mainwindow;
namespace messages = shipfile::messages;

class StartUpTest : public QObject
{
    Q_OBJECT

private slots:
    void theRegistryLeadsToTheGameOrSaysWhatIsMissing()
    {
        const struct
        {
            bool withKey, withValue;
            std::vector<std::string_view> said;
        } cases[] = {
            {true, true, {}},
            {true, false, {gamedata::messages::RegistryValueMissing.text}},
            {false,
             false,
             {gamedata::messages::RegistryKeyMissing.text,
              gamedata::messages::RegistryValueMissing.text}},
        };
        for (const auto& c : cases) {
            Editor editor;
            const fs::path prefix = editor.writePrefix("prefix", c.withKey, c.withValue);
            auto& w = editor.start({}, prefix);
            QCOMPARE(editor.sink.messages.size(), c.said.size());
            for (std::size_t i = 0; i < c.said.size(); ++i) {
                QCOMPARE(editor.sink.messages[i].text, std::string(c.said[i]));
                QVERIFY(editor.sink.messages[i].ownedByMainWindow);
            }
            // Without a game directory the texture box is cleared and the paths lead nowhere.
            const fs::path game = c.said.empty()
                                      ? fs::canonical(prefix / "drive_c" / "Games" / "Vantaris")
                                      : fs::path("/");
            QCOMPARE(isChecked(w, id::TextureMap), c.said.empty());
            QCOMPARE(editor.state().shipsDirectory, game / "ships");
            QCOMPARE(editor.state().texturePath, game / "tcachehw.dat");
        }
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
        auto& w = editor.start(pathText(ships / "fighter.shp"), demo / "prefix");

        QVERIFY(editor.sink.messages.empty());
        auto* components = w.control<QListWidget>(id::ComponentList);
        QCOMPARE(components->count(), 3);
        QCOMPARE(components->item(0)->text(), QStringLiteral("Fuselage"));
        QTRY_VERIFY(editor.shipPixels() > 1000);
        QCOMPARE(w.view().textureMap, 1);
        QVERIFY(w.control<QCheckBox>(id::TextureMap)->isChecked());
        QCOMPARE(w.control<QLineEdit>(id::ShipClass)->text(), QStringLiteral("Fighter"));

        for (const char* name : {"capship.shp", "cargo.shp"}) {
            editor.sink.messages.clear();
            editor.files.answer = pathText(ships / name);
            w.openShpFile();
            QVERIFY2(w.state().fileLoaded(), name);
            QVERIFY(editor.sink.messages.size() <= 1);
            if (!editor.sink.messages.empty())
                QCOMPARE(editor.sink.messages[0].text,
                         std::string(messages::CompressedNotice.text));
            QTRY_VERIFY(editor.shipPixels() > 500);
            QCOMPARE(w.view().textureMap, 1);
        }
        QCOMPARE(w.control<QLineEdit>(id::ShipClass)->text(), QStringLiteral("Fighter"));
    }

    void theCommandLineRequestsAFileOrAnAnswer()
    {
        using Request = app::CommandLine::Request;
        struct Case
        {
            std::vector<std::string> arguments;
            Request request;
            std::string argument;
        };
        const Case cases[] = {
            {{}, Request::OpenEditor, ""},
            {{"ship.shp"}, Request::OpenEditor, "ship.shp"},
            {{"first.shp", "second.shp"}, Request::OpenEditor, "first.shp"},
            {{"-"}, Request::OpenEditor, "-"},
            {{"--", "--help"}, Request::OpenEditor, "--help"},
            {{"--version"}, Request::ShowVersion, ""},
            {{"ship.shp", "--help"}, Request::ShowHelp, ""},
            {{"-h"}, Request::ShowHelp, ""},
            {{"--bogus", "--version"}, Request::ShowVersion, ""},
            {{"--bogus", "ship.shp"}, Request::UnknownOption, "--bogus"},
            {{"ship.shp", "-x", "-y"}, Request::UnknownOption, "-x"},
        };
        for (const Case& c : cases) {
            const app::CommandLine parsed = app::parseCommandLine(c.arguments);
            const QByteArray shown = QByteArray::number(static_cast<int>(&c - cases));
            QVERIFY2(parsed.request == c.request, shown.constData());
            QVERIFY2(parsed.argument == c.argument, shown.constData());
        }
        QCOMPARE(app::answerOnTerminal({Request::UnknownOption, "--bogus"}), 2);
    }
};

KORVEX_REGISTER_TEST(StartUpTest);

} // namespace apptests

#include "StartUpTest.moc"
