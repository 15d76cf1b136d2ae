#include "resources/Strings.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace apptests {

namespace strings = resources::strings;

class ExportEntryTest : public QObject
{
    Q_OBJECT

private slots:
    void exportEntryWritesWhatTheCommandLineWrites()
    {
        Editor editor;
        const fs::path prefix = editor.writePrefix("prefix");
        const fs::path ship =
            editor.writeShip("sample.shp", testsupport::buildShip(testsupport::sampleShip()));
        auto& w = editor.start(prefix, QString::fromStdString(ship.string()));

        const auto actions = w.actions();
        const auto entry =
            std::ranges::find(actions, QString::fromUtf8(strings::ExportMenuEntry), &QAction::text);
        QVERIFY(entry != actions.end());
        // A name typed without an extension takes the chosen filter's.
        editor.files.exportAnswer = QString::fromStdString((editor.dir() / "editor").string());
        editor.files.exportFilter = QString::fromUtf8(strings::GlbFilter);
        (*entry)->trigger();
        QCOMPARE(editor.files.exportSuggested,
                 QString::fromStdString((editor.dir() / "sample.glb").string()));
        QCOMPARE(editor.files.exportFilters.size(), 3);
        QVERIFY(editor.sink.messages.empty());

        const fs::path tcache = prefix / "drive_c" / "Games" / "Vantaris" / "tcachehw.dat";
        const fs::path cli = editor.dir() / "cli.glb";
        QProcess tool;
        tool.start(QStringLiteral(KORVEX_SHP_PATH),
                   {QStringLiteral("export"), QString::fromStdString(ship.string()),
                    QStringLiteral("-o"), QString::fromStdString(cli.string()),
                    QStringLiteral("--textures"), QString::fromStdString(tcache.string())});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);

        QFile fromEditor(QString::fromStdString((editor.dir() / "editor.glb").string()));
        QFile fromTool(QString::fromStdString(cli.string()));
        QVERIFY(fromEditor.open(QIODevice::ReadOnly));
        QVERIFY(fromTool.open(QIODevice::ReadOnly));
        const QByteArray bytes = fromEditor.readAll();
        QVERIFY(bytes.size() > 1000); // textures included
        QCOMPARE(bytes, fromTool.readAll());

        // Cancelling the dialog writes nothing.
        editor.files.exportAnswer.clear();
        (*entry)->trigger();
        QVERIFY(editor.sink.messages.empty());
    }
};

KORVEX_REGISTER_TEST(ExportEntryTest);

} // namespace apptests

#include "ExportEntryTest.moc"
