#include "app/TexturesDialog.h"

#include "gamedata/Png.h"
#include "gamedata/Tcache.h"
#include "resources/MainWindowTemplate.h"
#include "tests/app/EditorFixture.h"
#include "tests/app/TestRegistry.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace apptests {

namespace {
QListWidgetItem* item(QListWidget& list, const QString& name)
{
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->text().startsWith(name + QLatin1Char('\n')))
            return list.item(i);
    return nullptr;
}

QPushButton* button(QDialog& dialog, const QString& text)
{
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text().remove(QLatin1Char('&')) == text)
            return b;
    return nullptr;
}

// Pixels of the view that are pure red: the repainted hull.
int redPixels(Editor& editor)
{
    const QImage picture = editor.picture();
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            count += c.red() > 200 && c.green() < 40 && c.blue() < 40;
        }
    return count;
}
} // namespace

class TexturesDialogTest : public QObject
{
    Q_OBJECT

private slots:
    // The modder's way: see the ship's textures and the one the cache lacks, add it, repaint
    // another, each after a question that says Undo cannot take it back; the view shows the
    // new picture at once.
    void browsesAddsAndReplaces()
    {
        Editor editor;
        testsupport::Ship ship = testsupport::sampleShip();
        ship.components.back().textures = {"New_Paint"};
        auto& w = editor.open(ship);
        const fs::path red = editor.dir() / "red.png";
        editor.writeShip(
            "red.png", gamedata::encodePng(
                           2, 2, {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255}));
        const fs::path cache = editor.state().texturePath;
        const testsupport::ByteVector before = readBytes(cache);
        // The name the cache lacks switched textures off at the first draw.
        QCOMPARE(editor.sink.messages.size(), std::size_t{1});
        editor.sink.messages.clear();

        const auto browse = [&](QDialog& dialog) {
            auto& list = *dialog.findChild<QListWidget*>();
            QCOMPARE(list.count(), 3);
            QListWidgetItem* missing = item(list, QStringLiteral("New_Paint"));
            QVERIFY(missing && missing->foreground().color() == Qt::red);
            QVERIFY(missing->text().contains(QStringLiteral("not in the cache")));
            QVERIFY(item(list, QStringLiteral("hull_plate"))
                        ->text()
                        .contains(QStringLiteral("faces of this ship")));

            dialog.findChild<QLineEdit*>()->setText(QStringLiteral("GLOW"));
            QVERIFY(item(list, QStringLiteral("hull_plate"))->isHidden());
            QVERIFY(!item(list, QStringLiteral("engine_glow"))->isHidden());
            dialog.findChild<QLineEdit*>()->clear();

            // Selecting marks the faces; adding names the new texture after the missing name.
            list.setCurrentItem(missing);
            QCOMPARE(w.view().highlightedTexture, std::string("New_Paint"));
            editor.files.answer = pathText(red);
            button(dialog, QStringLiteral("Add image..."))->click();
            QVERIFY(editor.questions.asked.last().contains(QStringLiteral("\"New_Paint\"")));
            QVERIFY(editor.questions.asked.last().contains(QStringLiteral("Undo does not take")));
            QCOMPARE(gamedata::readTcacheTexture(cache, "new_paint").texture.width, 2);
            QVERIFY(item(list, QStringLiteral("New_Paint"))->foreground().color() != Qt::red);
            QVERIFY(readBytes(cache.string() + ".bak") == before);
            click(w, resources::mainwindow::TextureMap);
            QVERIFY(w.view().textureMap);
            const int turretRed = redPixels(editor); // the new texture, shown at once
            QVERIFY(turretRed > 0);

            // A No changes nothing; a Yes repaints the hull, and the view shows it.
            list.setCurrentItem(item(list, QStringLiteral("hull_plate")));
            const testsupport::ByteVector added = readBytes(cache);
            editor.questions.yes = false;
            button(dialog, QStringLiteral("Replace from image..."))->click();
            QVERIFY(readBytes(cache) == added);
            editor.questions.yes = true;
            button(dialog, QStringLiteral("Replace from image..."))->click();
            QCOMPARE(gamedata::readTcacheTexture(cache, "hull_plate").texture.width, 2);
            QVERIFY(redPixels(editor) > turretRed);
        };
        ModalDriver driver([&](QDialog& dialog) {
            browse(dialog);
            dialog.reject();
        });
        menuEntry(w, QStringLiteral("Textures..."))->trigger();
        QCOMPARE(driver.shown, 1);
        QVERIFY(editor.sink.messages.empty());
        QVERIFY(w.view().highlightedTexture.empty());
    }
};

KORVEX_REGISTER_TEST(TexturesDialogTest);

} // namespace apptests

#include "TexturesDialogTest.moc"
